// Plays one tiny file after another, as the typed-character queue does (close, rewrite, open, play, wait for the
// end), and prints the resident memory along the way: it must stay flat. Usage: bench_PlayerPlays [plays]

#include "fakes/TestWav.h"
#include "platform/AudioSinkPlayer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

long residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

class Queue : public MediaPlayerListener
{
public:
    Queue(AudioSinkPlayer& player, const QString& path, int plays) : m_player(player), m_path(path), m_plays(plays)
    {
        m_player.setListener(this);
        m_clock.start();
    }
    void statusUpdate() override {}
    void playerEnded(PlaybackEnd) override
    {
        // Like the program: the next character is taken from the event loop, not from inside the notice.
        QTimer::singleShot(0, [this] { next(); });
    }
    void next()
    {
        if (m_done == m_plays) {
            report();
            QCoreApplication::quit();
            return;
        }
        if (m_done == 100)
            m_baseKiB = residentKiB();
        if (m_done > 0 && m_done % (m_plays / 4 > 0 ? m_plays / 4 : 1) == 0)
            report();
        ++m_done;
        m_player.close();
        TestWav::write(m_path, TestWav::file(TestWav::bursts({10})));
        m_player.open();
        m_player.play();
    }
    void report()
    {
        std::printf("%6d plays: RSS %ld KiB (%+ld since play 100), %.1f ms per 10 ms file, %s\n", m_done, residentKiB(),
                    residentKiB() - m_baseKiB, double(m_clock.elapsed()) / m_done,
                    m_player.playsSilently() ? "silent clock" : "audio output");
        std::fflush(stdout);
    }

private:
    AudioSinkPlayer& m_player;
    QString m_path;
    int m_plays;
    int m_done = 0;
    long m_baseKiB = 0;
    QElapsedTimer m_clock;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int plays = argc > 1 ? QByteArray(argv[1]).toInt() : 2000;
    QTemporaryDir dir;
    AudioSinkPlayer player;
    const QString path = dir.filePath(QStringLiteral("TEST.wav"));
    player.setFileName(path);
    Queue queue(player, path, plays < 1 ? 1 : plays);
    QTimer::singleShot(0, [&] { queue.next(); });
    return app.exec();
}
