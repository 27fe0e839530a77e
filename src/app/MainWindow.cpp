#include "app/MainWindow.h"

#include "about/AboutController.h"
#include "app/AppController.h"
#include "app/FreshDraws.h"
#include "app/Layout.h"
#include "app/MarkFields.h"
#include "app/ParameterController.h"
#include "app/TimingChain.h"
#include "app/Views.h"
#include "app/WindowTexts.h"
#include "common/Numbers.h"
#include "common/RandomSource.h"
#include "drill/DrillController.h"
#include "drill/StatisticsController.h"
#include "exercise/CallSign.h"
#include "exercise/ExerciseController.h"
#include "exercise/TextsController.h"
#include "games/RaceController.h"
#include "games/RaceWindow.h"
#include "games/RecognitionController.h"
#include "games/RecognitionWindow.h"
#include "history/HistoryGuard.h"
#include "marking/MarkingController.h"
#include "parameters/LearnerSettings.h"
#include "platform/AfterFirstPaint.h"
#include "platform/MediaPlayer.h"
#include "platform/MessageBox.h"
#include "platform/SerialPort.h"
#include "platform/SettingsStore.h"
#include "platform/Speech.h"
#include "practice/KeyingController.h"
#include "progress/ProgressController.h"
#include "ptt/PttController.h"
#include "sound/ConditionsController.h"
#include "sound/Playback.h"
#include "sound/PlayerView.h"
#include "sound/SoundController.h"
#include "sound/TypedPlayback.h"
#include "training/TrainingController.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QHash>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <utility>

namespace {

// Alt with a letter is an access key or nothing: a letter that names no menu is not typed into the field that has
// the focus. Access keys and shortcuts have had their turn before the key reaches a control; an open menu still
// takes Alt with the letter of one of its items.
class AltLetterGuard : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress || !receiver->isWidgetType() || qobject_cast<QMenu*>(receiver) ||
            qobject_cast<QMenuBar*>(receiver))
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        // Ctrl with Alt is AltGr on some systems: the characters it types stay.
        const bool alt = (key->modifiers() & Qt::AltModifier) && !(key->modifiers() & Qt::ControlModifier);
        return alt && !key->text().isEmpty() && key->text().front().isPrint();
    }
};

// A set chosen elsewhere than in TEXT1, shown there as the learner would choose it: the item of the list, or typed in
// when the list does not hold it.
void showCharacterSet(QComboBox& text1, const QString& set)
{
    if (text1.currentText() == set)
        return;
    const int index = text1.findText(set, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index >= 0)
        text1.setCurrentIndex(index);
    if (text1.currentText() != set)
        text1.setEditText(set);
}

} // namespace

MainWindow::MainWindow(const Platform& platform, RandomSource& random, const ProgramFolder& programFolder,
                       Options options)
    : m_platform(platform), m_random(random), m_programFolder(programFolder), m_options(std::move(options))
{
    setObjectName(QStringLiteral("Tonique"));
    QFont small(QStringLiteral("Arial"));
    small.setPointSize(8);
    setFont(small);
    m_ui.window = this;
    m_ui.central = new QWidget(this);
    m_ui.central->setObjectName(QStringLiteral("central"));
    setCentralWidget(m_ui.central);

    BuildMenus(*this, m_ui);
    BuildExerciseView(m_ui, this);
    BuildSettingsPanel(m_ui);
    BuildDrillPanel(m_ui);
    createControllers();
    wireMenus();
    wireExerciseView();
    wireSettingsPanel();
    wireDrillPanel();
    wireConditions();
    wireLearnerSettings();
    qApp->installEventFilter(new AltLetterGuard(this));
}

MainWindow::~MainWindow()
{
    endSession();
    // The controls still speak while Qt takes the window down (a list field losing the focus reports its item
    // chosen): nothing may reach the controllers deleted below.
    for (QObject* control : findChildren<QObject*>())
        control->disconnect(this);
}

