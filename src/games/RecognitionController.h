#pragma once

#include "games/RaceSound.h"
#include "games/RecognitionRun.h"
#include "platform/MediaPlayer.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>
#include <optional>

class Clock;
class History;
class RandomSource;
class RecognitionWindow;
class SettingsStore;
class SignTable;
class Speech;
class TargetedDraw;
class QTimer;
class QWidget;

// "Reconnaissance instantanée...": plays the learner's characters one at a time at a high speed through a player of
// its own, times the key that answers each from the end of its sound, and records the finished runs. The reflex
// measured first is taken off every time; the characters recognised slowest are drawn more often.
class RecognitionController : public QObject, public MediaPlayerListener
{
    Q_OBJECT

public:
    struct Services
    {
        const SignTable& signs;
        MediaPlayer& player; // its own, never the exercise's
        RandomSource& random;
        History& history;
        Speech& speech;
        const Clock& clock;
        SettingsStore& settings;                  // the group "reconnaissance": `vitesse`, `reflexe`
        QString folder;                           // where the characters' sound files are written
        std::function<QString()> characters = {}; // the learner's set
        std::function<RaceTone()> tone = {};      // tone, volume and speed of the settings: the spacing
        QWidget* parent = nullptr;
    };
    explicit RecognitionController(Services services, QObject* parent = nullptr);
    ~RecognitionController() override;

    void show();
    RecognitionWindow* window() const { return m_window; }

    void start();                        // "Départ": the reflex first when it was never measured
    void measureReflex();                // "Mesurer le réflexe"
    void keyTyped(const QString& typed); // what the learner typed
    void abandon();                      // the window closed: nothing recorded, the player closed
    void nextCharacter();                // after an answer (and the spoken answer's pause)

    void statusUpdate() override {}
    void playerEnded(PlaybackEnd reason) override;
    void outputChanged() override;

private:
    struct Prepared
    {
        QString character;
        QString path;
    };
    void makeWindow();
    void findVoice();
    void showReflex();
    void showNextLetter();
    void reflexKey(const QString& typed);
    void startRun();
    void answered(const RecognitionAnswer& answer);
    Prepared prepare();
    void finish();
    void setRunning(bool running);
    // The run stopped unrecorded when its sound cannot be heard; `failure`: why the file did not open.
    bool stoppedUnheard(const Failure& failure = {});

    Services m_services;
    QPointer<RecognitionWindow> m_window;
    QTimer* m_pause = nullptr;
    std::optional<ReflexMeasure> m_reflex;
    bool m_runAfterReflex = false;
    std::optional<RecognitionRun> m_run;
    std::unique_ptr<TargetedDraw> m_draw;
    std::optional<Prepared> m_next; // rendered while the learner answers the current character
    int m_renders = 0;
};
