#pragma once

#include "platform/Sidetone.h"

#include <QIODevice>
#include <QTimer>

#include <atomic>
#include <memory>

class QAudioSink;

// The samples of the sidetone, made as the audio output asks for them: a sine whose level follows the key with
// raised-cosine edges of 5 ms. Open for reading from the start.
class SidetoneSource : public QIODevice
{
public:
    explicit SidetoneSource(int sampleRate);
    void setTone(double hz, double volume);
    void key(bool down) { m_down = down; }
    // 16-bit mono samples fill `data`, as many as fit.
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* /*data*/, qint64 /*size*/) override { return -1; }
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override { return 4096 + QIODevice::bytesAvailable(); }

private:
    int m_rate;
    std::atomic<bool> m_down{false};
    std::atomic<double> m_step{0};
    std::atomic<double> m_volume{0};
    double m_phase = 0;
    double m_level = 0; // 0 (silent) to 1, along the edge
};

// The sidetone through Qt Multimedia's default audio output, fed a little at a time so that it follows the key;
// silent when there is no audio output.
class QtSidetone : public Sidetone
{
public:
    QtSidetone();
    ~QtSidetone() override;
    QtSidetone(const QtSidetone&) = delete;
    QtSidetone& operator=(const QtSidetone&) = delete;

    // The output starts with the first tone set, silent until a key-down: its start is never heard as a click.
    void setTone(double hz, double volume) override;
    void key(bool down) override;
    void release() override;
    bool heard() const override { return !m_noOutput; }

private:
    void start();
    void feed();

    SidetoneSource m_source;
    std::unique_ptr<QAudioSink> m_sink;
    QIODevice* m_output = nullptr; // the sink's, while it plays
    QTimer m_feed;
    bool m_starting = false;
    bool m_noOutput = false; // tried once in vain: the key stays silent
};
