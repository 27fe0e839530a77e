#include "practice/KeyingController.h"

#include "marking/CopyMarking.h"
#include "marking/History.h"
#include "marking/MarkingReport.h"
#include "platform/Clock.h"
#include "platform/SettingsStore.h"
#include "platform/Sidetone.h"
#include "practice/KeyingWindow.h"

#include <QTimer>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

// The window is drawn again at most 30 times a second.
constexpr qint64 RefreshMs = 34;

// A silence longer than two word gaps is a pause.
constexpr double PauseDots = 14;

const QString ModeKey = u"mode"_s;
// The seconds allowed to send each character back in "Écho", from the end of the playing or the character before.
const QString EchoTimeKey = u"delaiEcho"_s;
// What "Écho" plays.
const QString EchoPlaysKey = u"jeuEcho"_s;
// The input beside the keyboard.
const QString InputKey = u"entree"_s;
// The debounce of a key on the serial port, in ms.
const QString DebounceKey = u"antirebond"_s;
constexpr int DefaultDebounceMs = 10;
// How far behind now the keyer and the decoder are brought while an input stamps its own edges: more than an edge
// waits in the queue to the window's thread.
constexpr KeyTime SourceLagUs = 50'000;
// The pause before the next character of "Écho".
constexpr KeyTime EchoPauseUs = MicrosecondsPerSecond;

// A choice of the window and the name it is kept under; the first is the default, for a name not found too.
template <typename Choice> struct KeptName
{
    Choice choice;
    const char16_t* name;
};

constexpr KeptName<KeyingMode> ModeNames[] = {
    {KeyingMode::StraightKey, u"droite"}, {KeyingMode::IambicA, u"iambiqueA"}, {KeyingMode::IambicB, u"iambiqueB"}};
constexpr KeptName<KeyingInput> InputNames[] = {{KeyingInput::Keyboard, u"clavier"},
                                                {KeyingInput::SerialPort, u"serie"},
                                                {KeyingInput::Midi, u"midi"},
                                                {KeyingInput::Microphone, u"micro"}};
constexpr KeptName<EchoPlays> EchoPlaysNames[] = {
    {EchoPlays::Character, u"caractere"}, {EchoPlays::Group, u"groupe"}, {EchoPlays::CallSign, u"indicatif"}};

template <typename Choice, std::size_t Count> QString NameOf(const KeptName<Choice> (&names)[Count], Choice choice)
{
    for (const KeptName<Choice>& kept : names) {
        if (kept.choice == choice)
            return QString::fromUtf16(kept.name);
    }
    return QString::fromUtf16(names[0].name);
}

template <typename Choice, std::size_t Count>
Choice ChoiceNamed(const KeptName<Choice> (&names)[Count], const QString& name)
{
    for (const KeptName<Choice>& kept : names) {
        if (name == QStringView(kept.name))
            return kept.choice;
    }
    return names[0].choice;
}

// The seconds kept, 1 to 30; 5 when none or not a number.
int EchoSecondsOf(const QString& kept)
{
    bool number = false;
    const int seconds = kept.toInt(&number);
    return number ? std::clamp(seconds, 1, 30) : 5;
}

int KeyedElements(const TimingReport& report)
{
    return report.counts[TimingReport::Dots] + report.counts[TimingReport::Dashes];
}

QString Decimal(double value)
{
    return QString::number(value, 'f', 1).replace(u'.', u',');
}

} // namespace

bool ElementIsOff(const MeasuredElement& element, double dotUs)
{
    const double ideal = (element.kind == ElementKind::Dot ? 1 : 3) * dotUs;
    return ideal > 0 && std::abs(double(element.downUs) / ideal - 1) > 0.2;
}

KeyingController::KeyingController(Services services, QWidget* owner)
    : m_services(std::move(services)), m_owner(owner),
      m_mode(ChoiceNamed(ModeNames, m_services.settings ? m_services.settings->read(ModeKey, QString()) : QString())),
      m_input(
          ChoiceNamed(InputNames, m_services.settings ? m_services.settings->read(InputKey, QString()) : QString())),
      m_echoPlays(ChoiceNamed(EchoPlaysNames,
                              m_services.settings ? m_services.settings->read(EchoPlaysKey, QString()) : QString())),
      m_echoSeconds(EchoSecondsOf(m_services.settings ? m_services.settings->read(EchoTimeKey, QString()) : QString()))
{}

