#include "sound/SoundController.h"

#include "app/AppContext.h"
#include "app/TimingController.h"
#include "drill/StatisticsController.h"
#include "platform/MessageBox.h"
#include "ptt/PttController.h"
#include "sound/DurationFormat.h"
#include "sound/ExerciseFiles.h"
#include "sound/WavHeader.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>
#include <climits>

namespace {

// RemainingMs is 32-bit: a longer file counts down from its largest value.
int toRemainingMs(qint64 ms)
{
    return int(std::clamp<qint64>(ms, INT_MIN, INT_MAX));
}

} // namespace

SoundController::SoundController(AppContext& ctx) : m_ctx(ctx), m_wavHeader(::entete()) {}

void SoundController::entete()
{
    m_wavHeader = ::entete();
}

void SoundController::BuildTonePeriod()
{
    const int frequency = m_ctx.ui.HScroll4->value();
    const int volume = m_ctx.ui.vol->value();
    m_ctx.ui.Command1->setText(u"Test tonalité à ( " + QString::number(frequency) + u"Hz Vol=" +
                               QString::number(volume) + u")");
    m_ctx.platform.player->close();
    m_tonePeriod = MakeTonePeriod(frequency, volume);
    m_ctx.timing->DotLengthChanged();
}

bool SoundController::hasTonePeriod() const
{
    return !m_tonePeriod.isEmpty();
}

bool SoundController::BuildSampleRuns(double dotMs, double espa, double espb, double espc, double supl)
{
    auto runs = MakeSampleRuns(m_tonePeriod, dotMs, espa, espb, espc, supl);
    if (!runs)
        return false;
    m_runs = std::move(*runs);
    return true;
}

void SoundController::renderingFailed(const QString& message)
{
    MediaPlayer* player = m_ctx.platform.player;
    player->close();
    player->setVisible(false);
    m_ctx.ui.Command3->show();
    m_ctx.platform.messages->critical(message);
}

void SoundController::RenderExercise()
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

    Form& ui = m_ctx.ui;
    MediaPlayer* player = m_ctx.platform.player;
    ui.Command3->hide();
    player->close();

    const ExerciseFiles files = ExerciseFiles::forBase(QDir(m_ctx.programFolder).filePath(ui.Text11->text()));
    ExerciseSource source;
    source.text = [this] { return m_ctx.exercise.text(); };
    source.startMarks = [&ui] { return ui.Text9->text(); };
    source.endMarks = [&ui] { return ui.Text4->text(); };
    source.showTrimmed = [this](const QString& trimmed) {
        if (trimmed != m_ctx.exercise.text())
            m_ctx.exercise.set(trimmed);
    };
    if (const Failure failed = RenderExerciseFiles(files, m_ctx.signs, m_runs, m_wavHeader, source,
                                                   [] { QCoreApplication::processEvents(); })) {
        renderingFailed(*failed);
        return;
    }

    player->setFileName(files.wav);
    if (!player->open()) {
        renderingFailed(u"Le lecteur ne peut pas ouvrir le fichier « " + QDir::toNativeSeparators(files.wav) +
                        u" » : " + player->errorString());
        return;
    }
    const qint64 length = player->lengthMs();
    RemainingMs = toRemainingMs(length);
    ui.Text14->setText(FormatDuration(length));
    player->setVisible(true);
    ui.Command3->hide();
    ui.Text14->show();
}

void SoundController::ToneTest()
{
    RenderExercise();
    if (m_ctx.platform.player->isOpen())
        m_ctx.platform.player->play();
}

void SoundController::PlayStarted()
{
    // The player's Play button has the focus: one Tab moves it on along the window's tab order.
    if (m_ctx.ui.window) {
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QCoreApplication::sendEvent(m_ctx.ui.window, &tab);
    }
    m_ctx.stats->Command12Click();
    m_ctx.ptt->Command15Click();
    m_ctx.ui.Text25->show();
    RemainingMs = toRemainingMs(m_ctx.platform.player->lengthMs());
}

void SoundController::StatusTick()
{
    const int interval = m_ctx.platform.player->statusIntervalMs();
    // Ticks arriving long after the end keep counting down without wrapping around.
    RemainingMs = int(std::max<qint64>(INT_MIN, qint64(RemainingMs) - interval));
    m_ctx.ui.Text25->setText(FormatDuration(RemainingMs));
}

void SoundController::PlayEnded(PlaybackEnd reason)
{
    m_ctx.ui.Text25->hide();
    // A sound withdrawn while it played (new text, new timing, new rendering) is not rewound and starts no
    // reaction count: what comes next is a new sound.
    if (reason != PlaybackEnd::Closed)
        m_ctx.platform.player->prev();
    m_ctx.ptt->Command16Click();
    if (reason != PlaybackEnd::Closed) {
        m_ctx.ui.Text27->setText(QStringLiteral("0"));
        m_ctx.ui.Timer3->start();
    }
}
