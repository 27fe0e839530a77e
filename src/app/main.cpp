#include "app/MainWindow.h"
#include "app/RandomSource.h"
#include "platform/Platform.h"
#include "platform/QtBeep.h"
#include "platform/QtMessageBox.h"
#include "platform/QtSettingsStore.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tonique"));
    QApplication::setApplicationVersion(QStringLiteral(TONIQUE_VERSION));

    // Qt's own buttons and dialogs in French too.
    QTranslator qtFrench;
    if (qtFrench.load(QLocale(QLocale::French), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtFrench);

    QtSettingsStore settings;
    QtBeep beep;
    QtMessageBox messages;
    Platform platform;
    platform.settings = &settings;
    platform.beep = &beep;
    platform.messages = &messages;

    RandomSource random;
    MainWindow window(platform, random, QCoreApplication::applicationDirPath(), {});
    if (const auto error = window.startUp()) {
        messages.critical(*error);
        return 1;
    }
    return app.exec();
}