KeyingController::~KeyingController()
{
    stopInput();
    delete m_window;
}

void KeyingController::manipulation()
{
    if (!m_window) {
        // The sign table is read at start-up, after the window's subsystems are made.
        m_worker = std::make_unique<KeyingWorker>(m_services.signs, m_services.decoding);
        connect(m_worker.get(), &KeyingWorker::keyed, this, &KeyingController::keyed,
                m_services.decoding == KeyingThreading::OwnThread ? Qt::QueuedConnection : Qt::DirectConnection);
        m_window = new KeyingWindow(m_owner, m_services.histograms);
        m_window->setMode(int(m_mode));
        m_window->setInput(int(m_input));
        const QString debounce = m_services.settings ? m_services.settings->read(DebounceKey, QString()) : QString();
        m_window->setDebounce(debounce.isEmpty() ? DefaultDebounceMs : debounce.toInt());
        m_window->setEcho(int(m_echoPlays), m_echoSeconds);
        connect(m_window, &KeyingWindow::keyed, this, &KeyingController::key);
        connect(m_window, &KeyingWindow::modeChosen, this, [this](int mode) { setMode(KeyingMode(mode)); });
        connect(m_window, &KeyingWindow::inputChosen, this, [this](int input) { setInput(KeyingInput(input)); });
        connect(m_window, &KeyingWindow::debounceChosen, this, &KeyingController::setDebounce);
        connect(m_window, &KeyingWindow::exerciseChosen, this,
                [this](int exercise) { setExercise(SendingExercise(exercise)); });
        connect(m_window, &KeyingWindow::echoPlaysChosen, this, [this](int plays) { setEchoPlays(EchoPlays(plays)); });
        connect(m_window, &KeyingWindow::echoSecondsChosen, this, &KeyingController::setEchoSeconds);
        connect(m_window, &KeyingWindow::termineClicked, this, &KeyingController::termine);
        connect(m_window, &KeyingWindow::effacerClicked, this, &KeyingController::effacer);
        connect(m_window->timer(), &QTimer::timeout, this, &KeyingController::tick);
        connect(m_window, &KeyingWindow::hidden, this, [this] {
            endEchoRun();
            stopInput();
            if (m_services.sidetone)
                m_services.sidetone->release();
        });
    }
    startKeyer();
    setTone();
    if (!m_source)
        startInput();
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
    refresh();
}

KeyTime KeyingController::now() const
{
    return m_services.clock.monotonicMs() * 1000;
}

void KeyingController::startKeyer()
{
    if (!m_worker)
        return;
    if (m_mode == KeyingMode::StraightKey) {
        m_worker->setKeyer(std::nullopt);
        return;
    }
    const double dotMs = m_services.dotMs ? m_services.dotMs() : 0;
    // No usable speed: the keyer sends at 12 words per minute.
    const auto dotUs = KeyTime(std::llround(dotMs > 0 ? dotMs * 1000 : DotMicroseconds(12)));
    m_worker->setKeyer(IambicKeyer(m_mode == KeyingMode::IambicA ? IambicKeyer::Mode::A : IambicKeyer::Mode::B, dotUs));
}

KeyTime KeyingController::decodedUntil() const
{
    return m_source ? now() - SourceLagUs : now();
}

void KeyingController::startInput()
{
    stopInput();
    m_inputMessage.clear();
    m_changed = true;
    if (m_input == KeyingInput::Keyboard)
        return;
    m_source = m_services.openInput ? m_services.openInput(m_input) : nullptr;
    QString failure = u"Cette entrée n'est pas disponible sur ce système\u202F; le clavier reste utilisable."_s;
    if (m_source && !m_source->start(failure))
        m_source.reset();
    if (!m_source) {
        m_inputMessage = failure;
        m_changed = true;
        return;
    }
    connect(m_source.get(), &KeyingSource::edge, this, &KeyingController::sourceEdge);
    connect(m_source.get(), &KeyingSource::failed, this, [this](const QString& message) {
        m_inputMessage = message;
        m_changed = true;
        // The source is in its own signal: it goes once the signal has returned.
        m_source.release()->deleteLater();
    });
}

