#include "marking/MarkingWindow.h"

#include "marking/MarkingReport.h"

#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QShortcut>
#include <QTextBrowser>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

template <typename T> T* named(const char* name, QWidget* parent)
{
    auto* widget = new T(parent);
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QFont courier(int points)
{
    QFont font(u"Courier New"_s, points);
    font.setStyleHint(QFont::Monospace);
    return font;
}

// "Exercice préparé à 10 h 32 : 150 caractères à recevoir, à 12 mots par minute."
QString PreparedText(const PreparedShown& exercise)
{
    const QLocale french(QLocale::French);
    QString text = u"Exercice préparé"_s;
    if (exercise.at.isValid())
        text += u" à "_s + exercise.at.toString(u"H'\u00a0h\u00a0'mm"_s);
    text += u"\u202f: "_s + french.toString(exercise.characters) +
            (exercise.characters < 2 ? u" caractère à recevoir"_s : u" caractères à recevoir"_s);
    // The speed heard, to a tenth.
    if (exercise.wpm > 0)
        text += u", à "_s + french.toString(std::round(exercise.wpm * 10) / 10, 'g', QLocale::FloatingPointShortest) +
                u"\u00a0mots par minute"_s;
    return text + u'.';
}

} // namespace

void CopyEdit::insertFromMimeData(const QMimeData* source)
{
    if (source->hasText() && MarkedLength(toPlainText()) + MarkedLength(source->text()) > MaxMarkedCharacters) {
        emit pasteRefused(u"Ce texte n'est pas collé\u202F: la copie dépasserait "_s +
                          QLocale(QLocale::French).toString(MaxMarkedCharacters) +
                          u" caractères, trop pour être corrigée."_s);
        return;
    }
    QPlainTextEdit::insertFromMimeData(source);
}

MarkingWindow::MarkingWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(u"Correction"_s);
    setWindowTitle(u"Correction de la copie"_s);
    m_exercise = named<QLabel>("exercice", this);
    m_copy = named<CopyEdit>("copie", this);
    m_copy->setFont(courier(11));
    m_copy->setTabChangesFocus(true);
    m_copy->setPlaceholderText(u"Tapez ici ce que vous entendez, groupe par groupe."_s);

    // Play does not take the focus: the learner goes on typing while the exercise plays.
    m_play = named<QPushButton>("lecture", this);
    m_play->setText(u"&Lecture (F5)"_s);
    m_play->setFocusPolicy(Qt::NoFocus);
    m_clear = named<QPushButton>("effacer", this);
    m_clear->setText(u"&Effacer la copie"_s);
    m_pass = named<QDoubleSpinBox>("admis", this);
    m_pass->setLocale(QLocale(QLocale::French));
    m_pass->setRange(0, 100);
    m_pass->setDecimals(1);
    m_pass->setSingleStep(0.5);
    m_pass->setSuffix(u"\u202F%"_s);
    m_pass->setToolTip(u"Erreurs admises, en pourcentage des caractères envoyés (arrondi à l'erreur entière "
                       "inférieure)"_s);
    m_mark = named<QPushButton>("corriger", this);
    m_mark->setText(u"&Corriger"_s);
    m_mark->setDefault(true);

    m_summary = named<QLabel>("resultat", this);
    QFont bold = m_summary->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    m_summary->setFont(bold);
    m_summary->setWordWrap(true);
    m_passText = named<QLabel>("seuil", this);
    m_legend = named<QLabel>("legende", this);
    m_legend->setTextFormat(Qt::RichText);
    m_detail = named<QTextBrowser>("detail", this);
    m_detail->setFont(courier(11));
    m_confusions = named<QListWidget>("confusions", this);
    arrange();

    connect(m_mark, &QPushButton::clicked, this, &MarkingWindow::markRequested);
    auto* markKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Return), this);
    connect(markKey, &QShortcut::activated, m_mark, &QPushButton::click);
    auto* markKeypad = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Enter), this);
    connect(markKeypad, &QShortcut::activated, m_mark, &QPushButton::click);
    connect(m_play, &QPushButton::clicked, this, &MarkingWindow::playRequested);
    auto* playKey = new QShortcut(QKeySequence(Qt::Key_F5), this);
    connect(playKey, &QShortcut::activated, m_play, &QPushButton::click);
    connect(m_clear, &QPushButton::clicked, this, [this] {
        m_copy->clear();
        clearResult();
        m_copy->setFocus();
    });
    connect(m_pass, &QDoubleSpinBox::valueChanged, this,
            [this] { emit passMarkChanged(PassMark{int(std::lround(m_pass->value() * 100))}); });
    connect(m_copy, &CopyEdit::pasteRefused, this, &MarkingWindow::showRefusal);
    setPrepared(std::nullopt);
    setPlayer(Player::Closed);
    resize(720, 640);
}

