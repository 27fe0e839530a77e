#pragma once

#include "sound/SoundFileEncoder.h"

#include <optional>
#include <vector>

// An encoder fed the WAV file's little-endian sample bytes, which it hands on in blocks of 16-bit samples.
class SampleBlockEncoder : public SoundFileEncoder
{
public:
    explicit SampleBlockEncoder(qsizetype blockSamples) : m_samples(size_t(blockSamples)) {}

    using ByteSink::append;
    void append(const char* data, qsizetype size) final;
    quint64 sampleBytes() const final { return m_bytes; }

protected:
    // Encodes a block of samples; the French reason when it cannot, after which nothing more is handed over.
    virtual Failure encode(const short* samples, qsizetype count) = 0;
    // Hands over the samples still pending (before the encoder's own end).
    void writeOut();
    // The first failure of encode().
    const Failure& failure() const { return m_failure; }
    void setFailure(const Failure& failure)
    {
        if (!m_failure)
            m_failure = failure;
    }

private:
    std::vector<short> m_samples;
    qsizetype m_count = 0;
    std::optional<char> m_halfSample;
    quint64 m_bytes = 0;
    Failure m_failure;
};