void KeyingController::stopInput()
{
    if (m_source) {
        m_source->stop();
        m_source.reset();
    }
}

void KeyingController::setInput(KeyingInput input)
{
    if (input != m_input) {
        m_input = input;
        if (m_services.settings)
            m_services.settings->write(InputKey, NameOf(InputNames, input));
        // What the decoder said of the input left (a key held down) is not said of the new one.
        m_message.clear();
    }
    if (m_window) {
        m_window->setInput(int(input));
        if (m_window->isVisible())
            startInput();
    }
}

void KeyingController::setDebounce(int ms)
{
    if (m_services.settings)
        m_services.settings->write(DebounceKey, QString::number(ms));
    if (m_input == KeyingInput::SerialPort && m_window && m_window->isVisible())
        startInput();
}

void KeyingController::key(KeyInput input, bool down)
{
    lever(input, down, now());
}

void KeyingController::sourceEdge(KeyInput input, bool down, KeyTime time)
{
    // A straight key on a paddle's line (CTS) keys as one; the dash line alone means nothing to a straight key.
    if (m_mode == KeyingMode::StraightKey && input != KeyInput::DashLever)
        input = KeyInput::Straight;
    lever(input, down, time);
}

void KeyingController::lever(KeyInput input, bool down, KeyTime time)
{
    // Keying again after a run was kept at "Terminé" starts the next run, as "Effacer" would: what it keys is kept
    // at the next "Terminé", never added to the run already kept.
    if (down && m_recorded)
        effacer();
    if (down)
        m_message.clear();
    // A straight key is heard at once; a paddle's levers go through the keyer, which keys the sidetone through
    // keyed() as it sends.
    if (m_mode == KeyingMode::StraightKey) {
        if (input != KeyInput::Straight)
            return;
        keyed(down);
    }
    m_worker->edge(input, down, time);
}

void KeyingController::tick()
{
    m_worker->advanceTo(decodedUntil());
    takeDecoded();
    if (m_echo)
        echoTick(now());
    if (m_changed && m_services.clock.monotonicMs() - m_drawnMs >= RefreshMs)
        refresh();
}

void KeyingController::setTone()
{
    if (m_services.sidetone && m_services.tone) {
        const SidetoneTone tone = m_services.tone();
        m_services.sidetone->setTone(tone.hz, tone.volume);
    }
}

void KeyingController::keyed(bool down)
{
    if (m_services.sidetone && (!m_source || m_source->wantsSidetone())) {
        if (down)
            setTone();
        m_services.sidetone->key(down);
    }
}

void KeyingController::catchUp(KeyTime time)
{
    if (m_worker) {
        m_worker->advanceTo(time);
        m_worker->pump();
        takeDecoded();
    }
}

void KeyingController::takeDecoded()
{
    KeyingWorker::Decoded decoded = m_worker->take();
    m_changed = m_changed || decoded.wordsPerMinute != m_wordsPerMinute;
    m_wordsPerMinute = decoded.wordsPerMinute;
    const KeyTime time = decoded.until;
    for (DecodedSign& sign : decoded.signs) {
        // A learner who stops to think makes no word gap: the silence is left out of the timing.
        if (!sign.elements.empty() && double(sign.elements.front().gapBeforeUs) > PauseDots * sign.dotUs)
            sign.elements.front().gapBeforeUs = -1;
        if (sign.kind == DecodedSign::Kind::Message)
            m_message = sign.text;
        else if (sign.kind == DecodedSign::Kind::Character || !m_signs.empty())
            m_signs.push_back(std::move(sign));
        if (m_echo && !m_signs.empty() && m_signs.back().kind == DecodedSign::Kind::Character) {
            if (const auto verdict = m_echo->answer(m_signs.back().text, time))
                showEcho(*verdict, time);
        }
        m_changed = true;
    }
}

void KeyingController::refresh()
{
    if (!m_window)
        return;
    QString message = m_message;
    if (!m_inputMessage.isEmpty())
        message += (message.isEmpty() ? QString() : u"\n"_s) + m_inputMessage;
    m_window->showRun(TextOf(m_signs), m_wordsPerMinute, m_signs, message);
    m_drawnMs = m_services.clock.monotonicMs();
    m_changed = false;
}

