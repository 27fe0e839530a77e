// Timing of the practice paths on the real player (the silent clock when there is no audio output):
// - drill: how long after the last tone sample of the drilled character the reaction counter starts;
// - typed characters: the delay from a key typed into "Frappe clavier" to the start of its playback, the 100 ms
//   polling of Timer2 included (the audio output's own buffer latency comes on top when there is one).
// Usage: bench_practice_timing [rounds]
#include "app/MainWindow.h"
#include "common/RandomSource.h"
#include "fakes/BuildFolder.h"
#include "fakes/FakeBeep.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeEntropy.h"
#include "fakes/FakeFileDialog.h"
#include "fakes/FakeMessageBox.h"
#include "fakes/FakePrinter.h"
#include "fakes/FakeProcessLauncher.h"
#include "fakes/FakeProgress.h"
#include "fakes/FakeScreenReader.h"
#include "fakes/FakeSerialPort.h"
#include "fakes/FakeSettingsStore.h"
#include "platform/AudioSinkPlayer.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <functional>

namespace {

// Runs the event loop until `done` holds, checking every ms; the elapsed ms of `clock` when it does.
qint64 waitUntil(const QElapsedTimer& clock, const std::function<bool()>& done)
{
    QEventLoop loop;
    QTimer poll;
    poll.setTimerType(Qt::PreciseTimer);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    poll.start(1);
    if (!done())
        loop.exec();
    return clock.elapsed();
}

// Where the last non-zero sample of the rendered WAV file lies, in ms from the start of its samples.
double lastToneMs(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray bytes = f.readAll();
    qsizetype last = -1;
    for (qsizetype i = 58; i + 1 < bytes.size(); i += 2) {
        if (bytes[i] != 0 || bytes[i + 1] != 0)
            last = (i - 58) / 2 + 1;
    }
    return last < 0 ? -1 : last / 8.0; // 8000 samples a second
}

void summary(const char* what, QList<double> values)
{
    std::sort(values.begin(), values.end());
    auto at = [&](double q) { return values[std::min<qsizetype>(values.size() - 1, qsizetype(q * values.size()))]; };
    QTextStream(stdout) << what << " (ms, " << values.size() << " samples): min " << values.first() << ", median "
                        << at(0.5) << ", p95 " << at(0.95) << ", max " << values.last() << "\n";
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    const int rounds = argc > 1 ? std::max(5, QString::fromLocal8Bit(argv[1]).toInt()) : 40;

    QTemporaryDir folder;
    QFile::copy(BuildFolder::file("telkey.ref"), QDir(folder.path()).filePath(QStringLiteral("telkey.ref")));
    FakeSettingsStore settings;
    FakeBeep beep;
    FakeSerialPort serial;
    FakeFileDialog fileDialog;
    FakePrinter printer;
    FakeProcessLauncher launcher;
    FakeMessageBox messages;
    FakeClock time;
    FakeProgress progress;
    AudioSinkPlayer realPlayer;
    AudioSinkPlayer* player = &realPlayer;
    FakeSettingsStore conditions, training;
    FakeEntropy entropy;
    FakeScreenReader screenReader;
    const Platform platform{settings, beep, realPlayer, serial,     fileDialog, printer, launcher,
                            messages, time, progress,   conditions, training,   entropy, screenReader};
    RandomSource random;
    MainWindow window(platform, random, ProgramFolder::beside(folder.path()), MainWindow::Options{false});
    if (const auto error = window.startUp()) {
        QTextStream(stdout) << "start-up failed: " << *error << "\n";
        return 1;
    }
    Form& ui = window.form();
    QTextStream(stdout) << "audio output: " << (player->playsSilently() ? "none, silent clock" : "present") << "\n";
    const QString wav = QDir(folder.path()).filePath(ui.Text11->text() + QStringLiteral(".wav"));

    // Drill: from Play to the counter's start, minus where the last tone sample lies in the file.
    QList<double> counterAfterTone, counterAfterEnd;
    QElapsedTimer clock;
    for (int round = 0; round < rounds; ++round) {
        ui.Timer3->stop();
        ui.Clavier->trigger();
        clock.start(); // play() was the last step but two of the click
        const qint64 started = waitUntil(clock, [&] { return ui.Timer3->isActive(); });
        counterAfterTone << double(started) - lastToneMs(wav);
        counterAfterEnd << double(started) - double(QFileInfo(wav).size() - 58) / 16.0; // 16 bytes a ms
    }
    ui.Timer3->stop();
    ui.Command11->click();

    // Typed characters: a key at a random moment of Timer2's period, the playback's start seen by the player.
    ui.Timer2->start();
    QList<double> keyToPlay;
    for (int round = 0; round < rounds; ++round) {
        const int pause = QRandomGenerator::global()->bounded(100, 200);
        clock.start();
        waitUntil(clock, [&] { return clock.elapsed() >= pause; });
        clock.start();
        ui.Text26->setText(ui.Text26->text() + u'e');
        keyToPlay << double(waitUntil(clock, [&] { return player->isPlaying(); }));
        waitUntil(clock, [&] { return !player->isPlaying() && !ui.Text25->isVisibleTo(ui.Text25->parentWidget()); });
    }
    ui.Timer2->stop();

    summary("drill: counter start after the last tone sample", counterAfterTone);
    summary("drill: counter start after the end of the file", counterAfterEnd);
    summary("typed: key to playback start", keyToPlay);
    return 0;
}
