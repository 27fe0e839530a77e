#pragma once

#include "sending/KeyingSource.h"

// An input whose edges the test sends; it starts or fails as told and keeps a trace of its starts and stops.
class FakeKeyingSource : public KeyingSource
{
public:
    explicit FakeKeyingSource(QString* trace, QString failure = {}, bool sidetone = true)
        : m_trace(trace), m_failure(std::move(failure)), m_sidetone(sidetone)
    {}
    ~FakeKeyingSource() override { *m_trace += u'~'; }

    bool start(QString& failure) override
    {
        *m_trace += u'>';
        failure = m_failure;
        return m_failure.isEmpty();
    }
    void stop() override { *m_trace += u'|'; }
    bool wantsSidetone() const override { return m_sidetone; }
    void send(KeyInput input, bool down, KeyTime time) { emit edge(input, down, time); }
    void fail(const QString& message) { emit failed(message); }

private:
    QString* m_trace;
    QString m_failure;
    bool m_sidetone;
};
