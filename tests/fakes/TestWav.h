#pragma once

#include <QFile>
#include <QtEndian>

#include <cmath>
#include <numbers>
#include <vector>

// WAV files for the player tests: 8000 Hz, 16-bit, mono.
namespace TestWav {

template <typename T> void put(QByteArray& bytes, T value)
{
    char le[sizeof(T)];
    qToLittleEndian(value, le);
    bytes.append(le, sizeof(T));
}

// `data` behind the program's 58-byte header (with "fact") or a plain 44-byte one; `declared` < 0 declares the
// real data length.
inline QByteArray file(const QByteArray& data, bool plain = false, qint64 declared = -1, quint32 rate = 8000,
                       quint16 channels = 1)
{
    QByteArray b("RIFF");
    put<quint32>(b, quint32((plain ? 36 : 50) + data.size()));
    b.append("WAVEfmt ");
    put<quint32>(b, plain ? 16 : 18);
    for (quint16 v : {quint16(1), channels})
        put(b, v);
    put<quint32>(b, rate);
    put<quint32>(b, rate * 2 * channels);
    for (quint16 v : {quint16(2 * channels), quint16(16)})
        put(b, v);
    if (!plain) {
        put<quint16>(b, 0);
        b.append("fact");
        put<quint32>(b, 4);
        put<quint32>(b, quint32(data.size() / 2));
    }
    b.append("data");
    put<quint32>(b, quint32(declared < 0 ? data.size() : declared));
    return b + data;
}

inline bool write(const QString& path, const QByteArray& bytes)
{
    QFile out(path);
    return out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size();
}

// Spans in ms, alternately a 1000 Hz tone (starting at phase 0) and silence, the first one a tone.
inline QByteArray bursts(const std::vector<int>& spansMs)
{
    QByteArray data;
    for (size_t s = 0; s < spansMs.size(); ++s)
        for (int i = 0; i < spansMs[s] * 8; ++i)
            put<qint16>(data, s % 2 ? 0 : qint16(std::lround(16000 * std::sin(2 * std::numbers::pi * i / 8))));
    return data;
}

} // namespace TestWav
