#pragma once

#include "platform/Speech.h"

#include <QObject>
#include <QString>

#include <functional>
#include <vector>

class QThread;
class SpeechVoice;

// Speech through the system's speech server, with a French voice. The server is reached from a thread of its own:
// a server that is slow to start, or that never answers, never stops the windows.
class QtSpeech : public QObject, public Speech
{
    Q_OBJECT

public:
    QtSpeech();
    ~QtSpeech() override;
    QtSpeech(const QtSpeech&) = delete;
    QtSpeech& operator=(const QtSpeech&) = delete;

    void find(const std::function<void()>& known) override;
    bool available() const override { return m_available; }
    QString unavailableReason() const override { return m_reason; }
    void say(const QString& text) override;

private:
    void found(bool available, const QString& reason);

    QThread* m_thread = nullptr;
    SpeechVoice* m_voice = nullptr; // lives in m_thread
    bool m_searching = false;
    bool m_known = false;
    bool m_available = false;
    QString m_reason;
    std::vector<std::function<void()>> m_waiting;
};