void MainWindow::createControllers()
{
    m_learner = std::make_unique<LearnerSettings>(LearnerSettings::Stores{
        m_platform.settings, m_platform.training, m_options.markingSettings, m_options.textsSettings});
    m_marks = std::make_unique<MarkFields>(m_ui.Text9, m_ui.Text4);
    createSoundControllers();
    createMarkingController();
    m_app = std::make_unique<AppController>(
        AppController::Controls{m_ui.window, m_ui.exerciseView, m_ui.Check2, m_ui.Frame1, m_ui.Frame2, m_ui.Command25,
                                m_ui.afff, m_ui.fichier, m_ui.gpa, m_ui.act, m_ui.entrainement, m_ui.textes},
        *m_sound, m_random);
    m_timing = std::make_unique<TimingChain>(TimingChain::Controls{m_ui.Text20, m_ui.Combo1, m_ui.Text21, m_ui.Text22,
                                                                   m_ui.Text23, m_ui.Text24, m_ui.Texte, m_ui.TP,
                                                                   m_ui.HScroll4, m_ui.vol, m_ui.Command1},
                                             m_signs, m_pieces, *m_sound, m_platform.beep);
    m_parameters = std::make_unique<ParameterController>(
        ParameterController::Fields{m_ui.Text20, m_ui.Text21, m_ui.Text22, m_ui.Text23, m_ui.Text24, m_ui.Combo1,
                                    m_ui.TEXT1, m_ui.Text15, m_ui.Text8, m_ui.Text9, m_ui.Text4, m_ui.Texte,
                                    m_ui.HScroll4, m_ui.vol},
        m_platform.settings, *m_app);
    m_exercises = std::make_unique<ExerciseController>(
        ExerciseController::Controls{m_ui.window, m_ui.Text3, m_ui.Text6, m_ui.Text7, m_ui.Text12, m_ui.TEXT1,
                                     m_ui.Text8, m_ui.Combo1, m_ui.Text20},
        ExerciseController::Services{m_exercise, *m_marks, *m_sound, *m_app, m_random, m_platform.fileDialog,
                                     m_platform.printer, m_platform.messages, m_platform.progress});
    createTextsController();
    createPracticeControllers();
    m_about = std::make_unique<AboutController>(m_platform.launcher, m_platform.messages);
    createTrainingController();
    m_ui.entrainement->addSeparator();
    m_receptionConditions = std::make_unique<ConditionsController>(
        ConditionsController::Controls{AddConditionsItem(m_ui.entrainement), m_ui.MMControl1, this},
        ConditionsController::Services{m_conditions, m_platform.conditionsSettings, *m_sound, m_platform.messages});
    m_freshDraws = std::make_unique<FreshDraws>(m_ui.entrainement, *m_learner, m_platform.entropy, m_random);
    // The race before "Manipulation...", which stays the last item.
    createRaceController();
    createRecognitionController();
    createKeyingController();
    m_exercise.attach(m_ui.Text2, [app = m_app.get()] { app->ExerciseTextChanged(); });
}

void MainWindow::addPreparedListener(PreparedExerciseListener* listener)
{
    m_sound->addPreparedListener(listener);
}

void MainWindow::createSoundControllers()
{
    m_playback =
        std::make_unique<Playback>(m_platform.player, *m_ui.MMControl1, m_ui.Text25, this, m_platform.screenReader);
    m_sound = std::make_unique<SoundController>(
        SoundController::Controls{m_ui.Command3, m_ui.Text14, m_ui.Text11},
        SoundController::Services{*m_playback, m_pieces, m_signs, m_exercise, *m_marks, m_platform.messages,
                                  m_platform.progress, m_programFolder.folder, m_conditions});
    m_typed = std::make_unique<TypedPlayback>(TypedPlayback::Controls{m_ui.Text26, m_ui.Timer2}, m_exercise, *m_marks,
                                              *m_sound, *m_playback);
}

