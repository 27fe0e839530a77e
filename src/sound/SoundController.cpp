#include "sound/SoundController.h"

#include "exercise/ExerciseMarks.h"
#include "exercise/ExerciseText.h"
#include "platform/MessageBox.h"
#include "platform/Progress.h"
#include "playback/PreparedExercise.h"
#include "sound/DurationFormat.h"
#include "sound/Playback.h"
#include "sound/RenderExerciseFiles.h"
#include "sound/WavHeader.h"

#include <QCoreApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>

#include <algorithm>

namespace {

// The pieces of a generated text where they stand once its outer spaces are trimmed: moved back by the spaces taken
// from its start and cut at its new end; a piece left with nothing of its own is dropped.
TextFields TrimmedFields(const TextFields& fields, const QString& text, qsizetype trimmedLength)
{
    qsizetype leading = 0;
    while (leading < text.size() && text[leading] == u' ')
        ++leading;
    TextFields kept;
    for (TextField field : fields) {
        const qsizetype start = std::max<qsizetype>(field.start - leading, 0);
        const qsizetype end = std::min(field.start + field.length - leading, trimmedLength);
        if (end <= start)
            continue;
        field.start = start;
        field.length = end - start;
        kept << field;
    }
    return kept;
}

} // namespace

SoundController::SoundController(const Controls& controls, const Services& services)
    : m_ui(controls), m_services(services), m_wavHeader(MakeWavHeader())
{
    // The folder may be the user's data folder rather than the program's: the file name field says which.
    const QString where = u"Dossier des fichiers\u202F: " + QDir::toNativeSeparators(m_services.programFolder);
    const QString tip = m_ui.Text11->toolTip();
    m_ui.Text11->setToolTip(tip.isEmpty() ? where : tip + u'\n' + where);
}

void SoundController::entete()
{
    m_wavHeader = MakeWavHeader();
}

void SoundController::withdraw(bool hideTotalTime)
{
    m_ui.Command3->show();
    m_services.playback.close();
    m_services.playback.showPlayer(false);
    if (hideTotalTime)
        m_ui.Text14->hide();
}

void SoundController::closePlayer()
{
    m_services.playback.close();
}

bool SoundController::isPrepared() const
{
    return m_services.playback.isOpen();
}

void SoundController::play(PlaybackStart start)
{
    m_services.playback.play(start);
}

void SoundController::renderingFailed(const QString& message)
{
    withdraw();
    m_services.messages.critical(message);
}

QString SoundController::fileBase() const
{
    // The folder, a separator and the name: an empty name still names ".wav" and ".txt" inside the folder.
    const QDir folder(m_services.programFolder);
    const QString name = m_ui.Text11->text();
    return name.isEmpty() ? folder.path() + u'/' : folder.filePath(name);
}

Failure SoundController::writeFiles(const ExerciseFiles& files, bool& cancelled)
{
    ExerciseText& exercise = m_services.exercise;
    const ExerciseMarks& marks = m_services.marks;
    ExerciseSource source;
    source.text = [&exercise] { return exercise.text(); };
    source.startMarks = [&marks] { return marks.startMarks(); };
    source.endMarks = [&marks] { return marks.endMarks(); };
    // A generated text keeps its pieces through the trim.
    source.showTrimmed = [&exercise](const QString& trimmed) {
        if (trimmed != exercise.text())
            exercise.set(trimmed, TrimmedFields(exercise.fields(), exercise.text(), trimmed.size()));
    };
    // The progress box lasts as long as the writing: it is gone before anything is said about it.
    ProgressScope progress(m_services.progress, QStringLiteral("Préparation de la musique..."));
    source.carryOn = progress.carryOn();
    const RenderConditions conditions{m_services.conditions, QRandomGenerator::global()->generate64()};
    Failure failed = RenderExerciseFiles(
        files, m_services.signs, m_services.pieces.runs, m_wavHeader, source, [] { QCoreApplication::processEvents(); },
        conditions);
    cancelled = progress.cancelled();
    return failed;
}

void SoundController::RenderExercise(SoundOrigin origin)
{
    // A timer running during the yield below may ask for another rendering: the one under way serves it.
    if (m_rendering)
        return;
    m_rendering = true;
    struct Guard
    {
        bool& flag;
        ~Guard() { flag = false; }
    } guard{m_rendering};

    Playback& playback = m_services.playback;
    m_ui.Command3->hide();
    playback.close();

    const ExerciseFiles files = ExerciseFiles::forBase(fileBase());
    ExerciseText& exercise = m_services.exercise;
    bool cancelled = false;
    if (const Failure failed = writeFiles(files, cancelled)) {
        // Cancelled by the user: the previous files are kept and nothing more is said.
        if (cancelled)
            withdraw();
        else
            renderingFailed(*failed);
        return;
    }
    if (const Failure failed = playback.open(files.wav)) {
        renderingFailed(*failed);
        return;
    }
    const qint64 length = playback.lengthMs();
    playback.resetCountDown(length);
    m_ui.Text14->setText(FormatDuration(length));
    playback.showPlayer(true);
    m_ui.Command3->hide();
    m_ui.Text14->show();
    const SoundPieces& pieces = m_services.pieces;
    const PreparedExercise prepared{exercise.text(), pieces.dotMs, pieces.wpm,       pieces.frequency,
                                    pieces.volume,   origin,       exercise.fields()};
    for (PreparedExerciseListener* listener : m_preparedListeners)
        listener->exercisePrepared(prepared);
}

void SoundController::addPreparedListener(PreparedExerciseListener* listener)
{
    m_preparedListeners.push_back(listener);
}

void SoundController::ToneTest()
{
    RenderExercise(SoundOrigin::ToneTest);
    if (isPrepared())
        play(PlaybackStart::ToneTest);
}
