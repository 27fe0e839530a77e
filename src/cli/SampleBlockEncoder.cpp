#include "cli/SampleBlockEncoder.h"

#include <QtEndian>

#include <algorithm>

void SampleBlockEncoder::append(const char* data, qsizetype size)
{
    m_bytes += quint64(size);
    if (m_failure || size <= 0)
        return;
    const auto capacity = qsizetype(m_samples.size());
    if (m_halfSample) {
        const char pair[2] = {*m_halfSample, data[0]};
        m_samples[size_t(m_count++)] = qFromLittleEndian<qint16>(pair);
        m_halfSample.reset();
        ++data;
        --size;
        if (m_count == capacity)
            writeOut();
    }
    while (size >= 2) {
        const qsizetype n = std::min<qsizetype>(size / 2, capacity - m_count);
        qFromLittleEndian<qint16>(data, n, m_samples.data() + m_count);
        m_count += n;
        data += 2 * n;
        size -= 2 * n;
        if (m_count == capacity)
            writeOut();
    }
    if (size == 1)
        m_halfSample = data[0];
}

void SampleBlockEncoder::writeOut()
{
    if (!m_failure && m_count > 0)
        m_failure = encode(m_samples.data(), m_count);
    m_count = 0;
}
