#include "fakes/TestApp.h"

#include "fakes/BuildFolder.h"
#include "practice/HistogramsChart.h"
#include "progress/ProgressWindow.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

TestApp::TestApp(Options options)
{
    settings.values = options.settings;
    conditionsSettings.values = options.conditions;
    training.values = options.training;
    textsSettings.values = options.textChoices;
    if (!options.missingSignFile) {
        const QString target = QDir(m_folder.path()).filePath(QStringLiteral("telkey.ref"));
        if (options.signFile) {
            QFile f(target);
            if (f.open(QIODevice::WriteOnly))
                f.write(*options.signFile);
        } else {
            QFile::copy(BuildFolder::file("telkey.ref"), target);
        }
    }
    RandomSource* random = options.random;
    if (!random) {
        ownRandom = std::make_unique<RandomSource>();
        random = ownRandom.get();
    }
    const Platform platform{settings, beep,        player, serial,   fileDialog,         printer,
                            launcher, messages,    clock,  progress, conditionsSettings, training,
                            entropy,  screenReader};
    MainWindow::Options windowOptions;
    windowOptions.startTimers = false;
    windowOptions.sidetone = &sidetone;
    windowOptions.racePlayer = &racePlayer;
    windowOptions.speech = &speech;
    if (!options.history)
        history.open(QStringLiteral(":memory:"));
    windowOptions.history = options.history ? options.history : &history;
    if (options.noHistory) {
        windowOptions.history = nullptr;
        windowOptions.noHistoryReason = *options.noHistory;
    }
    windowOptions.openHistory = options.openHistory;
    // The windows that draw charts, made as the charts module makes them, or not at all.
    windowOptions.progressWindow = [why = options.noCharts]() -> Result<ProgressView*> {
        return why ? Result<ProgressView*>(Fail(*why)) : new ProgressWindow;
    };
    windowOptions.histograms = [why = options.noCharts]() -> Result<HistogramsView*> {
        return why ? Result<HistogramsView*>(Fail(*why)) : new HistogramsChart;
    };
    windowOptions.markingSettings = &markingSettings;
    windowOptions.texts = options.noTexts ? nullptr : &texts;
    windowOptions.textsSettings = &textsSettings;
    window = std::make_unique<MainWindow>(platform, *random, ProgramFolder::beside(m_folder.path()), windowOptions);
    if (options.startUp)
        startUpError = window->startUp();
}

TestApp::~TestApp() = default;

void TestApp::tick(QTimer* timer)
{
    QMetaObject::invokeMethod(timer, "timeout");
}

void TestApp::pressPlay()
{
    find<QToolButton>(QStringLiteral("playButton"))->click();
}

QWidget* TestApp::aboutWindow()
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == QLatin1String("frmAbout"))
            return w;
    }
    return nullptr;
}

void TestApp::run(const QString& control) const
{
    if (auto* button = find<QPushButton>(control))
        button->click();
    else
        find<QAction>(control)->trigger();
}