void MainWindow::createMarkingController()
{
    // The history's first failure is told once, without waiting; the program then goes on without it.
    auto report = [messages = &m_platform.messages](const QString& text) { messages->warningLater(text); };
    m_history = m_options.openHistory
                    ? std::make_unique<HistoryGuard>(m_options.openHistory, report)
                    : std::make_unique<HistoryGuard>(m_options.history, report, m_options.noHistoryReason);
    PlayerView* player = m_ui.MMControl1;
    m_marking = std::make_unique<MarkingController>(MarkingController::Services{
        *m_history, *m_learner, m_platform.clock, m_platform.screenReader, [player] { player->pressPlayOrStop(); }});
    m_progress = std::make_unique<ProgressController>(ProgressController::Services{
        *m_history, m_platform.clock, m_platform.fileDialog, m_platform.messages,
        [marking = m_marking.get()] { return marking->passMark(); }, &m_signs,
        [text12 = m_ui.Text12](const QString& c) { text12->setText(c); }, m_options.progressWindow});
    m_marking->addResultsListener(&m_progress->resultsListener());
    m_history->setRunKept([progress = m_progress.get()] { progress->runKept(); });
    m_sound->addPreparedListener(m_marking.get());
    connect(player, &PlayerView::stateChanged, this,
            [marking = m_marking.get()](bool open, bool playing) { marking->playerChanged(open, playing); });
    wireMarkingMenu();
}

void MainWindow::createTrainingController()
{
    const TrainingForm form = BuildTrainingControls(*m_ui.entrainement, m_ui.Text12, m_ui.Text2, m_ui.Frame1);
    m_training = std::make_unique<TrainingController>(
        TrainingController::Controls{m_ui.Text12, form},
        TrainingController::Services{*m_history, m_platform.clock, *m_learner, m_random, *m_exercises});
    m_sound->addPreparedListener(m_training.get());
    m_marking->addResultsListener(m_training.get());
    m_progress->addResultsListener(m_training.get());
    TrainingController* training = m_training.get();
    connect(form.exerciceCible, &QAction::triggered, this, [training] { training->exerciceCible(); });
    connect(form.oui, &QPushButton::clicked, this, [training] { training->offreOui(); });
    connect(form.plusTard, &QPushButton::clicked, this, [training] { training->offrePlusTard(); });
    connect(form.suggestion, &QToolButton::clicked, this, [training] { training->suggestionClicked(); });
    connect(m_learner.get(), &LearnerSettings::characterSetChanged, this,
            [training] { training->characterSetChanged(); });
    // A history still to open is opened once the window has been drawn (sooner if something records or reads first):
    // the suggestion shows when it has been read.
    if (!m_history->waiting())
        training->historyChanged();
    else
        AfterFirstPaint(this, [history = m_history.get(), training] {
            history->openNow();
            training->historyChanged();
        });
}

void MainWindow::createKeyingController()
{
    // The keyer sends at the dot of the settings' speed; the exercise to send is the one of the window.
    KeyingController::Services services{m_signs,
                                        m_platform.clock,
                                        m_options.keyingSettings,
                                        [tp = m_ui.TP] { return LeadingNumber(tp->text()); },
                                        [exercise = &m_exercise] { return exercise->text(); },
                                        [learner = m_learner.get()] { return learner->passMark(); }};
    services.sidetone = m_options.sidetone;
    if (m_options.keyingInputs) {
        services.openInput = [open = m_options.keyingInputs, serial = &m_platform.serial](KeyingInput which) {
            return open(which, KeyingContext{serial->deviceName(serial->portNumber()), serial->isOpen()});
        };
    }
    services.runs = m_history.get();
    services.histograms = m_options.histograms;
    services.decoding = m_options.startTimers ? KeyingThreading::OwnThread : KeyingThreading::CallersThread;
    services.tone = [tone = m_ui.HScroll4, vol = m_ui.vol] {
        return SidetoneTone{double(tone->value()), double(vol->value()) / std::max(1, vol->maximum())};
    };
    // "Écho" draws its characters from the learner's set, as the random groups do; its call signs are those of the
    // exercises, whatever the set.
    services.echoText = [learner = m_learner.get(), random = &m_random](EchoPlays plays) -> QString {
        if (plays == EchoPlays::CallSign)
            return indicatif(*random);
        const QString& set = learner->characterSet();
        QString text;
        for (int i = 0; i < (plays == EchoPlays::Group ? 5 : 1) && !set.isEmpty(); ++i)
            text += set[random->pickIndex(set.size())];
        return text;
    };
    m_keying = std::make_unique<KeyingController>(std::move(services), this);
    QAction* manipulation = m_ui.entrainement->addAction(QStringLiteral("&Manipulation..."));
    manipulation->setObjectName(QStringLiteral("manipulation"));
    connect(manipulation, &QAction::triggered, this, [keying = m_keying.get()] { keying->manipulation(); });
}

