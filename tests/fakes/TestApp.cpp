#include "fakes/TestApp.h"

#include <QDir>
#include <QFile>

TestApp::TestApp(Options options)
{
    settings.values = options.settings;
    if (!options.missingSignFile) {
        const QString target = QDir(m_folder.path()).filePath(QStringLiteral("telkey.ref"));
        if (options.signFile) {
            QFile f(target);
            if (f.open(QIODevice::WriteOnly))
                f.write(*options.signFile);
        } else {
            QFile::copy(QStringLiteral(TONIQUE_SIGN_FILE), target);
        }
    }
    RandomSource* random = options.random;
    if (!random) {
        ownRandom = std::make_unique<RandomSource>();
        random = ownRandom.get();
    }
    Platform platform;
    platform.settings = &settings;
    platform.beep = &beep;
    platform.player = &player;
    platform.serial = &serial;
    platform.fileDialog = &fileDialog;
    platform.printer = &printer;
    platform.launcher = &launcher;
    platform.messages = &messages;
    MainWindow::Options windowOptions;
    windowOptions.startTimers = false;
    window = std::make_unique<MainWindow>(platform, *random, m_folder.path(), windowOptions);
    if (options.startUp)
        startUpError = window->startUp();
}

TestApp::~TestApp() = default;
