#pragma once

#include "common/Result.h"
#include "playback/PreparedSound.h"

#include <QByteArray>
#include <QString>

#include <vector>

class ExerciseMarks;
struct ExerciseFiles;
class ExerciseText;
class MessageBox;
class Progress;
class Playback;
class PreparedExerciseListener;
class QLineEdit;
class QPushButton;
class SignTable;
struct ReceptionConditions;
struct SoundPieces;

// The exercise's sound: the WAV header, "Préparer La Musique" (Command3) with the total time (Text14) and the file
// name (Text11), and the tone test (Command1).
class SoundController : public PreparedSound
{
public:
    struct Controls
    {
        QPushButton* Command3 = nullptr;
        QLineEdit* Text14 = nullptr;
        QLineEdit* Text11 = nullptr;
    };
    struct Services
    {
        Playback& playback;
        const SoundPieces& pieces;
        const SignTable& signs;
        ExerciseText& exercise;
        const ExerciseMarks& marks;
        MessageBox& messages;
        Progress& progress;
        QString programFolder;                 // where the exercise files are written
        const ReceptionConditions& conditions; // put on every rendering, each with a seed of its own
    };
    SoundController(const Controls& controls, const Services& services);

    // Builds the WAV header template (start-up).
    void entete();
    // "Préparer La Musique" (Command3), and every rendering asked for `origin`.
    void RenderExercise(SoundOrigin origin = SoundOrigin::Exercise);
    // "Test de la tonalité" (Command1): render, then play.
    void ToneTest();
    // Told what was prepared after each rendering that succeeds.
    void addPreparedListener(PreparedExerciseListener* listener);

    // PreparedSound
    void prepare(SoundOrigin origin) override { RenderExercise(origin); }
    void withdraw(bool hideTotalTime = false) override;
    void closePlayer() override;
    bool isPrepared() const override;
    void play(PlaybackStart start) override;

private:
    QString fileBase() const;
    // Writes the two files, showing the progress; `cancelled` when the user stopped it.
    Failure writeFiles(const ExerciseFiles& files, bool& cancelled);
    // Reports a failed rendering and leaves the window not prepared, player closed.
    void renderingFailed(const QString& message);

    Controls m_ui;
    Services m_services;
    QByteArray m_wavHeader;
    bool m_rendering = false; // a rendering is between its two files (yield to the event loop)
    std::vector<PreparedExerciseListener*> m_preparedListeners;
};
