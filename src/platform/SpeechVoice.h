#pragma once

#include <QObject>
#include <QString>
#include <QTextToSpeech>

#include <memory>

// The French voice of QtSpeech, in the speech thread: every call to the speech server is made there.
class SpeechVoice : public QObject
{
    Q_OBJECT

public:
    // Reaches the server and looks for its French voice; found() tells the answer.
    void start();
    void say(const QString& text);
    void stop() { m_engine.reset(); }

signals:
    void found(bool available, const QString& reason);

private:
    std::unique_ptr<QTextToSpeech> m_engine;
};