void KeyingController::setMode(KeyingMode mode)
{
    if (mode != m_mode) {
        m_mode = mode;
        if (m_services.settings)
            m_services.settings->write(ModeKey, NameOf(ModeNames, mode));
    }
    if (m_window)
        m_window->setMode(int(mode));
    startKeyer();
}

void KeyingController::setExercise(SendingExercise exercise)
{
    endEchoRun();
    m_exercise = exercise;
    m_echo.reset();
    if (exercise == SendingExercise::Echo) {
        m_echo.emplace(m_echoSeconds * MicrosecondsPerSecond);
        m_nextEchoAt = now() + EchoPauseUs;
    }
    if (m_window) {
        const bool sent = exercise == SendingExercise::SendExercise;
        m_window->showExercise(sent && m_services.exerciseText ? m_services.exerciseText().simplified() : QString());
    }
    effacer();
}

void KeyingController::setEchoPlays(EchoPlays plays)
{
    m_echoPlays = plays;
    if (m_services.settings)
        m_services.settings->write(EchoPlaysKey, NameOf(EchoPlaysNames, plays));
}

void KeyingController::setEchoSeconds(int seconds)
{
    m_echoSeconds = EchoSecondsOf(QString::number(seconds));
    if (m_services.settings)
        m_services.settings->write(EchoTimeKey, QString::number(m_echoSeconds));
    if (m_echo)
        m_echo->setAnswerTime(m_echoSeconds * MicrosecondsPerSecond);
}

void KeyingController::echoTick(KeyTime now)
{
    if (m_nextEchoAt >= 0 && now >= m_nextEchoAt)
        nextEcho(now);
    for (const KeyEdge& edge : m_echo->playedUntil(now)) {
        if (m_services.sidetone)
            m_services.sidetone->key(edge.down);
    }
    if (const auto verdict = m_echo->timeOut(now))
        showEcho(*verdict, now);
}

void KeyingController::nextEcho(KeyTime now)
{
    m_nextEchoAt = -1;
    const QString text = m_services.echoText ? m_services.echoText(m_echoPlays).toLower() : QString();
    QStringList characters;
    QStringList patterns;
    bool known = !text.isEmpty();
    for (const QChar character : text) {
        const auto pattern = m_services.signs.patternOf(QString(character));
        known = known && pattern && !pattern->isEmpty();
        if (!known)
            break;
        characters.append(QString(character));
        patterns.append(*pattern);
    }
    if (!known) {
        m_window->showResult(u"Aucun caractère à jouer : la liste des caractères est vide ou inconnue."_s);
        return;
    }
    const double dotMs = m_services.dotMs ? m_services.dotMs() : 0;
    setTone();
    if (!m_services.sidetone || !m_services.sidetone->heard()) {
        m_window->showResult(u"Aucune sortie son\u202F: les caractères de l'Écho ne s'entendent pas, et rien n'en est "
                             u"enregistré. Branchez une sortie son (casque, haut-parleurs), puis choisissez de "
                             u"nouveau «\u202FÉcho\u202F»."_s);
        return;
    }
    m_echo->start(characters, patterns, dotMs > 0 ? dotMs * 1000 : DotMicroseconds(12), now);
}

void KeyingController::showEcho(const QString& verdict, KeyTime now)
{
    if (m_window)
        m_window->showResult(verdict + u" — "_s + m_echo->score());
    m_nextEchoAt = now + EchoPauseUs;
}

void KeyingController::effacer()
{
    endEchoRun();
    m_recorded = false;
    if (m_worker)
        m_worker->reset();
    m_wordsPerMinute = 0;
    startKeyer();
    m_signs.clear();
    m_message.clear();
    if (m_window) {
        m_window->showResult(QString());
        m_window->showHistograms(TimingReport{});
    }
    refresh();
}

void KeyingController::termine()
{
    catchUp(now());
    refresh();
    const QString marking = m_exercise == SendingExercise::SendExercise ? markingText() + u'\n' : QString();
    const TimingReport report = AnalyseTiming(m_signs);
    recordRun(report);
    // Without a history (another Tonique holds it, or it was lost, also at this very run) the window says so.
    QString note;
    if (m_services.runs && !m_services.runs->available() && KeyedElements(report) > 0)
        note = u"\nCet envoi n'est pas enregistré dans l'historique\u202F: "_s + m_services.runs->unavailableReason();
    if (m_window) {
        m_window->showResult(marking + timingText() + note);
        m_window->showHistograms(report);
    }
}

