#pragma once

#include "app/MainWindow.h"
#include "common/RandomSource.h"
#include "fakes/FakeBeep.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeEntropy.h"
#include "fakes/FakeFileDialog.h"
#include "fakes/FakeMediaPlayer.h"
#include "fakes/FakeMessageBox.h"
#include "fakes/FakePrinter.h"
#include "fakes/FakeProcessLauncher.h"
#include "fakes/FakeProgress.h"
#include "fakes/FakeScreenReader.h"
#include "fakes/FakeSerialPort.h"
#include "fakes/FakeSettingsStore.h"
#include "fakes/FakeSidetone.h"
#include "fakes/FakeSpeech.h"
#include "fakes/FakeTextSource.h"
#include "history/SqliteHistory.h"

#include <QMap>
#include <QTemporaryDir>

#include <memory>
#include <optional>

class QTimer;

// The Tonique window on fakes, in a temporary program folder holding the delivered telkey.ref (or the bytes a test
// gives), its clock at second 0. Timers are not started: tests fire them with tick().
class TestApp
{
public:
    struct Options
    {
        QMap<QString, QString> settings;               // stored parameters
        QMap<QString, QString> conditions;             // stored band conditions
        QMap<QString, QString> training;               // stored training options
        QMap<QString, QString> textChoices;            // stored choices of the texts (group "textes")
        std::optional<QByteArray> signFile;            // telkey.ref's bytes; the delivered file when absent
        bool missingSignFile = false;                  // no telkey.ref at all
        RandomSource* random = nullptr;                // the program's stream; a default one when null
        bool startUp = true;                           // run the start-up sequence in the constructor
        History* history = nullptr;                    // where results are recorded; an empty one in memory when null
        std::optional<QString> noHistory;              // no history at all, for this reason (another Tonique holds it)
        std::function<Result<History*>()> openHistory; // or the history opened by the window, as the program's
        bool noTexts = false;                          // no generator of French texts
        std::optional<QString> noCharts;               // the windows that draw charts cannot be made, for this reason
    };

    TestApp() : TestApp(Options{}) {}
    explicit TestApp(Options options);
    ~TestApp();

    Form& ui() { return window->form(); }
    ExerciseText& exercise() { return window->exerciseText(); }
    QString folder() const { return m_folder.path(); }
    template <typename T> T* find(const QString& name) const { return window->findChild<T*>(name); }
    // Clicks the button or picks the menu item of that name.
    void run(const QString& control) const;

    // One tick of a timer of the window, as if its period had passed.
    static void tick(QTimer* timer);
    // The user presses the Play button of the player.
    void pressPlay();
    // The About window, when it is open.
    static QWidget* aboutWindow();

    FakeSettingsStore settings;
    FakeBeep beep;
    FakeMediaPlayer player;
    FakeSerialPort serial;
    FakeFileDialog fileDialog;
    FakePrinter printer;
    FakeProcessLauncher launcher;
    FakeMessageBox messages;
    FakeClock clock;
    FakeProgress progress;
    FakeSettingsStore conditionsSettings;
    FakeSettingsStore training; // the group "entrainement"
    FakeEntropy entropy;
    FakeScreenReader screenReader;
    FakeSettingsStore markingSettings;
    FakeTextSource texts;
    FakeSettingsStore textsSettings; // the group "textes"
    FakeSidetone sidetone;
    FakeMediaPlayer racePlayer; // the call-sign race's own
    FakeSpeech speech;
    SqliteHistory history; // in memory, unless the test gives its own
    std::unique_ptr<RandomSource> ownRandom;
    std::unique_ptr<MainWindow> window;
    std::optional<QString> startUpError; // what start-up reported

private:
    QTemporaryDir m_folder;
};