void MarkingWindow::arrange()
{
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_play);
    buttons->addWidget(m_clear);
    buttons->addStretch();
    auto* passLabel = new QLabel(u"Erreurs &admises\u202F:"_s, this);
    passLabel->setBuddy(m_pass);
    buttons->addWidget(passLabel);
    buttons->addWidget(m_pass);
    buttons->addWidget(m_mark);

    auto* copyLabel = new QLabel(u"Votre &copie\u202F:"_s, this);
    copyLabel->setBuddy(m_copy);
    auto* confusionsLabel = new QLabel(u"Confusions, les plus fréquentes d'abord\u202F:"_s, this);
    // A list and a text view are not named by a label: a screen reader is told their names here.
    m_confusions->setAccessibleName(u"Confusions, les plus fréquentes d'abord"_s);
    m_detail->setAccessibleName(u"Copie corrigée, groupe par groupe"_s);
    // For an exercise made of pieces only.
    m_parts = named<QLabel>("parties", this);
    m_parts->setWordWrap(true);
    m_fields = named<QListWidget>("champs", this);
    m_fieldsLabel = new QLabel(u"Informations, les perdues d'abord\u202F:"_s, this);
    for (QWidget* piece :
         {static_cast<QWidget*>(m_parts), static_cast<QWidget*>(m_fieldsLabel), static_cast<QWidget*>(m_fields)})
        piece->hide();
    m_fields->setAccessibleName(u"Informations, les perdues d'abord"_s);
    m_notRecorded = named<QLabel>("nonEnregistree", this);
    m_notRecorded->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_exercise);
    layout->addWidget(copyLabel);
    layout->addWidget(m_copy, 1);
    layout->addLayout(buttons);
    layout->addWidget(m_summary);
    layout->addWidget(m_parts);
    layout->addWidget(m_notRecorded);
    layout->addWidget(m_passText);
    layout->addWidget(m_fieldsLabel);
    layout->addWidget(m_fields, 1);
    layout->addWidget(m_legend);
    layout->addWidget(m_detail, 3);
    layout->addWidget(confusionsLabel);
    layout->addWidget(m_confusions, 1);
}

QString MarkingWindow::copy() const
{
    return m_copy->toPlainText();
}

PassMark MarkingWindow::passMark() const
{
    return PassMark{int(std::lround(m_pass->value() * 100))};
}

void MarkingWindow::setPassMark(PassMark pass)
{
    const QSignalBlocker blocker(m_pass);
    m_pass->setValue(pass.hundredths / 100.0);
}

void MarkingWindow::setPrepared(const std::optional<PreparedShown>& exercise)
{
    m_mark->setEnabled(exercise.has_value());
    if (!exercise) {
        const QString why =
            u"Aucun exercice préparé\u202F: cliquez d'abord sur «\u202FPréparer La Musique\u202F» dans la fenêtre "
            "de Tonique."_s;
        m_mark->setToolTip(why);
        m_exercise->setText(why);
        return;
    }
    m_mark->setToolTip(u"Corrige la copie d'après l'exercice préparé (Ctrl+Entrée)"_s);
    m_exercise->setText(PreparedText(*exercise));
}