namespace {

// Where no voice was given.
class NoSpeech : public Speech
{
public:
    bool available() const override { return false; }
    QString unavailableReason() const override { return QStringLiteral("Aucune synthèse vocale."); }
    void say(const QString&) override {}
};

} // namespace

namespace {

// Settings kept for the session only.
class SessionSettings : public SettingsStore
{
public:
    QString read(const QString& key, const QString& defaultValue) const override
    {
        return m_values.value(key, defaultValue);
    }
    void write(const QString& key, const QString& value) override { m_values.insert(key, value); }

private:
    QHash<QString, QString> m_values;
};

} // namespace

void MainWindow::createRecognitionController()
{
    if (!m_options.recognitionPlayer || !m_race)
        return;
    if (!m_options.recognitionSettings)
        m_sessionSettings = std::make_unique<SessionSettings>();
    RecognitionController::Services services{m_signs,
                                             *m_options.recognitionPlayer,
                                             m_random,
                                             *m_history,
                                             m_options.speech ? *m_options.speech : *m_noSpeech,
                                             m_platform.clock,
                                             m_options.recognitionSettings ? *m_options.recognitionSettings
                                                                           : *m_sessionSettings,
                                             m_programFolder.folder};
    services.characters = [learner = m_learner.get()] { return learner->characterSet(); };
    services.tone = [speed = m_ui.Combo1, tone = m_ui.HScroll4, vol = m_ui.vol] {
        return RaceTone{int(LeadingNumber(speed->currentText()) * 5), tone->value(), vol->value()};
    };
    services.parent = this;
    m_recognition = std::make_unique<RecognitionController>(std::move(services));
    QAction* item = m_ui.entrainement->addAction(QStringLiteral("Reconnaissance i&nstantanée..."));
    item->setObjectName(QStringLiteral("reconnaissanceInstantanee"));
    connect(item, &QAction::triggered, this, [controller = m_recognition.get()] { controller->show(); });
}

void MainWindow::createRaceController()
{
    // Without a player of its own the race has no sound: it is not offered.
    if (!m_options.racePlayer)
        return;
    if (!m_options.speech)
        m_noSpeech = std::make_unique<NoSpeech>();
    RaceController::Services services{m_signs,
                                      *m_options.racePlayer,
                                      m_random,
                                      *m_history,
                                      m_options.speech ? *m_options.speech : *m_noSpeech,
                                      m_platform.fileDialog,
                                      m_programFolder.folder};
    // The calls start at the settings' speed (five characters a word), with their tone and volume.
    services.tone = [speed = m_ui.Combo1, tone = m_ui.HScroll4, vol = m_ui.vol] {
        return RaceTone{int(LeadingNumber(speed->currentText()) * 5), tone->value(), vol->value()};
    };
    services.parent = this;
    m_race = std::make_unique<RaceController>(std::move(services));
    QAction* race = m_ui.entrainement->addAction(QStringLiteral("Course aux &indicatifs..."));
    race->setObjectName(QStringLiteral("courseIndicatifs"));
    connect(race, &QAction::triggered, this, [controller = m_race.get()] { controller->show(); });
}

void MainWindow::createTextsController()
{
    if (!m_options.texts && !m_options.textFolders.isEmpty()) {
        m_ownTexts = std::make_unique<WindowTexts>(m_options.textFolders, m_signs);
        m_options.texts = m_ownTexts.get();
    }
    m_texts = std::make_unique<TextsController>(
        TextsController::Controls{m_ui.appris},
        TextsController::Services{m_exercise, *m_sound, m_random, m_platform.messages, *m_learner, m_options.texts,
                                  [exercises = m_exercises.get()] { exercises->examGroups(); }});
}

void MainWindow::createPracticeControllers()
{
    m_stats = std::make_unique<StatisticsController>(m_ui.List1, m_exercise);
    m_drill = std::make_unique<DrillController>(
        DrillController::Controls{m_ui.Label18, m_ui.Label19, m_ui.Text27, m_ui.Text17, m_ui.Combo2, m_ui.Timer3,
                                  m_ui.TP, m_ui.TEXT1},
        DrillController::Services{m_exercise, *m_marks, *m_sound, *m_app, m_random, *m_marking, m_platform.clock,
                                  m_platform.screenReader});
    m_ptt = std::make_unique<PttController>(m_ui.CK, m_ui.Text15, m_platform.serial, m_platform.messages);
    // A playback's start and end reach, in this order, the statistics, the transmitter and the drill's counter.
    m_playback->addListener(m_stats.get());
    m_playback->addListener(m_ptt.get());
    m_playback->addListener(m_drill.get());
}

