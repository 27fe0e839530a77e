#include "sound/TypedPlayback.h"

#include "exercise/ExerciseMarks.h"
#include "exercise/ExerciseText.h"
#include "playback/PreparedSound.h"
#include "sound/Playback.h"

#include <QLineEdit>
#include <QTimer>

#include <algorithm>

namespace {

// The first character of the queue; a character beyond the 16-bit plane leaves whole.
qsizetype firstCharacterLength(const QString& text)
{
    return text.size() >= 2 && text[0].isHighSurrogate() && text[1].isLowSurrogate() ? 2 : 1;
}

} // namespace

TypedPlayback::TypedPlayback(const Controls& controls, ExerciseText& exercise, ExerciseMarks& marks,
                             PreparedSound& sound, const Playback& playback)
    : m_ui(controls), m_exercise(exercise), m_marks(marks), m_sound(sound), m_playback(playback)
{}

void TypedPlayback::PlayTypedCharacter()
{
    // Stopped for the whole step, so that the event loop that rendering lets run once cannot start this step again.
    m_ui.Timer2->stop();

    const QString queue = m_ui.Text26->text();
    if (!queue.isEmpty() && !m_playback.isCountingDown()) {
        const ExerciseMarks::Kept marks = m_marks.takeAway();
        const qsizetype length = firstCharacterLength(queue);
        m_exercise.set(queue.left(length));
        // The character leaves the queue before rendering: what is typed meanwhile joins the rest.
        const QString rest = queue.mid(length);
        m_ui.Text26->setText(rest);
        // The caret goes to position 500: the end of any shorter queue.
        m_ui.Text26->setCursorPosition(static_cast<int>(std::min<qsizetype>(500, rest.size())));

        m_sound.prepare(SoundOrigin::TypedCharacter);
        // A file the player could not open gives no end of playback: nothing is started, so that the queue goes on
        // with the next character.
        if (m_sound.isPrepared())
            m_sound.play(PlaybackStart::TypedCharacter);
        m_marks.putBack(marks);
    }

    m_ui.Timer2->start();
}
