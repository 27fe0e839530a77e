#pragma once

#include "app/Form.h"
#include "common/Result.h"
#include "exercise/ExerciseText.h"
#include "platform/Platform.h"
#include "platform/ProgramFolder.h"
#include "signs/SignTable.h"
#include "sound/Conditions.h"
#include "sound/ToneSynthesis.h"

#include <QMainWindow>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>

class AboutController;
class AppController;
class ConditionsController;
class DrillController;
class ExerciseController;
class FreshDraws;
class HistogramsView;
class History;
class HistoryGuard;
class KeyingController;
class MediaPlayer;
class RaceController;
class RecognitionController;
class Speech;
class KeyingSource;
enum class KeyingInput : std::uint8_t;
class LearnerSettings;
class MarkingController;
class MarkFields;
class ParameterController;
class PreparedExerciseListener;
class ProgressController;
class ProgressView;
class Playback;
class PttController;
class RandomSource;
class SettingsStore;
class Sidetone;
class SoundController;
class StatisticsController;
class TextsController;
class TextSource;
class TimingChain;
class TrainingController;
class TypedPlayback;

// The Tonique window: builds the controls of both views and the menu bar, creates the subsystems' controllers with
// the controls and services each uses, wires every control to its handler and runs the start-up sequence.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    // What an input beside the keyboard is told of the window when it opens.
    struct KeyingContext
    {
        QString serialDevice;          // the push-to-talk's port ("com"); empty when no device has its number
        bool transmitterKeyed = false; // the push-to-talk holds that port, RTS raised
    };

    struct Options
    {
        // Tests drive the timers' handlers themselves, and the sending window's keyer and decoder work on the caller's
        // thread, step by step.
        bool startTimers = true;
        // Where marked copies and drill answers are kept; none: the program goes on without a history.
        History* history = nullptr;
        QString noHistoryReason = {}; // without one: why, told again when a copy is marked
        // Or opens the history, once the window has been drawn or at its first use if that comes first: the first
        // paint does not wait for the database. Its failure is told as the history's others.
        std::function<Result<History*>()> openHistory = {};
        // The group of the marking's own settings (the pass mark); none: kept for the session only.
        SettingsStore* markingSettings = nullptr;
        // Where the French texts come from; none: their menu says they are not available.
        TextSource* texts = nullptr;
        // Without `texts`: the folders the window reads the French texts' data files from, in order (none: no texts).
        QStringList textFolders = {};
        // The group "textes" (the texts' own choices); none: the defaults, nothing kept.
        SettingsStore* textsSettings = nullptr;
        // The group "manipulation" (the sending window's input mode); none: kept for the session.
        SettingsStore* keyingSettings = nullptr;
        // The tone heard while the learner keys; none: silent.
        Sidetone* sidetone = nullptr;
        // Opens the sending window's inputs beside the keyboard; none: the keyboard alone.
        std::function<std::unique_ptr<KeyingSource>(KeyingInput, const KeyingContext&)> keyingInputs = {};
        // The call-sign race's own player, beside the exercise's; none: the race is not offered.
        MediaPlayer* racePlayer = nullptr;
        // The instant recognition's own player and its group "reconnaissance"; no player: it is not offered, no
        // group: its settings kept for the session.
        MediaPlayer* recognitionPlayer = nullptr;
        SettingsStore* recognitionSettings = nullptr;
        // The voice that says the answers; none: answers are not said.
        Speech* speech = nullptr;
        // The windows that draw charts, made when first opened ("Progrès", the histograms of "Manipulation"); when
        // they cannot be, why.
        std::function<Result<ProgressView*>()> progressWindow = {};
        std::function<Result<HistogramsView*>()> histograms = {};
    };

    MainWindow(const Platform& platform, RandomSource& random, const ProgramFolder& programFolder, Options options);
    ~MainWindow() override;

    // The start-up sequence; the French message when the program cannot go on (sign file, stored parameters).
    Failure startUp();

    // The controls and the exercise text, for the tests that drive the window.
    Form& form() { return m_ui; }
    ExerciseText& exerciseText() { return m_exercise; }
    KeyingController& keying() { return *m_keying; }
    RaceController& race() { return *m_race; }
    RecognitionController& recognition() { return *m_recognition; }
    // Told of every sound prepared, as the marking is.
    void addPreparedListener(PreparedExerciseListener* listener);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createControllers();
    void createSoundControllers();
    void createPracticeControllers();
    void createMarkingController();
    void createTrainingController();
    void createTextsController();
    void createKeyingController();
    void createRaceController();
    void createRecognitionController();
    void wireMenus();
    void wireMarkingMenu();
    void wireExerciseView();
    void wireSettingsPanel();
    void wireDrillPanel();
    void wireConditions();
    // The learner's character set and count of groups follow TEXT1 and Text3, and a set chosen elsewhere reaches TEXT1.
    void wireLearnerSettings();
    // Steps 12 to 16 of the start-up: the random stream, the parameters, the tone and the first exercise.
    Failure startExercise();
    // Tells the user, once and without waiting, why the settings give no sound (sign file, speed, gaps).
    void reportSoundProblems();
    // Timers stopped, playback ended, transmitter released: the window is closing or the program ending.
    void endSession();

    Platform m_platform;
    RandomSource& m_random;
    ProgramFolder m_programFolder; // where telkey.ref is read and the exercise files are written
    Options m_options;
    std::unique_ptr<TextSource> m_ownTexts; // read from Options::textFolders
    Form m_ui;

    // The program's shared state.
    SignTable m_signs;
    QStringList m_signFormHints; // what in the sign file's form keeps characters from being found
    SoundPieces m_pieces;
    ExerciseText m_exercise;
    ReceptionConditions m_conditions;

    // The learner's settings, which the subsystems below share.
    std::unique_ptr<LearnerSettings> m_learner;
    // The subsystems, in the order they are created (and the reverse of their destruction).
    std::unique_ptr<MarkFields> m_marks;
    std::unique_ptr<Playback> m_playback;
    std::unique_ptr<SoundController> m_sound;
    std::unique_ptr<AppController> m_app;
    std::unique_ptr<TimingChain> m_timing;
    std::unique_ptr<ParameterController> m_parameters;
    std::unique_ptr<ExerciseController> m_exercises;
    std::unique_ptr<TextsController> m_texts;
    std::unique_ptr<StatisticsController> m_stats;
    std::unique_ptr<DrillController> m_drill;
    std::unique_ptr<PttController> m_ptt;
    std::unique_ptr<TypedPlayback> m_typed;
    std::unique_ptr<AboutController> m_about;
    std::unique_ptr<HistoryGuard> m_history;
    std::unique_ptr<MarkingController> m_marking;
    std::unique_ptr<ProgressController> m_progress;
    std::unique_ptr<ConditionsController> m_receptionConditions;
    std::unique_ptr<FreshDraws> m_freshDraws;
    std::unique_ptr<TrainingController> m_training;
    std::unique_ptr<KeyingController> m_keying;
    std::unique_ptr<Speech> m_noSpeech;
    std::unique_ptr<RaceController> m_race;
    std::unique_ptr<SettingsStore> m_sessionSettings;
    std::unique_ptr<RecognitionController> m_recognition;
};
