#include "sound/Playback.h"

#include "platform/MediaPlayer.h"
#include "platform/ScreenReader.h"
#include "sound/DurationFormat.h"
#include "sound/PlayerView.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include <algorithm>
#include <climits>

namespace {

// RemainingMs is 32-bit: a longer file counts down from its largest value.
int toRemainingMs(qint64 ms)
{
    return int(std::clamp<qint64>(ms, INT_MIN, INT_MAX));
}

} // namespace

Playback::Playback(MediaPlayer& player, PlayerView& view, QLineEdit* Text25, QWidget* window,
                   ScreenReader& screenReader)
    : m_player(player), m_view(view), m_screenReader(screenReader), m_countDown(Text25), m_window(window)
{
    m_player.setListener(this);
    QObject::connect(&m_view, &PlayerView::playPressed, &m_view, [this] { pressPlay(); });
    QObject::connect(&m_view, &PlayerView::prevPressed, &m_view, [this] { m_player.prev(); });
    QObject::connect(&m_view, &PlayerView::stopPressed, &m_view, [this] { m_player.stop(); });
    m_view.setSilent(m_player.playsSilently());
}

Playback::~Playback()
{
    // The player may outlive the window (main owns it): it must not call back into what is gone.
    m_player.setListener(nullptr);
}

void Playback::addListener(PlaybackListener* listener)
{
    m_listeners.push_back(listener);
}

Failure Playback::open(const QString& path)
{
    m_player.setFileName(path);
    Failure failed = m_player.open();
    updateView();
    return failed;
}

void Playback::close()
{
    m_player.close();
    updateView();
}

void Playback::play(PlaybackStart start)
{
    for (PlaybackListener* listener : m_listeners)
        listener->playbackStarted(start);
    if (start == PlaybackStart::TypedCharacter)
        m_countDown->show();
    m_player.play();
    updateView();
}

void Playback::showPlayer(bool shown)
{
    m_view.setVisible(shown);
}

bool Playback::isOpen() const
{
    return m_player.isOpen();
}

qint64 Playback::lengthMs() const
{
    return m_player.lengthMs();
}

bool Playback::isCountingDown() const
{
    // Its own flag, not whether the window is on screen.
    return !m_countDown->isHidden();
}

void Playback::resetCountDown(qint64 lengthMs)
{
    RemainingMs = toRemainingMs(lengthMs);
}

void Playback::shutDown()
{
    close();
}

void Playback::pressPlay()
{
    if (!m_player.isOpen() || m_player.isPlaying())
        return;
    m_player.play();
    updateView();
    PlayStarted();
}

void Playback::PlayStarted()
{
    // The Play button has the focus: one Tab moves it on along the window's tab order.
    if (m_window) {
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QCoreApplication::sendEvent(m_window, &tab);
    }
    for (PlaybackListener* listener : m_listeners)
        listener->playbackStarted(PlaybackStart::PlayButton);
    m_countDown->show();
    RemainingMs = toRemainingMs(m_player.lengthMs());
}

void Playback::StatusTick()
{
    // Ticks arriving long after the end keep counting down without wrapping around.
    RemainingMs = int(std::max<qint64>(INT_MIN, qint64(RemainingMs) - m_player.statusIntervalMs()));
    m_countDown->setText(FormatDuration(RemainingMs));
    m_screenReader.valueChanged(m_countDown, m_countDown->text());
}

void Playback::PlayEnded(PlaybackEnd reason)
{
    m_countDown->hide();
    // A sound withdrawn while it played is not rewound: what comes next is a new sound.
    if (reason != PlaybackEnd::Closed)
        m_player.prev();
    updateView();
    for (PlaybackListener* listener : m_listeners)
        listener->playbackEnded(reason);
}

void Playback::outputChanged()
{
    m_view.setSilent(m_player.playsSilently());
}

void Playback::updateView()
{
    m_view.setState(m_player.isOpen(), m_player.isPlaying());
}
