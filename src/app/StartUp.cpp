#include "app/AppController.h"
#include "app/FreshDraws.h"
#include "app/Layout.h"
#include "app/MainWindow.h"
#include "app/ParameterController.h"
#include "app/TimingChain.h"
#include "common/Numbers.h"
#include "common/RandomSource.h"
#include "common/Version.h"
#include "exercise/ExerciseController.h"
#include "platform/Clock.h"
#include "platform/MediaPlayer.h"
#include "platform/MessageBox.h"
#include "sound/ConditionsController.h"
#include "sound/SoundController.h"
#include "sound/SoundProblems.h"
#include "timing/Timing.h"
#include "training/LearningOrders.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>

namespace {

void fillKeepingText(QComboBox* combo, const QStringList& items)
{
    const QSignalBlocker blocker(combo);
    const QString text = combo->currentText();
    combo->addItems(items);
    combo->setCurrentIndex(-1);
    combo->setEditText(text);
}

} // namespace

Failure MainWindow::startUp()
{
    Form& ui = m_ui;

    // 1-2. Drill panel tucked away; the lists of the timing fields.
    ui.Frame2->hide();
    ui.Frame2->move(0, 0);
    fillKeepingText(ui.Text23, {QStringLiteral("7"), QStringLiteral("8"), QStringLiteral("9")});
    fillKeepingText(ui.Text20, {QStringLiteral("PARIS"), QStringLiteral("CODEX")});
    fillKeepingText(ui.Texte, ThinkingTimeItems());

    // 3-5. On screen, at its size; the settings panel ready to cover the whole window. Sized before it is shown, the
    // window is laid out and drawn once, at its own size, rather than first at a default one.
    resize(Twips(WindowSize::Width), Twips(WindowSize::FullHeight) - WindowSize::FramePixels);
    show();
    ui.Frame1->move(0, 0);
    ui.Frame1->resize(ui.central->width(), Twips(WindowSize::SettingsHeight));

    // 6. The player counts in milliseconds and reports every 999 ms.
    m_platform.player.setStatusIntervalMs(999);
    m_platform.player.setTimeFormatMilliseconds();

    // 7. Caption with the version.
    setWindowTitle(
        QStringLiteral("Tonique,  Version :%1.%2.%3").arg(Version::Major).arg(Version::Minor).arg(Version::Revision));

    // 8. The sign table and its list.
    SignFile file = LoadSignFile(m_programFolder.signFile);
    ui.List2->addItems(file.lines);
    if (file.status != SignFile::Status::Loaded)
        return file.errorText;
    m_signs = file.table;
    m_signFormHints = file.formHints;

    // 9-11. Speed list, WAV header, character sets.
    QStringList speeds;
    for (int wpm = 2; wpm <= 60; ++wpm)
        speeds << QString::number(wpm);
    fillKeepingText(ui.Combo1, speeds);
    m_sound->entete();
    ui.TEXT1->addItems(ProgressiveSets());
    ui.TEXT1->setCurrentIndex(0);
    ui.TEXT1->setCurrentIndex(ui.TEXT1->count() - 1);
    // The band conditions before the first exercise is rendered.
    m_receptionConditions->load();
    return startExercise();
}

Failure MainWindow::startExercise()
{
    // 12-13. No sound prepared yet; the random stream moved on by the clock's seconds.
    m_app->ExerciseTextChanged();
    m_freshDraws->startStream();
    for (int i = m_platform.clock.secondsOfMinute(); i > 0; --i)
        m_random.next();

    // 14-16. Stored parameters (each one recomputes what depends on it), the tone, a first exam exercise.
    if (Failure failed = m_parameters->LoadParameters())
        return failed;
    m_timing->BuildTonePeriod();
    m_exercises->ex1();
    reportSoundProblems();

    if (m_options.startTimers) {
        m_ui.Timer1->start();
        m_ui.Timer2->start();
    }
    return {};
}

void MainWindow::reportSoundProblems()
{
    // The program runs as its settings say even when they give no sound; the user is told once why, and how to
    // put it right, without having to answer.
    const TimingFields fields = m_timing->fieldsShown();
    const QStringList problems =
        SoundProblems(m_signs, m_signFormHints, fields, m_ui.TP->text(), LeadingNumber(m_ui.Texte->currentText()));
    if (problems.isEmpty())
        return;
    const QString text = u"Les exercices seront muets\u202F:\n- " + problems.join(QStringLiteral("\n- "));
    m_ui.TP->setToolTip(m_ui.TP->toolTip() + u"\n" + text);
    m_platform.messages.warningLater(text);
}
