#include "games/RaceController.h"

#include "common/RandomSource.h"
#include "games/RaceCalls.h"
#include "games/RaceWindow.h"
#include "marking/History.h"
#include "platform/FileDialog.h"
#include "platform/MediaPlayer.h"
#include "platform/Speech.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

constexpr int PauseAfterSpokenMs = 1500;
constexpr int LowestTone = 500;
constexpr int HighestTone = 900;

QString Summary(const RaceRun& run)
{
    QString text = u"Course terminée. Score\u202F: "_s + QString::number(run.score()) +
                   u"\nVitesse la plus haute\u202F: "_s + QString::number(run.topCpm()) +
                   u"\u00A0caractères par minute\n"_s;
    const QList<RaceCall> missed = run.missed();
    text += missed.isEmpty() ? u"Aucun indicatif manqué."_s
                             : u"Indicatifs manqués (" + QString::number(missed.size()) + u")\u202F:"_s;
    for (const RaceCall& call : missed)
        text += u"\n"_s + call.call + u" — tapé\u202F: "_s + (call.typed.isEmpty() ? u"(rien)"_s : call.typed);
    return text;
}

} // namespace

RaceController::RaceController(Services services, QObject* parent) : QObject(parent), m_services(std::move(services))
{
    m_pause = new QTimer(this);
    m_pause->setSingleShot(true);
    m_pause->setInterval(PauseAfterSpokenMs);
    connect(m_pause, &QTimer::timeout, this, &RaceController::nextCall);
    m_services.player.setListener(this);
}

RaceController::~RaceController()
{
    m_services.player.setListener(nullptr);
    delete m_window;
}

