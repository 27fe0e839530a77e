#include "common/WavFormat.h"

#include <QtEndian>

#include <algorithm>

Result<WavLayout> ReadWavLayout(QIODevice& file)
{
    const QByteArray riff = file.read(12);
    if (riff.size() < 12 || !riff.startsWith("RIFF") || riff.mid(8, 4) != "WAVE")
        return Fail(QStringLiteral("ce n'est pas un fichier WAV"));
    bool formatSeen = false;
    for (;;) {
        const QByteArray chunk = file.read(8);
        if (chunk.size() < 8)
            return Fail(formatSeen ? QStringLiteral("il ne contient pas de bloc de données audio")
                                   : QStringLiteral("il ne décrit pas son format audio"));
        const QByteArray id = chunk.left(4);
        const qint64 size = qFromLittleEndian<quint32>(chunk.constData() + 4);
        const qint64 bodyStart = file.pos();
        if (id == "fmt ") {
            const QByteArray fmt = file.read(16);
            if (fmt.size() < 16)
                return Fail(QStringLiteral("son en-tête est tronqué"));
            const auto tag = qFromLittleEndian<quint16>(fmt.constData());
            const auto channels = qFromLittleEndian<quint16>(fmt.constData() + 2);
            const auto rate = qFromLittleEndian<quint32>(fmt.constData() + 4);
            const auto bits = qFromLittleEndian<quint16>(fmt.constData() + 14);
            if (tag != 1 || channels != 1 || rate != WavFormat::SampleRate || bits != 8 * WavFormat::BytesPerSample)
                return Fail(QStringLiteral("son format n'est pas PCM 16\u202Fbits mono à 8000\u202FHz"));
            formatSeen = true;
        } else if (id == "data") {
            if (!formatSeen)
                return Fail(QStringLiteral("il ne décrit pas son format audio"));
            // The size field may be a placeholder or the file cut short: what is really there counts.
            return WavLayout{bodyStart, std::clamp(file.size() - bodyStart, qint64(0), size)};
        }
        // Other chunks ("fact", "LIST"...) are skipped; RIFF pads them to an even length.
        if (!file.seek(bodyStart + size + (size & 1)))
            return Fail(QStringLiteral("son en-tête est tronqué"));
    }
}
