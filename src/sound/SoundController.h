#pragma once

#include "platform/MediaPlayer.h"
#include "sound/ToneSynthesis.h"

#include <QByteArray>

struct AppContext;

// The sound of the window: the WAV header, the tone and its runs, "Préparer La Musique", the player's
// notifications and the tone test.
class SoundController : public MediaPlayerListener
{
public:
    explicit SoundController(AppContext& ctx);

    // Builds the WAV header template (start-up).
    void entete();
    // Rebuilds the tone period from HScroll4 and vol, sets Command1's caption, closes the player, then runs
    // DotLengthChanged. Also the change handler of HScroll4 and vol.
    void BuildTonePeriod();
    // Whether a tone period exists yet (none before the first BuildTonePeriod).
    bool hasTonePeriod() const;
    // Rebuilds the element runs; false (runs unchanged) when the values give no runs (negative lengths).
    bool BuildSampleRuns(double dotMs, double espa, double espb, double espc, double supl);

    // "Préparer La Musique" (Command3).
    void RenderExercise();
    // "Test de la tonalité" (Command1): render, then play.
    void ToneTest();

    void PlayStarted();
    void StatusTick();
    void PlayEnded(PlaybackEnd reason);

    int RemainingMs = 0;

    // MediaPlayerListener
    void playStarted() override { PlayStarted(); }
    void statusUpdate() override { StatusTick(); }
    void playbackEnded(PlaybackEnd reason) override { PlayEnded(reason); }

    const QByteArray& wavHeader() const { return m_wavHeader; }
    const QByteArray& tonePeriod() const { return m_tonePeriod; }
    const SampleRuns& sampleRuns() const { return m_runs; }

private:
    // Reports a failed rendering and leaves the window not prepared, player closed.
    void renderingFailed(const QString& message);

    AppContext& m_ctx;
    QByteArray m_wavHeader;
    QByteArray m_tonePeriod;
    SampleRuns m_runs;
    bool m_rendering = false; // a rendering is between its two files (yield to the event loop)
};
