#pragma once

#include "games/RaceRun.h"
#include "games/RaceSound.h"
#include "platform/MediaPlayer.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <functional>
#include <optional>

class FileDialog;
class History;
class MediaPlayer;
class RandomSource;
class RaceWindow;
class SignTable;
class Speech;
class QTimer;
class QWidget;

// "Course aux indicatifs...": runs the race in its window, plays each call through the race's own player from files
// of its own, and records the finished runs.
class RaceController : public QObject, public MediaPlayerListener
{
    Q_OBJECT

public:
    struct Services
    {
        const SignTable& signs;
        MediaPlayer& player; // the race's own, never the exercise's
        RandomSource& random;
        History& history;
        Speech& speech;
        FileDialog& files;
        QString folder;                      // where the calls' sound files are written
        std::function<RaceTone()> tone = {}; // the tone and volume of the settings (its speed unused)
        QWidget* parent = nullptr;
    };
    explicit RaceController(Services services, QObject* parent = nullptr);
    ~RaceController() override;

    // The menu item: the window shown, made at the first call.
    void show();
    RaceWindow* window() const { return m_window; }

    void start();         // "Départ"
    void answerEntered(); // Enter in the answer field
    void repeatAsked();   // F6
    void chooseFile();    // a file of real call signs, or back to the draw when cancelled
    void abandon();       // the window closed: the run dropped, nothing recorded
    // After a spoken answer, the next call (a pause, so that the answer is heard before it).
    void nextCall();

    void statusUpdate() override {}
    void playerEnded(PlaybackEnd) override {}
    void outputChanged() override;

private:
    struct Prepared
    {
        QString call;
        RaceTone tone;
        QString path;
    };
    void makeWindow();
    // The "Réponse parlée" box enabled when a voice answers, or disabled with the reason.
    void findVoice();
    QString drawCall();
    RaceTone drawTone(int cpm);
    std::optional<QString> render(const QString& call, const RaceTone& tone, const QString& name);
    void prepareNext();
    // The run stopped unrecorded when its sound cannot be heard; `failure`: why the file did not open.
    bool stoppedUnheard(const Failure& failure = {});
    // Plays a call's file; the reason when it cannot be opened.
    Failure play(const QString& path);
    void finish();
    void showProgress();
    void showBest();

    Services m_services;
    QPointer<RaceWindow> m_window;
    QTimer* m_pause = nullptr;
    std::optional<RaceRun> m_run;
    QStringList m_fileCalls; // the calls of the learner's file; empty: the draw
    // The next call, rendered at both speeds it may be played at while the learner answers the current one.
    std::optional<Prepared> m_faster;
    std::optional<Prepared> m_slower;
    int m_renders = 0; // names the files, so that the one playing is never written over
};