void MainWindow::wireMenus()
{
    auto trigger = [this](QAction* a, auto&& f) { connect(a, &QAction::triggered, this, f); };
    ExerciseController* exercises = m_exercises.get();
    trigger(m_ui.ouvrir, [exercises] { exercises->ouvrir(); });
    trigger(m_ui.imprimer, [exercises] { exercises->imprimer(); });
    trigger(m_ui.quit, [] { QApplication::quit(); });
    trigger(m_ui.afff, [app = m_app.get()] { app->ShowSettingsView(); });
    trigger(m_ui.ex1, [exercises] { exercises->ex1(); });
    trigger(m_ui.EX2, [exercises] { exercises->EX2(); });
    trigger(m_ui.diag, [exercises] { exercises->diag(); });
    trigger(m_ui.melange, [exercises] { exercises->melange(); });
    trigger(m_ui.indicatifs, [exercises] { exercises->indicatifs(); });
    TextsController* texts = m_texts.get();
    trigger(m_ui.qso, [texts] { texts->qso(); });
    trigger(m_ui.mots, [texts] { texts->mots(); });
    trigger(m_ui.clair, [texts] { texts->texteEnClair(); });
    trigger(m_ui.examenComplet, [texts] { texts->examenComplet(); });
    connect(m_ui.appris, &QAction::toggled, this, [texts](bool on) { texts->apprisToggled(on); });
    trigger(m_ui.inv, [exercises] { exercises->inv(); });
    trigger(m_ui.doubleSpaces, [exercises] { exercises->doubleSpaces(); });
    trigger(m_ui.acc, [exercises] { exercises->acc(); });
    trigger(m_ui.Clavier, [drill = m_drill.get()] { drill->Command10Click(); });
    trigger(m_ui.apropos, [about = m_about.get()] { about->apropos(); });
    connect(m_freshDraws->item(), &QAction::toggled, this,
            [freshDraws = m_freshDraws.get()](bool on) { freshDraws->itemToggled(on); });
}

void MainWindow::wireMarkingMenu()
{
    // The learner's own work comes first in the menu, the sound's settings after it.
    const MarkingMenu menu = BuildMarkingMenu(*m_ui.entrainement);
    connect(menu.corriger, &QAction::triggered, this, [marking = m_marking.get()] { marking->corriger(); });
    connect(menu.progres, &QAction::triggered, this, [progress = m_progress.get()] { progress->progres(); });
}

void MainWindow::wireExerciseView()
{
    auto click = [this](QPushButton* b, auto&& f) { connect(b, &QPushButton::clicked, this, f); };
    auto tick = [this](QTimer* t, auto&& f) { connect(t, &QTimer::timeout, this, f); };
    ExerciseController* exercises = m_exercises.get();
    click(m_ui.Command5, [exercises] { exercises->Command5Click(); });
    click(m_ui.Command6, [exercises] { exercises->Command6Click(); });
    click(m_ui.Command8, [exercises] { exercises->Command8Click(); });
    click(m_ui.Command7, [exercises] { exercises->Command7Click(); });
    click(m_ui.Command3, [sound = m_sound.get()] { sound->RenderExercise(); });
    click(m_ui.Command12, [stats = m_stats.get()] { stats->Command12Click(); });
    click(m_ui.Command10, [drill = m_drill.get()] { drill->Command10Click(); });
    click(m_ui.Command15, [ptt = m_ptt.get()] { ptt->keyTransmitter(); });
    click(m_ui.Command16, [ptt = m_ptt.get()] { ptt->releaseTransmitter(); });
    connect(m_ui.Check2, &QCheckBox::toggled, this, [app = m_app.get()](bool on) { app->Check2Toggled(on); });
    connect(m_ui.Text2, &QPlainTextEdit::textChanged, this, [this] { m_exercise.takeFromView(); });
    tick(m_ui.Timer1, [app = m_app.get()] { app->Timer1Tick(); });
    tick(m_ui.Timer2, [typed = m_typed.get()] { typed->PlayTypedCharacter(); });
    tick(m_ui.Timer3, [drill = m_drill.get()] { drill->Timer3Tick(); });
}

