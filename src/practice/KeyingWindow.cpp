#include "practice/KeyingWindow.h"

#include "common/Named.h"
#include "practice/ElementsView.h"
#include "practice/HistogramsView.h"

#include <QApplication>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

// The place of the serial port in the choice of inputs.
constexpr int SerialPortInput = 1;

QComboBox* choice(const QString& name, const QStringList& items)
{
    auto* box = Named(new QComboBox, name);
    box->addItems(items);
    return box;
}

// The bins from the first to the last that holds a length drawn; an empty range when none does.
std::pair<int, int> UsedBins(const TimingReport& report)
{
    int first = LengthHistogram::Bins, last = -1;
    for (const auto& [measure, name] : HistogramsView::Drawn) {
        const auto& counts = report.histograms[measure].counts;
        for (int bin = 0; bin < LengthHistogram::Bins; ++bin) {
            if (counts[size_t(bin)] > 0) {
                first = std::min(first, bin);
                last = std::max(last, bin);
            }
        }
    }
    return {first, last};
}

// Stands in for the histograms when they cannot be drawn, and says why.
class NoHistograms : public HistogramsView
{
public:
    explicit NoHistograms(const QString& why)
    {
        auto* label =
            Named(new QLabel(u"Les histogrammes ne peuvent être dessinés\u202F: "_s + why), u"sansHistogrammes"_s);
        label->setWordWrap(true);
        (new QVBoxLayout(this))->addWidget(label);
    }
    void draw(const TimingReport&, int, int) override {}
};

HistogramsView* MadeHistograms(const MakeHistograms& make)
{
    const Result<HistogramsView*> made =
        make ? make() : Result<HistogramsView*>(Fail(u"aucun module de graphiques."_s));
    return made ? *made : new NoHistograms(made.failure());
}

} // namespace

KeyingWindow::KeyingWindow(QWidget* owner, const MakeHistograms& makeHistograms)
    : QWidget(owner, Qt::Window),
      m_mode(choice(u"mode"_s, {u"Pioche droite (Espace)"_s, u"Manipulateur iambique A (Ctrl, [ ])"_s,
                                u"Manipulateur iambique B (Ctrl, [ ])"_s})),
      m_input(choice(u"entree"_s,
                     {u"Clavier seulement"_s, u"Port série (CTS, DSR)"_s, u"MIDI"_s, u"Microphone ou entrée ligne"_s})),
      m_debounce(Named(new QSpinBox, u"antirebond"_s)),
      m_exercise(choice(u"exercice"_s, {u"Libre"_s, u"Envoyer l'exercice"_s, u"Écho"_s})),
      m_echoPlays(choice(u"jeuEcho"_s, {u"Caractère"_s, u"Groupe"_s, u"Indicatif"_s})),
      m_echoSeconds(Named(new QSpinBox, u"delaiEcho"_s)), m_exerciseText(Named(new QLabel, u"texteAEnvoyer"_s)),
      m_decoded(Named(new QPlainTextEdit, u"decode"_s)), m_speed(Named(new QLabel, u"vitesse"_s)),
      m_message(Named(new QLabel, u"message"_s)), m_elements(Named(new ElementsView, u"elements"_s)),
      m_result(Named(new QLabel, u"resultat"_s)), m_histograms(MadeHistograms(makeHistograms)),
      m_timer(new QTimer(this))
{
    setObjectName(u"Manipulation"_s);
    setWindowTitle(u"Manipulation"_s);
    m_timer->setInterval(10);
    m_echoSeconds->setRange(1, 30);
    m_debounce->setRange(3, 50);
    m_debounce->setSuffix(u"\u00a0ms"_s);
    m_debounce->setToolTip(u"Le temps pendant lequel un contact qui rebondit n'est pas relu"_s);
    m_echoSeconds->setSuffix(u"\u00a0s"_s);
    m_exerciseText->setWordWrap(true);
    m_exerciseText->hide();
    m_decoded->setReadOnly(true);
    m_decoded->setFocusPolicy(Qt::NoFocus);
    m_message->setWordWrap(true);
    m_message->setStyleSheet(u"color: #c00000; font-weight: bold"_s);
    m_result->setWordWrap(true);
    m_result->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_histograms->hide();
    auto* termine = Named(new QPushButton(u"Terminé"_s), u"termine"_s);
    auto* effacer = Named(new QPushButton(u"Effacer"_s), u"effacer"_s);
    auto* form = m_form = new QFormLayout;
    form->addRow(u"Manipulateur\u00a0:"_s, m_mode);
    form->addRow(u"Entrée\u00a0:"_s, m_input);
    form->addRow(u"Anti-rebond\u00a0:"_s, m_debounce);
    form->setRowVisible(m_debounce, false);
    form->addRow(u"Exercice\u00a0:"_s, m_exercise);
    form->addRow(u"Écho joue\u00a0:"_s, m_echoPlays);
    form->addRow(u"Temps pour répondre\u00a0:"_s, m_echoSeconds);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_speed, 1);
    buttons->addWidget(effacer);
    buttons->addWidget(termine);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_exerciseText);
    layout->addWidget(m_decoded, 1);
    layout->addWidget(m_message);
    layout->addWidget(m_elements);
    layout->addLayout(buttons);
    layout->addWidget(m_result);
    layout->addWidget(m_histograms, 1);
    resize(560, 380);
    connect(m_mode, &QComboBox::currentIndexChanged, this, &KeyingWindow::modeChosen);
    connect(m_input, &QComboBox::currentIndexChanged, this, [this](int input) {
        m_form->setRowVisible(m_debounce, input == SerialPortInput);
        emit inputChosen(input);
    });
    connect(m_debounce, &QSpinBox::valueChanged, this, &KeyingWindow::debounceChosen);
    connect(m_exercise, &QComboBox::currentIndexChanged, this, &KeyingWindow::exerciseChosen);
    connect(m_echoPlays, &QComboBox::currentIndexChanged, this, &KeyingWindow::echoPlaysChosen);
    connect(m_echoSeconds, &QSpinBox::valueChanged, this, &KeyingWindow::echoSecondsChosen);
    connect(termine, &QPushButton::clicked, this, &KeyingWindow::termineClicked);
    connect(effacer, &QPushButton::clicked, this, &KeyingWindow::effacerClicked);
    qApp->installEventFilter(this);
}

