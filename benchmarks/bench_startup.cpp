// One start-up of the real window, as the program does it, timed from main() to the first paint of the window
// with its first exercise rendered. Run by benchmarks/startup.sh in fresh processes.
#include "app/MainWindow.h"
#include "common/RandomSource.h"
#include "parameters/Parameters.h"
#include "platform/AudioSinkPlayer.h"
#include "platform/QtBeep.h"
#include "platform/QtClock.h"
#include "platform/QtEntropy.h"
#include "platform/QtFileDialog.h"
#include "platform/QtMessageBox.h"
#include "platform/QtPrinter.h"
#include "platform/QtProcessLauncher.h"
#include "platform/QtProgress.h"
#include "platform/QtScreenReader.h"
#include "platform/QtSerialPort.h"
#include "platform/QtSettingsStore.h"
#include "sound/Conditions.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>

#include <chrono>
#include <cstdio>

int main(int argc, char* argv[])
{
    QElapsedTimer clock;
    clock.start();
    QApplication app(argc, argv);
    QtSettingsStore settings(QString::fromUtf16(Parameters::Organization), QString::fromUtf16(Parameters::Application),
                             QString::fromUtf16(Parameters::Section));
    QtBeep beep;
    QtMessageBox messages;
    AudioSinkPlayer player;
    QtClock time;
    QtProgress progress;
    QtSerialPort serial;
    QtFileDialog fileDialog;
    QtPrinter printer;
    QtProcessLauncher launcher;
    QtSettingsStore conditions(QString::fromUtf16(Parameters::Organization),
                               QString::fromUtf16(Parameters::Application), QString::fromUtf16(Conditions::Section));
    QtSettingsStore training(QString::fromUtf16(Parameters::Organization), QString::fromUtf16(Parameters::Application),
                             QStringLiteral("entrainement"));
    QtEntropy entropy;
    QtScreenReader screenReader;
    const Platform platform{settings, beep, player,   serial,     fileDialog, printer, launcher,
                            messages, time, progress, conditions, training,   entropy, screenReader};
    // The exercise files go to a scratch folder holding the sign file.
    QTemporaryDir folder;
    QFile::copy(QCoreApplication::applicationDirPath() + QStringLiteral("/telkey.ref"),
                folder.filePath(QStringLiteral("telkey.ref")));
    RandomSource random;
    MainWindow window(platform, random, ProgramFolder::beside(folder.path()), {});
    if (const auto error = window.startUp()) {
        std::fprintf(stderr, "%s\n", qPrintable(*error));
        return 1;
    }
    QTimer::singleShot(0, &app, [&] {
        window.repaint();
        const auto epochUs =
            std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::system_clock::now().time_since_epoch())
                .count();
        std::printf("ready_ms=%.1f ready_epoch_us=%lld\n", clock.nsecsElapsed() / 1e6, static_cast<long long>(epochUs));
        QApplication::quit();
    });
    return app.exec();
}
