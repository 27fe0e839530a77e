#include "about/Pictures.h"
#include "app/MainWindow.h"
#include "common/RandomSource.h"
#include "common/Version.h"
#include "history/SqliteHistory.h"
#include "inputs/ModemLineFilter.h"
#include "inputs/SerialKeyingSource.h"
#include "parameters/Parameters.h"
#include "platform/DeferredPlayer.h"
#include "platform/DeferredServices.h"
#include "platform/Platform.h"
#include "platform/ProgramFolder.h"
#include "platform/QtBeep.h"
#include "platform/QtClock.h"
#include "platform/QtEntropy.h"
#include "platform/QtFileDialog.h"
#include "platform/QtMessageBox.h"
#include "platform/QtProcessLauncher.h"
#include "platform/QtProgress.h"
#include "platform/QtScreenReader.h"
#include "platform/QtSettingsStore.h"
#include "platform/ServicesModule.h"
#include "platform/TerminationSignals.h"
#include "practice/HistogramsView.h"
#include "practice/KeyingController.h"
#include "progress/ProgressView.h"
#include "sound/Conditions.h"
#include "texts/DataTextSource.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>

namespace {

// Qt's own buttons and dialogs in French too.
void InstallFrenchTranslation(QTranslator& qtFrench)
{
    if (qtFrench.load(QLocale(QLocale::French), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtFrench);
}

// An input of the services module, or nullptr when the module cannot make it (told once by the module).
std::unique_ptr<KeyingSource> ModuleInput(ServicesModule& module, const char* entry)
{
    Result<std::unique_ptr<KeyingSource>> made = module.make<KeyingSource>(entry);
    return made ? std::move(*made) : nullptr;
}

// The key inputs beside the keyboard that this system offers, not yet started; `settings`: the group "manipulation".
// The microphone and MIDI come from the services module, loaded by the first of them if it was not yet.
std::unique_ptr<KeyingSource> OpenKeyingInput(KeyingInput which, const MainWindow::KeyingContext& context,
                                              const SettingsStore& settings, ServicesModule& module)
{
    switch (which) {
    case KeyingInput::SerialPort: {
        const int debounceMs =
            settings.read(QStringLiteral("antirebond"), QString::number(ModemLineFilter::DefaultDebounceMs)).toInt();
        return std::make_unique<SerialKeyingSource>(
            SerialKeyingSource::Port{context.serialDevice, debounceMs, context.transmitterKeyed});
    }
    case KeyingInput::Midi:
        return ModuleInput(module, "tonique_make_midi_input");
    case KeyingInput::Microphone:
        return ModuleInput(module, "tonique_make_microphone_input");
    default:
        return nullptr;
    }
}

// The services over large libraries, from a module loaded once the window has been drawn (the player), or at the
// first use of one of them if that comes first; a module that is missing is told after start-up.
struct LoadedServices
{
    explicit LoadedServices(MessageBox& messages)
        : module(ServicesModule::Places(QCoreApplication::applicationDirPath()),
                 [&messages](const QString& message) { messages.warningLater(message); }),
          player([this] { return module.makePlayer(); }), serial([this] { return module.makeSerialPort(); }),
          printer([this] { return module.makePrinter(); })
    {}

    ServicesModule module;
    DeferredPlayer player;
    DeferredSerialPort serial;
    DeferredPrinter printer;
};

// What the training windows use beside the platform: the sending window's settings kept in a group of its own, its
// inputs beside the keyboard and the tone heard while keying; the call-sign race's and the instant recognition's own
// players, never the exercise's, and the voice that says their answers. All but the settings come from the services
// module.
struct TrainingServices
{
    explicit TrainingServices(ServicesModule& module)
        : module(module), sidetone([&module] { return module.makeSidetone(); }),
          racePlayer([&module] { return module.makePlayer(); }),
          recognitionPlayer([&module] { return module.makePlayer(); }),
          speech([&module] { return module.makeSpeech(); })
    {}

    QtSettingsStore keyingSettings{QString::fromUtf16(Parameters::Organization),
                                   QString::fromUtf16(Parameters::Application), QStringLiteral("manipulation")};
    ServicesModule& module;
    DeferredSidetone sidetone;
    DeferredPlayer racePlayer;
    DeferredPlayer recognitionPlayer; // its own: both windows may be open at once
    QtSettingsStore recognitionSettings{QString::fromUtf16(Parameters::Organization),
                                        QString::fromUtf16(Parameters::Application), QStringLiteral("reconnaissance")};
    DeferredSpeech speech;

    void lend(MainWindow::Options& options)
    {
        options.keyingSettings = &keyingSettings;
        options.sidetone = &sidetone;
        options.racePlayer = &racePlayer;
        options.recognitionPlayer = &recognitionPlayer;
        options.recognitionSettings = &recognitionSettings;
        options.speech = &speech;
        options.keyingInputs = [this](KeyingInput which, const MainWindow::KeyingContext& context) {
            return OpenKeyingInput(which, context, keyingSettings, module);
        };
    }
};

// The windows that draw charts, from a module of their own loaded when the first of them is opened; when it cannot
// be, each says why as it is asked for.
struct ChartWindows
{
    ServicesModule module{
        ServicesModule::Places(QCoreApplication::applicationDirPath(), QStringLiteral("tonique-charts.so")),
        {},
        QStringLiteral("ni «\u202FProgrès\u202F» ni les histogrammes de «\u202FManipulation\u202F» "
                       "ne peuvent être dessinés.")};

    template <typename T> Result<T*> make(const char* entry)
    {
        Result<std::unique_ptr<T>> made = module.make<T>(entry);
        if (!made)
            return Fail(made.failure());
        return made->release();
    }
    void lend(MainWindow::Options& options)
    {
        options.progressWindow = [this] { return make<ProgressView>("tonique_make_progress_window"); };
        options.histograms = [this] { return make<HistogramsView>("tonique_make_histograms"); };
    }
};

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tonique"));
    QApplication::setApplicationVersion(QString::fromLatin1(Version::Text));
    QApplication::setWindowIcon(QIcon(ProgramIcon(64)));

    QTranslator qtFrench;
    InstallFrenchTranslation(qtFrench);

    QtSettingsStore settings(QString::fromUtf16(Parameters::Organization), QString::fromUtf16(Parameters::Application),
                             QString::fromUtf16(Parameters::Section));
    QtSettingsStore conditionsSettings(QString::fromUtf16(Parameters::Organization),
                                       QString::fromUtf16(Parameters::Application),
                                       QString::fromUtf16(Conditions::Section));
    QtBeep beep;
    QtMessageBox messages;
    QtFileDialog fileDialog;
    QtProcessLauncher launcher;
    QtClock clock;
    QtProgress progress;
    LoadedServices loaded(messages);
    QtSettingsStore training(QString::fromUtf16(Parameters::Organization), QString::fromUtf16(Parameters::Application),
                             QStringLiteral("entrainement"));
    QtEntropy entropy;
    QtScreenReader screenReader;
    const Platform platform{settings,           beep,     loaded.player, loaded.serial, fileDialog,
                            loaded.printer,     launcher, messages,      clock,         progress,
                            conditionsSettings, training, entropy,       screenReader};

    // The marking's settings in a group of their own; the history in the program's data folder.
    QtSettingsStore markingSettings(QString::fromUtf16(Parameters::Organization),
                                    QString::fromUtf16(Parameters::Application), QStringLiteral("correction"));
    SqliteHistory history;
    MainWindow::Options options;
    options.openHistory = [&history]() -> Result<History*> {
        if (const Failure failed = history.open(SqliteHistory::DefaultPath()))
            return Fail(*failed);
        return &history;
    };
    options.markingSettings = &markingSettings;
    // The texts' own choices in a group of their own.
    QtSettingsStore textsSettings(QString::fromUtf16(Parameters::Organization),
                                  QString::fromUtf16(Parameters::Application), QStringLiteral("textes"));
    options.textsSettings = &textsSettings;
    TrainingServices trainingServices(loaded.module);
    trainingServices.lend(options);
    ChartWindows charts;
    charts.lend(options);

    const ProgramFolder folder = SetUpProgramFolder(QCoreApplication::applicationDirPath());
    options.textFolders = TextFolders(folder.folder, QCoreApplication::applicationDirPath());
    RandomSource random;
    MainWindow window(platform, random, folder, options);
    if (const auto error = window.startUp()) {
        messages.critical(*error);
        return 1;
    }
    QuitOnTerminationSignals();
    return app.exec();
}