KeyingWindow::~KeyingWindow() = default;

void KeyingWindow::setMode(int mode)
{
    const QSignalBlocker quiet(m_mode);
    m_mode->setCurrentIndex(mode);
}

void KeyingWindow::setInput(int input)
{
    const QSignalBlocker quiet(m_input);
    m_input->setCurrentIndex(input);
    m_form->setRowVisible(m_debounce, input == SerialPortInput);
}

void KeyingWindow::setDebounce(int ms)
{
    const QSignalBlocker quiet(m_debounce);
    m_debounce->setValue(ms);
}

void KeyingWindow::setEcho(int plays, int seconds)
{
    const QSignalBlocker quietPlays(m_echoPlays);
    const QSignalBlocker quietSeconds(m_echoSeconds);
    m_echoPlays->setCurrentIndex(plays);
    m_echoSeconds->setValue(seconds);
}

void KeyingWindow::showExercise(const QString& text)
{
    m_exerciseText->setText(u"À envoyer\u00a0: "_s + text);
    m_exerciseText->setVisible(!text.isEmpty());
}

void KeyingWindow::showRun(const QString& text, double wordsPerMinute, const std::vector<DecodedSign>& signs,
                           const QString& message)
{
    if (m_decoded->toPlainText() != text)
        m_decoded->setPlainText(text);
    m_speed->setText(wordsPerMinute > 0 ? u"Vitesse\u00a0: "_s + QString::number(std::lround(wordsPerMinute)) +
                                              u"\u00a0mots par minute"_s
                                        : QString());
    m_message->setText(message);
    m_elements->setSigns(signs);
}

void KeyingWindow::showResult(const QString& text)
{
    m_result->setText(text);
}

void KeyingWindow::showHistograms(const TimingReport& report)
{
    const auto [first, last] = UsedBins(report);
    if (last < first) {
        m_histograms->hide();
        return;
    }
    m_histograms->draw(report, first, last);
    if (m_histograms->isHidden()) {
        m_histograms->show();
        resize(width(), std::max(height(), 620));
    }
}

bool KeyingWindow::eventFilter(QObject* receiver, QEvent* event)
{
    // Keys held while the window loses the focus are let go: their release goes elsewhere.
    if (receiver == this && event->type() == QEvent::WindowDeactivate)
        releaseHeldKeys();
    const bool press = event->type() == QEvent::KeyPress;
    if (!press && event->type() != QEvent::KeyRelease)
        return false;
    auto* widget = qobject_cast<QWidget*>(receiver);
    if (!widget || widget->window() != this)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const auto input = KeyInputOf(*key);
    if (!input)
        return false;
    // A key held down repeats on its own: only the first press and the last release count.
    if (!key->isAutoRepeat() && (press ? m_held.insert(*input).second : m_held.erase(*input) > 0))
        emit keyed(*input, press);
    return true;
}

void KeyingWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    m_timer->start();
}

void KeyingWindow::hideEvent(QHideEvent* event)
{
    releaseHeldKeys();
    m_timer->stop();
    emit hidden();
    QWidget::hideEvent(event);
}

void KeyingWindow::releaseHeldKeys()
{
    for (const KeyInput input : std::exchange(m_held, {}))
        emit keyed(input, false);
}
