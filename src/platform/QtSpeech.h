#pragma once

#include "platform/Speech.h"

#include <memory>

class QTextToSpeech;

// Speech through the system's speech server, with a French voice. Made at the first use, so that a program that never
// speaks never starts the server.
class QtSpeech : public Speech
{
public:
    QtSpeech();
    ~QtSpeech() override;
    QtSpeech(const QtSpeech&) = delete;
    QtSpeech& operator=(const QtSpeech&) = delete;

    bool available() const override;
    QString unavailableReason() const override;
    void say(const QString& text) override;

private:
    void start() const;

    mutable std::unique_ptr<QTextToSpeech> m_engine;
    mutable QString m_reason;
    mutable bool m_started = false;
};
