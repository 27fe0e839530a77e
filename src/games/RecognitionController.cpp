#include "games/RecognitionController.h"

#include "common/RandomSource.h"
#include "games/RecognitionWindow.h"
#include "marking/History.h"
#include "platform/Clock.h"
#include "platform/SettingsStore.h"
#include "platform/Speech.h"
#include "sound/WavHeader.h"
#include "training/CharacterNeeds.h"
#include "training/TargetedGroups.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

constexpr int PauseAfterSpokenMs = 1200;
constexpr int DefaultWpm = 25;
const QString SpeedKey = u"vitesse"_s;
const QString ReflexKey = u"reflexe"_s;

QString Milliseconds(double ms)
{
    return QString::number(qRound(ms)) + u"\u00A0ms"_s;
}

QString Summary(const QList<RecognitionAnswer>& answers)
{
    QList<int> times;
    QStringList missed;
    for (const RecognitionAnswer& a : answers) {
        if (a.right && a.ms)
            times.append(*a.ms);
        else
            missed.append(a.character.toUpper());
    }
    std::sort(times.begin(), times.end());
    QString text = u"Reconnaissance terminée\u202F: "_s + QString::number(times.size()) + u" sur "_s +
                   QString::number(answers.size()) + u" reconnus."_s;
    if (!times.isEmpty())
        text += u"\nTemps médian\u202F: "_s + Milliseconds(times[times.size() / 2]);
    if (!missed.isEmpty())
        text += u"\nManqués\u202F: "_s + missed.join(u' ');
    return text;
}

// The silence after the last tone sample left out, so that the player's end is the end of the character itself.
void CutTrailingSilence(QByteArray& wav)
{
    const qsizetype header = MakeWavHeader().size();
    qsizetype end = wav.size() & ~qsizetype(1);
    while (end - 2 >= header && wav[end - 1] == 0 && wav[end - 2] == 0)
        end -= 2;
    wav.truncate(end);
    PatchWavHeader(wav, quint64(wav.size()));
}

} // namespace

RecognitionController::RecognitionController(Services services, QObject* parent)
    : QObject(parent), m_services(std::move(services))
{
    m_pause = new QTimer(this);
    m_pause->setSingleShot(true);
    m_pause->setInterval(PauseAfterSpokenMs);
    connect(m_pause, &QTimer::timeout, this, &RecognitionController::nextCharacter);
    m_services.player.setListener(this);
}

RecognitionController::~RecognitionController()
{
    m_services.player.setListener(nullptr);
    delete m_window;
}

