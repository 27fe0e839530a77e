#include "drill/DrillController.h"

#include "app/AppContext.h"
#include "common/Numbers.h"
#include "drill/DrillResults.h"
#include "platform/MediaPlayer.h"
#include "sound/SoundController.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

DrillController::DrillController(AppContext& ctx) : m_ctx(ctx) {}

void DrillController::Command10Click()
{
    Form& ui = m_ctx.ui;
    ui.Label18->setText(MaxReactionLine(LeadingNumber(ui.TP->text())));
    ui.Text27->setText(QStringLiteral("0"));
    ui.Frame2->show();
    ui.Frame2->raise(); // also over the settings panel when the drill starts from there
    ui.Check2->setChecked(true);

    // The character is rendered alone: the marks are kept aside and put back once the sound is on its way.
    const QString endMarks = ui.Text4->text();
    const QString startMarks = ui.Text9->text();
    ui.Text4->clear();
    ui.Text9->clear();
    auto restoreMarks = [&] {
        ui.Text4->setText(endMarks);
        ui.Text9->setText(startMarks);
    };

    const std::optional<QString> character = PickDrillCharacter(ui.TEXT1->currentText(), *m_ctx.random);
    if (!character) {
        // An empty character set: no sound, the frame stays shown.
        restoreMarks();
        return;
    }

    m_ctx.exercise.set(*character);
    ui.Label19->setText(*character);
    m_ctx.sound->RenderExercise();
    // Started by the program, so no play-start notice: the transmitter stays released during the drill. The
    // counter starts at the end-of-playback notice.
    m_ctx.platform.player->play();
    ui.Text17->clear();
    ui.Text17->setFocus();
    restoreMarks();
}

void DrillController::Text17Changed()
{
    Form& ui = m_ctx.ui;
    const QString answer = ui.Text17->text();
    // Emptying the field runs this check again; an empty answer is neither right nor wrong.
    if (answer.isEmpty())
        return;
    const QString& expected = m_ctx.exercise.text();
    if (answer.toUpper() != expected.toUpper()) {
        // A wrong key costs time: the counter keeps running.
        ui.Text17->clear();
        return;
    }

    ui.Timer3->stop();
    const QString item = ResultItem(LeadingNumber(ui.Text27->text()), expected);
    // Combo2 keeps plain text order (code-point order, not the locale's): the time on four digits ranks below
    // 10000 ms, and equal times follow the character.
    QComboBox* results = ui.Combo2;
    results->insertItem(TextOrderPosition(results->count(), item,
                                          [results](qsizetype i) { return results->itemText(static_cast<int>(i)); }),
                        item);
    results->setCurrentIndex(results->count() - 1); // shows the slowest time so far
    Command10Click();
}

void DrillController::Timer3Tick()
{
    // Ticks are counted, not a clock read: a tick delivered late still adds 10 ms.
    QLineEdit* counter = m_ctx.ui.Text27;
    counter->setText(FormatNumber(LeadingNumber(counter->text()) + 10.0));
}

void DrillController::Command11Click()
{
    // The counter is left as it is: a running count goes on in the hidden frame.
    m_ctx.ui.Frame2->hide();
    m_ctx.ui.Check2->setChecked(false);
}
