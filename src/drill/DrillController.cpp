#include "drill/DrillController.h"

#include "common/Numbers.h"
#include "drill/DrillAnswers.h"
#include "drill/DrillResults.h"
#include "drill/DrillWindow.h"
#include "exercise/ExerciseMarks.h"
#include "exercise/ExerciseText.h"
#include "platform/Clock.h"
#include "platform/ScreenReader.h"
#include "playback/PreparedSound.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

#include <algorithm>
#include <cmath>

DrillController::DrillController(const Controls& controls, const Services& services)
    : m_ui(controls), m_services(services)
{}

void DrillController::Command10Click()
{
    m_timed = false;
    m_ui.Label18->setText(MaxReactionLine(LeadingNumber(m_ui.TP->text())));
    m_ui.Text27->setText(QStringLiteral("0"));
    m_services.window.showDrillPanel(true); // also over the settings panel when the drill starts from there
    m_services.window.setCompact(true);

    // The character is rendered alone: the marks are kept aside and put back once the sound is on its way.
    const ExerciseMarks::Kept marks = m_services.marks.takeAway();
    const std::optional<QString> character = PickDrillCharacter(m_ui.TEXT1->currentText(), m_services.random);
    if (!character) {
        // An empty character set: no sound, the frame stays shown.
        m_services.marks.putBack(marks);
        return;
    }

    m_services.exercise.set(*character);
    m_ui.Label19->setText(*character);
    m_services.screenReader.valueChanged(m_ui.Label19, *character);
    m_services.sound.prepare(SoundOrigin::DrilledCharacter);
    // Not the Play button: the transmitter stays released during the drill. The counter starts at the end of the
    // playback.
    m_services.sound.play(PlaybackStart::Drill);
    m_ui.Text17->clear();
    m_ui.Text17->setFocus();
    m_services.marks.putBack(marks);
}

void DrillController::Text17Changed()
{
    const QString answer = m_ui.Text17->text();
    // Emptying the field runs this check again; an empty answer is neither right nor wrong.
    if (answer.isEmpty())
        return;
    const QString expected = m_services.exercise.text();
    if (answer.toUpper() != expected.toUpper()) {
        // A wrong key costs time: the counter keeps running.
        m_ui.Text17->clear();
        return;
    }

    m_ui.Timer3->stop();
    const double reactionMs = LeadingNumber(m_ui.Text27->text());
    if (m_timed) {
        const qint64 measured = m_services.clock.monotonicMs() - m_soundEndMs;
        m_services.answers.answered(expected, int(std::clamp<qint64>(measured, 0, 2'000'000'000)));
    }
    const QString item = ResultItem(reactionMs, expected);
    // Combo2 keeps plain text order (code-point order, not the locale's): the time on four digits ranks below
    // 10000 ms, and equal times follow the character.
    QComboBox* results = m_ui.Combo2;
    results->insertItem(TextOrderPosition(results->count(), item,
                                          [results](qsizetype i) { return results->itemText(static_cast<int>(i)); }),
                        item);
    results->setCurrentIndex(results->count() - 1);  // shows the slowest time so far
    m_services.screenReader.announce(results, item); // the new result, wherever it ranks
    Command10Click();
}

void DrillController::Timer3Tick()
{
    // Ticks are counted, not a clock read: a tick delivered late still adds 10 ms.
    m_ui.Text27->setText(FormatNumber(LeadingNumber(m_ui.Text27->text()) + 10.0));
}

void DrillController::Command11Click()
{
    // The counter is left as it is: a running count goes on in the hidden frame.
    m_services.window.showDrillPanel(false);
    m_services.window.setCompact(false);
}

void DrillController::startReactionCounter()
{
    m_ui.Text27->setText(QStringLiteral("0"));
    m_ui.Timer3->start();
}

void DrillController::playbackEnded(PlaybackEnd reason)
{
    // A sound withdrawn while it played starts no count.
    if (reason != PlaybackEnd::Closed) {
        startReactionCounter();
        m_timed = true;
        m_soundEndMs = m_services.clock.monotonicMs();
    }
}