void RecognitionController::show()
{
    if (!m_window)
        makeWindow();
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

void RecognitionController::makeWindow()
{
    m_window = new RecognitionWindow(m_services.parent);
    RecognitionWindow& w = *m_window;
    w.speed->setValue(m_services.settings.read(SpeedKey, QString::number(DefaultWpm)).toInt());
    connect(w.speed, &QSpinBox::valueChanged, this,
            [this](int wpm) { m_services.settings.write(SpeedKey, QString::number(wpm)); });
    w.spokenAnswer->setEnabled(false);
    w.spokenAnswer->setToolTip(u"Recherche d'une voix française\u2026"_s);
    m_services.speech.find([controller = QPointer<RecognitionController>(this)] {
        if (controller)
            controller->findVoice();
    });
    connect(w.start, &QPushButton::clicked, this, &RecognitionController::start);
    connect(w.measure, &QPushButton::clicked, this, &RecognitionController::measureReflex);
    connect(w.keys, &QLineEdit::textEdited, this, &RecognitionController::keyTyped);
    connect(&w, &RecognitionWindow::closed, this, &RecognitionController::abandon);
    showReflex();
}

void RecognitionController::findVoice()
{
    if (!m_window)
        return;
    const bool available = m_services.speech.available();
    m_window->spokenAnswer->setEnabled(available);
    m_window->spokenAnswer->setToolTip(available ? QString() : m_services.speech.unavailableReason());
}

void RecognitionController::showReflex()
{
    const QString stored = m_services.settings.read(ReflexKey, QString());
    m_window->reflex->setText(stored.isEmpty() ? u"Réflexe non mesuré\u202F: il le sera au départ."_s
                                               : u"Temps de frappe\u202F: "_s + Milliseconds(stored.toInt()) +
                                                     u", ôté de chaque temps"_s);
}

void RecognitionController::setRunning(bool running)
{
    m_window->start->setEnabled(!running);
    m_window->measure->setEnabled(!running);
    m_window->speed->setEnabled(!running);
    m_window->keys->setEnabled(running);
    if (running)
        m_window->keys->setFocus();
}

void RecognitionController::start()
{
    if (m_run || m_reflex)
        return;
    if (m_services.settings.read(ReflexKey, QString()).isEmpty()) {
        m_runAfterReflex = true;
        measureReflex();
        return;
    }
    startRun();
}

void RecognitionController::measureReflex()
{
    if (m_run)
        return;
    m_reflex.emplace();
    m_window->summary->setPlainText(u"Tapez la lettre affichée aussi vite que possible ("_s +
                                    QString::number(ReflexMeasure::Rounds) + u"\u00A0fois)."_s);
    setRunning(true);
    showNextLetter();
}

void RecognitionController::showNextLetter()
{
    const QString letter = QString(QChar(u'A' + int(m_services.random.pickIndex(26))));
    m_reflex->show(letter, m_services.clock.monotonicMs());
    m_window->shown->setText(letter);
    m_window->progress->setText(u"Réflexe "_s + QString::number(m_reflex->rounds() + 1) + u" sur "_s +
                                QString::number(ReflexMeasure::Rounds));
}

void RecognitionController::keyTyped(const QString& typed)
{
    if (m_window)
        m_window->keys->clear();
    const QString key = typed.right(1);
    if (key.isEmpty())
        return;
    if (m_reflex) {
        reflexKey(key);
        return;
    }
    // Between characters, during the spoken answer and outside a run, nothing is asked: the key is ignored.
    if (!m_run || m_pause->isActive())
        return;
    if (const std::optional<RecognitionAnswer> answer = m_run->key(key, m_services.clock.monotonicMs()))
        answered(*answer);
}

void RecognitionController::reflexKey(const QString& typed)
{
    if (!m_reflex->key(typed, m_services.clock.monotonicMs()))
        return;
    if (!m_reflex->done()) {
        showNextLetter();
        return;
    }
    m_services.settings.write(ReflexKey, QString::number(m_reflex->typingMs()));
    m_reflex.reset();
    m_window->shown->clear();
    m_window->progress->clear();
    m_window->summary->clear();
    showReflex();
    setRunning(false);
    if (std::exchange(m_runAfterReflex, false))
        startRun();
}

void RecognitionController::startRun()
{
    const QString characters = m_services.characters ? m_services.characters() : QString();
    const QDateTime since = m_services.clock.now().addDays(-NeedPeriodDays);
    const QList<CharacterWeakness> known = RecognitionWeaknesses(ReadOrEmpty(m_services.history.recognitions(since)));
    m_draw = std::make_unique<TargetedDraw>(CharacterNeeds(characters, known));
    if (m_draw->characters().isEmpty()) {
        m_window->summary->setPlainText(u"Aucun caractère à reconnaître\u202F: le jeu de caractères est vide."_s);
        return;
    }
    if (const std::optional<QString> unheard = UnheardRun(m_services.player)) {
        m_window->summary->setPlainText(*unheard);
        return;
    }
    m_run.emplace(m_services.settings.read(ReflexKey, u"0"_s).toInt());
    m_next.reset();
    m_window->summary->clear();
    m_window->shown->clear();
    setRunning(true);
    nextCharacter();
}

RecognitionController::Prepared RecognitionController::prepare()
{
    const QString character = m_draw->pick(m_services.random).toString();
    RaceTone tone = m_services.tone ? m_services.tone() : RaceTone{};
    const double leadMs = 7 * 6000.0 / std::max(1, tone.cpm); // the settings' word gap
    tone.cpm = m_window->speed->value() * 5;
    QByteArray wav = RenderRaceCall(character, tone, m_services.signs, leadMs);
    if (!wav.isEmpty())
        CutTrailingSilence(wav);
    // Three files in turn: the one playing is never written over.
    const QString path = QDir(m_services.folder).filePath(u"reconnaissance-%1.wav"_s.arg(m_renders++ % 3));
    QFile file(path);
    if (wav.isEmpty() || !file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(wav) != wav.size())
        return {character, QString()};
    return {character, path};
}

void RecognitionController::nextCharacter()
{
    if (!m_run)
        return;
    if (m_run->finished()) {
        finish();
        return;
    }
    const Prepared now = m_next ? *m_next : prepare();
    m_run->play(now.character);
    m_window->progress->setText(u"Caractère "_s + QString::number(m_run->answers().size() + 1) + u" sur "_s +
                                QString::number(RecognitionRun::Characters));
    MediaPlayer& player = m_services.player;
    player.close();
    player.setFileName(now.path);
    const Failure failed = now.path.isEmpty() ? Failure(u"Le son du caractère n'a pas pu être écrit"_s) : player.open();
    if (!failed)
        player.play();
    if (stoppedUnheard(failed))
        return;
    m_next = prepare();
}

bool RecognitionController::stoppedUnheard(const Failure& failure)
{
    const std::optional<QString> unheard = UnheardRun(m_services.player, failure);
    if (!m_run || !unheard)
        return false;
    abandon();
    m_window->summary->setPlainText(*unheard);
    return true;
}

// The output lost while a run plays: told from inside the player, so looked at once it has returned.
void RecognitionController::outputChanged()
{
    QMetaObject::invokeMethod(
        this, [this] { stoppedUnheard(); }, Qt::QueuedConnection);
}

void RecognitionController::playerEnded(PlaybackEnd reason)
{
    if (reason == PlaybackEnd::Finished && m_run)
        m_run->soundEnded(m_services.clock.monotonicMs());
}

void RecognitionController::answered(const RecognitionAnswer& answer)
{
    m_services.player.stop(); // a key typed too soon cuts the sound short
    QString shown = answer.character.toUpper();
    if (!answer.ms)
        shown += u" — trop tôt"_s;
    else
        shown += (answer.right ? u" — "_s : u" — manqué, "_s) + Milliseconds(*answer.ms);
    m_window->shown->setText(shown);
    if (m_window->spokenAnswer->isEnabled() && m_window->spokenAnswer->isChecked()) {
        m_services.speech.say(SpokenCall(answer.character));
        m_pause->start();
        return;
    }
    nextCharacter();
}

void RecognitionController::finish()
{
    const QList<RecognitionAnswer> answers = m_run->answers();
    m_run.reset();
    m_next.reset();
    QList<RecognitionRecord> records;
    const QDateTime at = m_services.clock.now();
    for (const RecognitionAnswer& a : answers)
        records.append({at, a.character, a.ms, a.right});
    m_services.history.recordRecognitions(records);
    m_window->summary->setPlainText(Summary(answers));
    setRunning(false);
}

void RecognitionController::abandon()
{
    m_pause->stop();
    m_runAfterReflex = false;
    const bool running = m_run || m_reflex;
    m_reflex.reset();
    m_run.reset();
    m_next.reset();
    if (!m_window || !running)
        return;
    m_services.player.close();
    m_window->shown->clear();
    m_window->progress->clear();
    setRunning(false);
}
