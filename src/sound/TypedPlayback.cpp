#include "sound/TypedPlayback.h"

#include "app/AppContext.h"
#include "drill/StatisticsController.h"
#include "platform/MediaPlayer.h"
#include "ptt/PttController.h"
#include "sound/SoundController.h"

#include <QLineEdit>
#include <QTimer>

#include <algorithm>

namespace {

// Text25 shown means something is playing. Asked of its own flag, not of the window, which may be hidden.
bool isShown(const QWidget* w)
{
    return w->parentWidget() ? w->isVisibleTo(w->parentWidget()) : w->isVisible();
}

// The first character of the queue; a character beyond the 16-bit plane leaves whole.
qsizetype firstCharacterLength(const QString& text)
{
    return text.size() >= 2 && text[0].isHighSurrogate() && text[1].isLowSurrogate() ? 2 : 1;
}

} // namespace

TypedPlayback::TypedPlayback(AppContext& ctx) : m_ctx(ctx) {}

void TypedPlayback::PlayTypedCharacter()
{
    Form& ui = m_ctx.ui;
    // Stopped for the whole step, so that the event loop that rendering lets run once cannot start this step again.
    ui.Timer2->stop();

    const QString queue = ui.Text26->text();
    if (!queue.isEmpty() && !isShown(ui.Text25)) {
        const QString startMarks = ui.Text9->text();
        const QString endMarks = ui.Text4->text();
        ui.Text9->clear();
        ui.Text4->clear();

        const qsizetype length = firstCharacterLength(queue);
        m_ctx.exercise.set(queue.left(length));
        // The character leaves the queue before rendering: what is typed meanwhile joins the rest.
        const QString rest = queue.mid(length);
        ui.Text26->setText(rest);
        // The caret goes to position 500: the end of any shorter queue.
        ui.Text26->setCursorPosition(static_cast<int>(std::min<qsizetype>(500, rest.size())));

        m_ctx.sound->RenderExercise();
        m_ctx.stats->Command12Click();
        // A file the player could not open gives no end-of-playback notice: the playing flag and the transmitter
        // are left alone so that the queue goes on with the next character.
        if (m_ctx.platform.player->isOpen()) {
            m_ctx.ptt->Command15Click();
            ui.Text25->show();
            m_ctx.platform.player->play();
        }

        ui.Text9->setText(startMarks);
        ui.Text4->setText(endMarks);
    }

    ui.Timer2->start();
}
