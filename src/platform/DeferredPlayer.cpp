#include "platform/DeferredPlayer.h"

#include "platform/AfterFirstPaint.h"
#include "platform/PlayableWav.h"

#include <QFile>
#include <QTimer>

DeferredPlayer::DeferredPlayer(Make make, QObject* parent) : QObject(parent), m_make(std::move(make))
{
    // Loading the sound output takes a few ms and connects to the sound server: not before the window is on screen.
    AfterFirstPaint(this, [this] { real(); });
}

DeferredPlayer::~DeferredPlayer()
{
    m_listener = nullptr;
    m_real.reset();
}

MediaPlayer* DeferredPlayer::real()
{
    if (m_made)
        return m_real.get();
    m_made = true;
    Result<std::unique_ptr<MediaPlayer>> made = m_make();
    if (made && *made) {
        m_real = std::move(*made);
        handOver(*m_real);
    } else if (m_listener) {
        m_listener->outputChanged(); // silent from now on
    }
    return m_real.get();
}

void DeferredPlayer::handOver(MediaPlayer& player)
{
    player.setListener(m_listener);
    player.setStatusIntervalMs(m_statusIntervalMs);
    player.setTimeFormatMilliseconds();
    player.setFileName(m_fileName);
    if (m_open)
        m_open = !player.open(); // the file was read a moment ago: it opens again
}

void DeferredPlayer::setListener(MediaPlayerListener* listener)
{
    m_listener = listener;
    if (m_real)
        m_real->setListener(listener);
}

void DeferredPlayer::setFileName(const QString& path)
{
    m_fileName = path;
    if (m_real)
        m_real->setFileName(path);
}

QString DeferredPlayer::fileName() const
{
    return m_fileName;
}

Failure DeferredPlayer::open()
{
    if (m_real)
        return m_real->open();
    close();
    // Read as the real player reads it: the same length, the same reasons for refusing.
    QFile file;
    const Result<WavLayout> layout = OpenPlayableWav(file, m_fileName);
    if (!layout)
        return layout.failure();
    m_lengthMs = layout->dataBytes / WavFormat::BytesPerMs;
    m_open = true;
    return {};
}

void DeferredPlayer::play()
{
    if (MediaPlayer* player = real()) {
        player->play();
        return;
    }
    if (!m_open || m_playing)
        return;
    // Nothing can be heard: the playback ends on the next turn of the loop, never inside play().
    m_playing = true;
    QTimer::singleShot(0, this, [this] {
        if (m_playing)
            endPlayback(PlaybackEnd::Finished);
    });
}

void DeferredPlayer::prev()
{
    if (m_real)
        m_real->prev();
}

void DeferredPlayer::stop()
{
    if (m_real)
        m_real->stop();
    else if (m_playing)
        endPlayback(PlaybackEnd::Stopped);
}

void DeferredPlayer::close()
{
    if (m_real) {
        m_real->close();
        return;
    }
    if (m_playing)
        endPlayback(PlaybackEnd::Closed);
    m_open = false;
    m_lengthMs = 0;
}

bool DeferredPlayer::isOpen() const
{
    return m_real ? m_real->isOpen() : m_open;
}

bool DeferredPlayer::isPlaying() const
{
    return m_real ? m_real->isPlaying() : m_playing;
}

qint64 DeferredPlayer::lengthMs() const
{
    return m_real ? m_real->lengthMs() : m_lengthMs;
}

void DeferredPlayer::setStatusIntervalMs(int ms)
{
    m_statusIntervalMs = ms;
    if (m_real)
        m_real->setStatusIntervalMs(ms);
}

int DeferredPlayer::statusIntervalMs() const
{
    return m_real ? m_real->statusIntervalMs() : m_statusIntervalMs;
}

void DeferredPlayer::setTimeFormatMilliseconds()
{
    if (m_real)
        m_real->setTimeFormatMilliseconds();
}

bool DeferredPlayer::playsSilently() const
{
    // Before the real player is made, the outputs have not been asked for yet: like it, not silent.
    return m_real ? m_real->playsSilently() : m_made;
}

void DeferredPlayer::endPlayback(PlaybackEnd reason)
{
    m_playing = false;
    if (m_listener)
        m_listener->playerEnded(reason);
}
