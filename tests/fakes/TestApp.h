#pragma once

#include "app/AppContext.h"
#include "app/MainWindow.h"
#include "common/RandomSource.h"
#include "fakes/FakeBeep.h"
#include "fakes/FakeFileDialog.h"
#include "fakes/FakeMediaPlayer.h"
#include "fakes/FakeMessageBox.h"
#include "fakes/FakePrinter.h"
#include "fakes/FakeProcessLauncher.h"
#include "fakes/FakeSerialPort.h"
#include "fakes/FakeSettingsStore.h"

#include <QMap>
#include <QTemporaryDir>

#include <memory>
#include <optional>

// The Tonique window on fakes, in a temporary program folder holding the delivered telkey.ref (or the bytes a test
// gives). Timers are not started: tests call their handlers.
class TestApp
{
public:
    struct Options
    {
        QMap<QString, QString> settings;    // stored parameters
        std::optional<QByteArray> signFile; // telkey.ref's bytes; the delivered file when absent
        bool missingSignFile = false;       // no telkey.ref at all
        RandomSource* random = nullptr;     // the program's stream; a default one when null
        bool startUp = true;                // run the start-up sequence in the constructor
    };

    TestApp() : TestApp(Options{}) {}
    explicit TestApp(Options options);
    ~TestApp();

    AppContext& ctx() { return window->context(); }
    Form& ui() { return window->context().ui; }
    QString folder() const { return m_folder.path(); }

    template <typename T> T* find(const QString& name) const { return window->findChild<T*>(name); }

    FakeSettingsStore settings;
    FakeBeep beep;
    FakeMediaPlayer player;
    FakeSerialPort serial;
    FakeFileDialog fileDialog;
    FakePrinter printer;
    FakeProcessLauncher launcher;
    FakeMessageBox messages;
    std::unique_ptr<RandomSource> ownRandom;
    std::unique_ptr<MainWindow> window;
    std::optional<QString> startUpError; // what start-up reported

private:
    QTemporaryDir m_folder;
};
