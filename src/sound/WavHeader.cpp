#include "sound/WavHeader.h"

#include <limits>

namespace {

void putU32(QByteArray& bytes, qsizetype at, quint32 value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = char((value >> (8 * i)) & 0xFF);
}

void putU16(QByteArray& bytes, qsizetype at, quint16 value)
{
    bytes[at] = char(value & 0xFF);
    bytes[at + 1] = char(value >> 8);
}

void putTag(QByteArray& bytes, qsizetype at, const char (&tag)[5])
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = tag[i];
}

} // namespace

QByteArray MakeWavHeader()
{
    QByteArray h(WavFormat::HeaderSize, '\0');
    putTag(h, 0, "RIFF");
    putTag(h, 8, "WAVE");
    putTag(h, 12, "fmt ");
    putU32(h, 16, 18); // format chunk with its extra-size field
    putU16(h, 20, 1);  // PCM
    putU16(h, 22, 1);  // mono
    putU32(h, 24, WavFormat::SampleRate);
    putU32(h, 28, WavFormat::SampleRate * WavFormat::BytesPerSample);
    putU16(h, 32, WavFormat::BytesPerSample);     // block align, bytes
    putU16(h, 34, 8 * WavFormat::BytesPerSample); // bits per sample
    putU16(h, 36, 0);                             // no extra format bytes
    putTag(h, 38, "fact");
    putU32(h, 42, 4);
    putTag(h, 50, "data");
    return h;
}

bool WavLengthFits(quint64 fileLength)
{
    return fileLength >= quint64(WavFormat::HeaderSize) && fileLength - 8 <= std::numeric_limits<quint32>::max();
}

void PatchWavHeader(QByteArray& header, quint64 fileLength)
{
    const quint64 data = fileLength - WavFormat::HeaderSize;
    putU32(header, 4, quint32(fileLength - 8));
    putU32(header, 46, quint32(data / 2));
    putU32(header, 54, quint32(data));
}