void MarkingWindow::startExercise(const PreparedShown& exercise)
{
    const bool hadCopy = !m_copy->toPlainText().isEmpty() || !m_summary->text().isEmpty();
    m_copy->clear();
    clearResult();
    setPrepared(exercise);
    if (hadCopy)
        m_summary->setText(u"Nouvel exercice\u202F: la copie et la correction du précédent sont effacées."_s);
}

void MarkingWindow::setPlayer(Player player)
{
    m_play->setEnabled(player == Player::Exercise || player == Player::Playing);
    switch (player) {
    case Player::Closed:
        m_play->setToolTip(
            u"Rien à jouer\u00a0: préparez d'abord l'exercice avec «\u00a0Préparer La Musique\u00a0» dans "
            "la fenêtre de Tonique."_s);
        break;
    case Player::OtherSound:
        m_play->setToolTip(u"Le lecteur tient le son d'un caractère isolé (exercice clavier ou frappe), pas celui "
                           "de l'exercice corrigé\u00a0: préparez un exercice pour l'entendre."_s);
        break;
    case Player::Playing:
        m_play->setToolTip(u"Arrête la lecture (F5)\u00a0; la saisie reste dans la copie"_s);
        break;
    case Player::Exercise:
        m_play->setToolTip(u"Joue l'exercice préparé (F5)\u00a0; la saisie reste dans la copie"_s);
        break;
    }
}

MarkColours MarkingWindow::colours() const
{
    // Readable on the light and on the dark palettes.
    if (palette().color(QPalette::Base).lightness() < 128)
        return {u"#ff8a80"_s, u"#ffcc80"_s, u"#82b1ff"_s};
    return {u"#c62828"_s, u"#e65100"_s, u"#1565c0"_s};
}

void MarkingWindow::clearResult()
{
    m_summary->clear();
    m_notRecorded->clear();
    m_passText->clear();
    m_legend->clear();
    m_detail->clear();
    m_confusions->clear();
    m_parts->clear();
    m_parts->hide();
    m_fields->clear();
    m_fields->hide();
    m_fieldsLabel->hide();
}

void MarkingWindow::showMarked(const MarkedCopy& marked)
{
    clearResult();
    m_summary->setText(SummaryText(marked));
    if (marked.verdict == Verdict::Nothing)
        return;
    m_passText->setText(PassMarkText(marked));
    if (!marked.detailed) {
        m_detail->setPlainText(u"La copie est trop éloignée de l'exercice pour être montrée groupe par groupe."_s);
        return;
    }
    m_legend->setText(LegendHtml(colours()));
    m_detail->setHtml(MarkedGroupsHtml(marked, colours()));
    for (const Confusion& confusion : marked.confusions)
        m_confusions->addItem(ConfusionText(confusion));
    showPieces(marked);
}

void MarkingWindow::showPieces(const MarkedCopy& marked)
{
    QStringList parts;
    for (const MarkedPart& part : marked.parts)
        parts << PartText(part);
    m_parts->setText(parts.join(u'\n'));
    m_parts->setVisible(!parts.isEmpty());
    // A contact names each station a dozen times: what was lost comes first, then what was copied right, each in
    // the order of the text.
    QList<MarkedField> fields = marked.fields;
    std::stable_partition(fields.begin(), fields.end(), [](const MarkedField& field) { return !field.right; });
    for (const MarkedField& field : fields) {
        auto* item = new QListWidgetItem(FieldText(field), m_fields);
        if (!field.right)
            item->setForeground(QColor(colours().wrong));
    }
    m_fields->setVisible(!marked.fields.isEmpty());
    m_fieldsLabel->setVisible(!marked.fields.isEmpty());
}

QWidget* MarkingWindow::resultView() const
{
    return m_summary;
}

void MarkingWindow::showNotRecorded(const QString& why)
{
    m_notRecorded->setText(u"Cette copie n'est pas enregistrée dans l'historique\u202f: "_s + why);
}

void MarkingWindow::showRefusal(const QString& message)
{
    clearResult();
    m_summary->setText(message);
}
