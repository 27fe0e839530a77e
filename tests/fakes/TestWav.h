#pragma once

#include <QFile>
#include <QProcess>
#include <QtEndian>

#include <cmath>
#include <numbers>
#include <vector>

// WAV files for the tests (8000 Hz, 16-bit, mono), files written and read back, the command-line renderer run.
namespace TestWav {

template <typename... T> void put(QByteArray& bytes, T... values)
{
    ((values = qToLittleEndian(values), bytes.append(reinterpret_cast<const char*>(&values), sizeof(T))), ...);
}

// `data` behind the program's 58-byte header (with "fact") or a plain 44-byte one; `declared` < 0 declares the
// real data length.
inline QByteArray file(const QByteArray& data, bool plain = false, qint64 declared = -1, quint32 rate = 8000,
                       quint16 channels = 1)
{
    QByteArray b("RIFF");
    put(b, quint32((plain ? 36 : 50) + data.size()));
    b.append("WAVEfmt ");
    put(b, quint32(plain ? 16 : 18), quint16(1), channels, rate, rate * 2 * channels, quint16(2 * channels),
        quint16(16));
    if (!plain) {
        put(b, quint16(0));
        b.append("fact");
        put(b, quint32(4), quint32(data.size() / 2));
    }
    b.append("data");
    put(b, quint32(declared < 0 ? data.size() : declared));
    return b + data;
}

inline bool write(const QString& path, const QByteArray& bytes)
{
    QFile out(path);
    return out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size();
}

inline QByteArray read(const QString& path)
{
    QFile in(path);
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
}

// Runs `program` in `folder`, its settings under `folder`/config, `input` (or the file `inputFile`) on its standard
// input: the exit status (-1 when it does not finish), its standard error in `err`.
inline int run(const QString& program, const QString& folder, const QStringList& args, const QByteArray& input = {},
               QString* err = nullptr, const QString& inputFile = {})
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), folder + QStringLiteral("/config"));
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(folder);
    if (!inputFile.isEmpty())
        p.setStandardInputFile(inputFile);
    p.start(program, args);
    if (inputFile.isEmpty()) {
        p.write(input);
        p.closeWriteChannel();
    }
    if (!p.waitForFinished(60000))
        return -1;
    if (err)
        *err = QString::fromUtf8(p.readAllStandardError());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

// Spans in ms, alternately a 1000 Hz tone (starting at phase 0) and silence, the first one a tone.
inline QByteArray bursts(const std::vector<int>& spansMs)
{
    QByteArray data;
    for (size_t s = 0; s < spansMs.size(); ++s)
        for (int i = 0; i < spansMs[s] * 8; ++i)
            put(data, s % 2 ? qint16(0) : qint16(std::lround(16000 * std::sin(2 * std::numbers::pi * i / 8))));
    return data;
}

} // namespace TestWav