void KeyingController::endEchoRun()
{
    if (m_exercise != SendingExercise::Echo || !m_echo)
        return;
    catchUp(decodedUntil());
    recordRun(AnalyseTiming(m_signs));
}

void KeyingController::recordRun(const TimingReport& report)
{
    if (!m_services.runs || KeyedElements(report) == 0)
        return;
    SendingRunRecord run;
    if (!markRun(run))
        return;
    std::stable_sort(run.missent.begin(), run.missent.end(),
                     [](const MissentCharacter& a, const MissentCharacter& b) { return a.count > b.count; });
    run.at = m_services.clock.now();
    run.wpm = std::round(m_wordsPerMinute * 10) / 10;
    run.dashDotRatio = report.dashDotRatio;
    run.elementGapRatio = report.elementGapRatio;
    run.letterGapRatio = report.letterGapRatio;
    run.wordGapRatio = report.wordGapRatio;
    run.weightPercent = report.weightPercent;
    for (int m = 0; m < TimingReport::MeasureCount; ++m)
        run.spreads[size_t(m)] = report.spread[size_t(m)];
    m_services.runs->recordSendingRun(run);
}

bool KeyingController::markRun(SendingRunRecord& run)
{
    switch (m_exercise) {
    case SendingExercise::Free:
        run.kind = SendingKind::Free;
        run.characters = int(std::count_if(m_signs.begin(), m_signs.end(), [](const DecodedSign& sign) {
            return sign.kind == DecodedSign::Kind::Character;
        }));
        return !std::exchange(m_recorded, true);
    case SendingExercise::SendExercise: {
        run.kind = SendingKind::Exercise;
        const QString sent = m_services.exerciseText ? m_services.exerciseText() : QString();
        const auto marked = MarkCopy(sent, TextOf(m_signs), m_services.passMark ? m_services.passMark() : PassMark{});
        if (!marked || m_recorded)
            return false;
        run.characters = int(marked->characters);
        run.errors = int(marked->errors);
        for (const CharacterTally& tally : marked->tallies) {
            if (tally.wrong > 0)
                run.missent.append({tally.character, tally.wrong});
        }
        m_recorded = true;
        return true;
    }
    case SendingExercise::Echo:
        break;
    }
    run.kind = SendingKind::Echo;
    const EchoDrill::Tally tally = m_echo ? m_echo->tally() : EchoDrill::Tally{};
    if (tally.characters == 0)
        return false;
    m_echo->clearTally();
    run.characters = tally.characters;
    run.errors = tally.errors;
    for (const QString& character : tally.missent) {
        auto found = std::find_if(run.missent.begin(), run.missent.end(),
                                  [&](const MissentCharacter& m) { return m.character == character; });
        if (found == run.missent.end())
            run.missent.append({character, 1});
        else
            ++found->count;
    }
    return true;
}

QString KeyingController::markingText() const
{
    const QString sent = m_services.exerciseText ? m_services.exerciseText() : QString();
    const auto marked = MarkCopy(sent, TextOf(m_signs), m_services.passMark ? m_services.passMark() : PassMark{});
    return marked ? SummaryText(*marked) : marked.failure();
}

QString KeyingController::timingText() const
{
    const TimingReport report = AnalyseTiming(m_signs);
    if (KeyedElements(report) == 0)
        return u"Rien n'a été manipulé."_s;
    const QString weight = report.weightPercent > 0 ? Decimal(report.weightPercent) + u"\u202F%"_s : MeasuredText(0);
    return u"Trait/point\u202F: "_s + MeasuredText(report.dashDotRatio) + u", espace entre éléments\u202F: "_s +
           MeasuredText(report.elementGapRatio) + u", entre lettres\u202F: "_s + MeasuredText(report.letterGapRatio) +
           u", entre mots\u202F: "_s + MeasuredText(report.wordGapRatio) + u", poids\u202F: "_s + weight + u'\n' +
           TimingAdvice(report);
}