void RaceController::show()
{
    if (!m_window)
        makeWindow();
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

void RaceController::makeWindow()
{
    m_window = new RaceWindow(m_services.parent);
    RaceWindow& w = *m_window;
    w.startSpeed->setValue(std::clamp(m_services.tone ? m_services.tone().cpm : 60, 10, 400));
    // Finding the voice may take the speech server seconds: the box waits for it, the window does not.
    w.spokenAnswer->setEnabled(false);
    w.spokenAnswer->setToolTip(u"Recherche d'une voix française\u2026"_s);
    m_services.speech.find([controller = QPointer<RaceController>(this)] {
        if (controller)
            controller->findVoice();
    });
    w.answer->setEnabled(false);
    w.repeat->setEnabled(false);
    connect(w.start, &QPushButton::clicked, this, &RaceController::start);
    connect(w.answer, &QLineEdit::returnPressed, this, &RaceController::answerEntered);
    connect(&w, &RaceWindow::repeatAsked, this, &RaceController::repeatAsked);
    connect(w.chooseFile, &QPushButton::clicked, this, &RaceController::chooseFile);
    connect(&w, &RaceWindow::closed, this, &RaceController::abandon);
    showBest();
}

void RaceController::findVoice()
{
    if (!m_window)
        return;
    const bool available = m_services.speech.available();
    m_window->spokenAnswer->setEnabled(available);
    m_window->spokenAnswer->setToolTip(available ? QString() : m_services.speech.unavailableReason());
}

void RaceController::chooseFile()
{
    const QString path = m_services.files.getOpenFileName(u"Indicatifs (*.txt);;Tous les fichiers (*)"_s);
    if (path.isEmpty()) {
        m_fileCalls.clear();
        m_window->fileLabel->setText(u"Indicatifs tirés au hasard"_s);
        return;
    }
    const CallSignFile read = ReadCallSignFile(path, m_services.signs);
    m_fileCalls = read.calls;
    m_window->fileLabel->setText(m_fileCalls.isEmpty()
                                     ? u"Indicatifs tirés au hasard"_s
                                     : QFileInfo(path).fileName() + u" ("_s + QString::number(m_fileCalls.size()) +
                                           (m_fileCalls.size() > 1 ? u"\u00A0indicatifs)"_s : u"\u00A0indicatif)"_s));
    m_window->summary->setPlainText(read.message);
}

void RaceController::start()
{
    if (m_run && !m_run->finished())
        return;
    if (const std::optional<QString> unheard = UnheardRun(m_services.player)) {
        m_window->summary->setPlainText(*unheard);
        return;
    }
    m_run.emplace(m_window->startSpeed->value());
    m_faster.reset();
    m_slower.reset();
    m_window->summary->clear();
    m_window->start->setEnabled(false);
    m_window->answer->setEnabled(true);
    m_window->repeat->setEnabled(true);
    m_window->answer->setFocus();
    nextCall();
}

QString RaceController::drawCall()
{
    if (!m_fileCalls.isEmpty())
        return m_fileCalls[m_services.random.pickIndex(m_fileCalls.size())];
    return DrawRaceCall(m_services.random);
}

RaceTone RaceController::drawTone(int cpm)
{
    RaceTone tone = m_services.tone ? m_services.tone() : RaceTone{};
    tone.cpm = cpm;
    if (m_window->variableTone->isChecked())
        tone.hz = LowestTone + int(m_services.random.pickIndex(HighestTone - LowestTone + 1));
    return tone;
}

std::optional<QString> RaceController::render(const QString& call, const RaceTone& tone, const QString& name)
{
    const QByteArray wav = RenderRaceCall(call, tone, m_services.signs);
    const QString path = QDir(m_services.folder).filePath(name);
    QFile file(path);
    if (wav.isEmpty() || !file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(wav) != wav.size())
        return std::nullopt;
    return path;
}

void RaceController::nextCall()
{
    if (!m_run)
        return;
    if (m_run->finished()) {
        finish();
        return;
    }
    // The call prepared for the speed the last answer left, or a fresh one for the first call.
    std::optional<Prepared> ready = m_faster && m_faster->tone.cpm == m_run->cpm() ? m_faster : m_slower;
    if (!ready || ready->tone.cpm != m_run->cpm()) {
        const QString call = drawCall();
        const RaceTone tone = drawTone(m_run->cpm());
        ready = Prepared{call, tone, render(call, tone, u"course-%1.wav"_s.arg(m_renders++ % 4)).value_or(QString())};
    }
    m_run->ask(ready->call, ready->tone.hz);
    showProgress();
    if (stoppedUnheard(play(ready->path)))
        return;
    prepareNext();
}

void RaceController::prepareNext()
{
    // Four files in turn: the one playing and the two prepared are never the same.
    const QString call = drawCall();
    const RaceTone tone = drawTone(RaceRun::nextCpm(m_run->cpm(), true));
    m_faster = Prepared{call, tone, render(call, tone, u"course-%1.wav"_s.arg(m_renders++ % 4)).value_or(QString())};
    RaceTone slower = tone;
    slower.cpm = RaceRun::nextCpm(m_run->cpm(), false);
    m_slower =
        Prepared{call, slower, render(call, slower, u"course-%1.wav"_s.arg(m_renders++ % 4)).value_or(QString())};
}

Failure RaceController::play(const QString& path)
{
    MediaPlayer& player = m_services.player;
    player.close();
    player.setFileName(path);
    Failure failed = path.isEmpty() ? Failure(u"Le son de l'indicatif n'a pas pu être écrit"_s) : player.open();
    if (!failed)
        player.play();
    return failed;
}

bool RaceController::stoppedUnheard(const Failure& failure)
{
    const std::optional<QString> unheard = UnheardRun(m_services.player, failure);
    if (!m_run || !unheard)
        return false;
    abandon();
    m_window->summary->setPlainText(*unheard);
    return true;
}

// The output lost while a run plays: told from inside the player, so looked at once it has returned.
void RaceController::outputChanged()
{
    QMetaObject::invokeMethod(
        this, [this] { stoppedUnheard(); }, Qt::QueuedConnection);
}

void RaceController::answerEntered()
{
    // Nothing is asked between runs or while the spoken answer is heard: what is typed then is ignored.
    if (!m_run || !m_run->waiting() || m_pause->isActive()) {
        m_window->answer->clear();
        return;
    }
    m_run->answer(m_window->answer->text());
    m_window->answer->clear();
    m_services.player.stop();
    showProgress();
    if (m_window->spokenAnswer->isEnabled() && m_window->spokenAnswer->isChecked()) {
        m_services.speech.say(SpokenCall(m_run->calls().last().call));
        m_pause->start();
        return;
    }
    nextCall();
}

void RaceController::repeatAsked()
{
    if (!m_run || m_pause->isActive() || !m_run->repeat())
        return;
    m_services.player.stop();
    m_services.player.prev();
    m_services.player.play();
}

void RaceController::finish()
{
    const RaceRun run = *m_run;
    m_run.reset();
    m_services.history.recordRace(
        {QDateTime::currentDateTime(), run.score(), run.topCpm(), int(run.calls().size()), int(run.missed().size())});
    m_window->summary->setPlainText(Summary(run));
    m_window->start->setEnabled(true);
    m_window->answer->setEnabled(false);
    m_window->repeat->setEnabled(false);
    showBest();
}

void RaceController::abandon()
{
    m_pause->stop();
    if (!m_run)
        return;
    m_run.reset();
    m_services.player.close();
    m_window->start->setEnabled(true);
    m_window->answer->setEnabled(false);
    m_window->repeat->setEnabled(false);
    m_window->progress->clear();
}

void RaceController::showProgress()
{
    m_window->progress->setText(u"Indicatif "_s + QString::number(m_run->calls().size()) + u" sur "_s +
                                QString::number(RaceRun::Calls) + u" — "_s + QString::number(m_run->cpm()) +
                                u"\u00A0car./min — score\u202F: "_s + QString::number(m_run->score()));
}

void RaceController::showBest()
{
    QList<RaceRecord> runs = ReadOrEmpty(m_services.history.races(QDateTime()));
    std::stable_sort(runs.begin(), runs.end(),
                     [](const RaceRecord& a, const RaceRecord& b) { return a.score > b.score; });
    m_window->best->clear();
    for (const RaceRecord& run : runs.mid(0, 5))
        m_window->best->addItem(QString::number(run.score) + u" — "_s + QString::number(run.topCpm) +
                                u"\u00A0car./min — "_s + run.at.toString(u"dd/MM/yyyy HH:mm"_s));
}