void MainWindow::wireSettingsPanel()
{
    auto click = [this](QPushButton* b, auto&& f) { connect(b, &QPushButton::clicked, this, f); };
    auto edited = [this](QLineEdit* e, auto&& f) { connect(e, &QLineEdit::textChanged, this, f); };
    // A list field reacts to a change of its text and to an item chosen, also the item already shown.
    auto comboEdited = [this](QComboBox* c, auto&& f) {
        connect(c, &QComboBox::editTextChanged, this, f);
        connect(c, &QComboBox::activated, this, f);
    };
    TimingChain* timing = m_timing.get();
    comboEdited(m_ui.Text20, [timing] { timing->ComputeDotLength(); });
    comboEdited(m_ui.Combo1, [timing] { timing->ComputeDotLength(); });
    edited(m_ui.Text21, [timing] { timing->ComputeDotLength(); });
    edited(m_ui.Text22, [timing] { timing->Text22Changed(); });
    comboEdited(m_ui.Text23, [timing] { timing->ComputeDotLength(); });
    edited(m_ui.Text24, [timing] { timing->ComputeDotLength(); });
    edited(m_ui.TP, [timing] { timing->DotLengthChanged(); });
    comboEdited(m_ui.Texte, [timing] { timing->DotLengthChanged(); });
    edited(m_ui.Text15, [ptt = m_ptt.get()] { ptt->Text15Changed(); });
    connect(m_ui.HScroll4, &QScrollBar::valueChanged, this, [timing] { timing->BuildTonePeriod(); });
    connect(m_ui.vol, &QScrollBar::valueChanged, this, [timing] { timing->BuildTonePeriod(); });
    click(m_ui.Command1, [sound = m_sound.get()] { sound->ToneTest(); });
    click(m_ui.Command4, [exercises = m_exercises.get()] { exercises->Command4Click(); });
    click(m_ui.Command23, [parameters = m_parameters.get()] { parameters->ResetToExamValues(); });
    click(m_ui.Command24, [parameters = m_parameters.get()] { parameters->SaveParameters(); });
    click(m_ui.Command25, [app = m_app.get()] { app->ShowExerciseView(); });
}

void MainWindow::wireDrillPanel()
{
    DrillController* drill = m_drill.get();
    connect(m_ui.Text17, &QLineEdit::textChanged, this, [drill] { drill->Text17Changed(); });
    connect(m_ui.Command11, &QPushButton::clicked, this, [drill] { drill->Command11Click(); });
}

void MainWindow::wireConditions()
{
    ConditionsController* conditions = m_receptionConditions.get();
    connect(conditions->form().item, &QAction::triggered, this, [conditions] { conditions->open(); });
}

void MainWindow::wireLearnerSettings()
{
    LearnerSettings* learner = m_learner.get();
    QComboBox* text1 = m_ui.TEXT1;
    connect(text1, &QComboBox::editTextChanged, this, [learner](const QString& set) { learner->setCharacterSet(set); });
    connect(learner, &LearnerSettings::characterSetChanged, this,
            [text1](const QString& set) { showCharacterSet(*text1, set); });
    connect(m_ui.Text3, &QLineEdit::textChanged, this,
            [learner](const QString& count) { learner->setGroupCount(LeadingNumber(count)); });
    learner->setCharacterSet(text1->currentText());
    learner->setGroupCount(LeadingNumber(m_ui.Text3->text()));
}

void MainWindow::endSession()
{
    for (QTimer* timer : {m_ui.Timer1, m_ui.Timer2, m_ui.Timer3})
        timer->stop();
    // A playback still running ends here, which releases the transmitter as any end does; the line then goes down
    // even if CK was unticked meanwhile.
    m_playback->shutDown();
    m_ptt->releaseForExit();
    if (m_race)
        m_race->abandon(); // a run cut short is not recorded
    if (m_recognition)
        m_recognition->abandon();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // The program goes on while another of its windows is open (the About window), but nothing plays or keys
    // the transmitter behind a closed window.
    endSession();
    QMainWindow::closeEvent(event);
}
