#include "marking/ProgressWindow.h"

#include "marking/MarkingReport.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDateTimeAxis>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

double accuracyPercent(const CopyRecord& copy)
{
    return copy.characters > 0 ? std::max(0.0, 100.0 * (1.0 - double(copy.errors) / copy.characters)) : 0.0;
}

// A time axis over the copies' dates, a day wide at least, under `series`.
void addTimeAxis(QChart* chart, const QList<CopyRecord>& copies, const QList<QAbstractSeries*>& series)
{
    auto* axis = new QDateTimeAxis;
    axis->setFormat(u"dd/MM"_s);
    axis->setTitleText(u"Date"_s);
    if (!copies.isEmpty()) {
        const QDateTime first = copies.first().at, last = copies.last().at;
        axis->setRange(first.addSecs(-3600), std::max(last, first.addDays(1)).addSecs(3600));
        // Within two days the hours tell the copies apart.
        if (first.daysTo(last) < 2)
            axis->setFormat(u"dd/MM HH:mm"_s);
    }
    axis->setTickCount(4);
    chart->addAxis(axis, Qt::AlignBottom);
    for (QAbstractSeries* s : series)
        s->attachAxis(axis);
}

QValueAxis* valueAxis(QChart* chart, const QString& title, double low, double high)
{
    auto* axis = new QValueAxis;
    axis->setTitleText(title);
    axis->setRange(low, high);
    axis->applyNiceNumbers();
    axis->setLabelFormat(u"%.0f"_s);
    chart->addAxis(axis, Qt::AlignLeft);
    return axis;
}

// Bars of `values` over `labels`, the first at the left; the value axis stops at `ceiling` (a percentage never
// goes beyond 100). With nothing to draw, the axis says so.
void drawBars(QChart* chart, const QString& name, const QStringList& labels, const QList<qreal>& values,
              const QString& valueTitle, qreal ceiling = 0)
{
    auto* set = new QBarSet(name);
    set->append(values);
    auto* series = new QBarSeries;
    series->append(set);
    chart->addSeries(series);
    auto* categories = new QBarCategoryAxis;
    categories->append(labels.isEmpty() ? QStringList{u"(rien sur cette période)"_s} : labels);
    chart->addAxis(categories, Qt::AlignBottom);
    series->attachAxis(categories);
    const qreal highest = values.isEmpty() ? 1 : *std::max_element(values.begin(), values.end());
    qreal top = std::max<qreal>(highest * 1.1, 10);
    if (ceiling > 0)
        top = std::min(top, ceiling);
    series->attachAxis(valueAxis(chart, valueTitle, 0, top));
}

// Green for a sure character (a need of 0.05 or less) through yellow to red (0.5, as uncertain as a character never
// heard, or more); grey when the history says nothing of it.
QColor strengthColour(const CharacterNeed& need)
{
    if (!need.known())
        return QColor(0xd0, 0xd0, 0xd0);
    constexpr double Sure = 0.05, Weak = 0.5;
    const double weakness = std::clamp((need.need() - Sure) / (Weak - Sure), 0.0, 1.0);
    return QColor::fromHsvF(float(120.0 / 360.0 * (1 - weakness)), 0.55f, 0.95f);
}

// 0 for the letters, 1 for the figures, 2 for the signs.
int kindOf(const QString& character)
{
    if (character.front().isLetter())
        return 0;
    return character.front().isDigit() ? 1 : 2;
}

} // namespace

ProgressWindow::ProgressWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(u"Progres"_s);
    setWindowTitle(u"Progrès"_s);
    m_period = new QComboBox(this);
    m_period->setObjectName(u"periode"_s);
    m_period->addItem(u"7 derniers jours"_s, 7);
    m_period->addItem(u"30 derniers jours"_s, 30);
    m_period->addItem(u"Tout"_s, 0);
    m_period->setCurrentIndex(1);
    m_export = new QPushButton(u"&Exporter..."_s, this);
    m_export->setObjectName(u"exporter"_s);
    m_export->setToolTip(u"Enregistre tout l'historique dans un fichier CSV (tableur)"_s);
    m_state = new QLabel(this);
    m_state->setObjectName(u"etat"_s);

    auto* top = new QHBoxLayout;
    auto* periodLabel = new QLabel(u"&Période\u202F:"_s, this);
    periodLabel->setBuddy(m_period);
    top->addWidget(periodLabel);
    top->addWidget(m_period);
    top->addWidget(m_state, 1);
    top->addWidget(m_export);
    m_map =
        new QGroupBox(u"Carte des caractères\u202F: du rouge (à travailler) au vert (sûr), gris sans résultat\u202F; "
                      "cliquer pour le renforcer"_s,
                      this);
    m_map->setObjectName(u"carte"_s);
    m_mapGrid = new QGridLayout(m_map);
    m_mapGrid->setSpacing(2);
    auto* charts = new QGridLayout;
    m_accuracy = chartView("exactitude");
    m_speed = chartView("vitesse");
    m_errors = chartView("erreurs");
    m_reaction = chartView("reaction");
    charts->addWidget(m_accuracy, 0, 0);
    charts->addWidget(m_speed, 0, 1);
    charts->addWidget(m_errors, 1, 0);
    charts->addWidget(m_reaction, 1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_map);
    layout->addLayout(charts, 1);

    connect(m_period, &QComboBox::currentIndexChanged, this, &ProgressWindow::periodChanged);
    connect(m_export, &QPushButton::clicked, this, &ProgressWindow::exportRequested);
    resize(980, 880);
}

QChartView* ProgressWindow::chartView(const char* name)
{
    auto* view = new QChartView(this);
    view->setObjectName(QString::fromLatin1(name));
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(320, 220);
    return view;
}

int ProgressWindow::periodDays() const
{
    return m_period->currentData().toInt();
}

QChart* ProgressWindow::freshChart(QChartView* view, const QString& title)
{
    view->setAccessibleName(title); // what a screen reader says of the chart
    auto* chart = new QChart;
    const bool dark = palette().color(QPalette::Window).lightness() < 128;
    chart->setTheme(dark ? QChart::ChartThemeDark : QChart::ChartThemeLight);
    chart->setLocale(QLocale(QLocale::French));
    chart->setLocalizeNumbers(true);
    chart->setTitle(title);
    chart->legend()->setAlignment(Qt::AlignBottom);
    QChart* old = view->chart();
    view->setChart(chart);
    delete old;
    return chart;
}

void ProgressWindow::showProgress(const ProgressData& data)
{
    m_export->setEnabled(data.historyAvailable);
    if (!data.historyAvailable)
        m_state->setText(u"Pas d'historique\u202F: Tonique fonctionne sans lui pendant cette session."_s);
    else if (data.copies.isEmpty() && data.weaknesses.isEmpty())
        m_state->setText(u"Rien d'enregistré sur cette période."_s);
    else
        m_state->setText(QString::number(data.copies.size()) +
                         (data.copies.size() < 2 ? u" copie corrigée"_s : u" copies corrigées"_s));
    drawAccuracy(freshChart(m_accuracy, u"Exactitude de chaque copie"_s), data);
    drawSpeed(freshChart(m_speed, u"Vitesse de chaque copie"_s), data);
    drawErrorRates(freshChart(m_errors, u"Taux d'erreur par caractère, le plus fort d'abord"_s), data);
    drawReactionTimes(freshChart(m_reaction, u"Temps de réaction au clavier (médiane des 20 derniers)"_s), data);
    drawMap(data.map);
}

void ProgressWindow::drawMap(const QList<CharacterNeed>& map)
{
    constexpr int PerRow = 26;
    for (QToolButton* old : m_map->findChildren<QToolButton*>())
        delete old;
    int column[3] = {0, 0, 0};
    int rowsBefore[3] = {0, 0, 0};
    for (const CharacterNeed& need : map)
        ++column[kindOf(need.character)];
    // Each kind starts its own row; a kind longer than a row goes on in the next.
    rowsBefore[1] = (column[0] + PerRow - 1) / PerRow;
    rowsBefore[2] = rowsBefore[1] + (column[1] + PerRow - 1) / PerRow;
    std::fill(std::begin(column), std::end(column), 0);
    for (const CharacterNeed& need : map) {
        const int kind = kindOf(need.character);
        auto* button = new QToolButton(m_map);
        button->setText(need.character.toUpper());
        button->setToolTip(NeedText(need) + u"\nCliquer pour le mettre dans «\u202FRenforce le caractére\u202F»"_s);
        button->setStyleSheet(u"QToolButton { background-color: %1; color: black; border: 1px solid #808080; "
                              "min-width: 22px; min-height: 20px; }"_s.arg(strengthColour(need).name()));
        const QString character = need.character;
        connect(button, &QToolButton::clicked, this, [this, character] { emit characterChosen(character); });
        m_mapGrid->addWidget(button, rowsBefore[kind] + column[kind] / PerRow, column[kind] % PerRow);
        ++column[kind];
    }
    // Tab reads the map as it is shown, row by row, between "Exporter..." and the charts.
    QList<QToolButton*> buttons = m_map->findChildren<QToolButton*>();
    const auto place = [this](QToolButton* b) {
        int row = 0, col = 0, rows = 0, cols = 0;
        m_mapGrid->getItemPosition(m_mapGrid->indexOf(b), &row, &col, &rows, &cols);
        return std::pair(row, col);
    };
    std::sort(buttons.begin(), buttons.end(), [&](QToolButton* a, QToolButton* b) { return place(a) < place(b); });
    QWidget* previous = m_export;
    for (QToolButton* button : buttons)
        QWidget::setTabOrder(std::exchange(previous, button), button);
}

void ProgressWindow::drawAccuracy(QChart* chart, const ProgressData& data)
{
    QList<QPointF> points;
    points.reserve(data.copies.size());
    for (const CopyRecord& copy : data.copies)
        points.append(QPointF(qreal(copy.at.toMSecsSinceEpoch()), accuracyPercent(copy)));
    auto* accuracy = new QLineSeries;
    accuracy->setName(u"Exactitude"_s);
    accuracy->replace(points);
    accuracy->setPointsVisible(points.size() < 200);
    // The pass line: as many errors as admitted.
    auto* pass = new QLineSeries;
    pass->setName(u"Seuil de réception"_s);
    const qreal line = 100.0 - data.pass.hundredths / 100.0;
    if (!points.isEmpty())
        pass->replace({QPointF(points.first().x() - 3.6e6, line), QPointF(points.last().x() + 864e5, line)});
    QPen dashed = pass->pen();
    dashed.setStyle(Qt::DashLine);
    pass->setPen(dashed);
    chart->addSeries(accuracy);
    chart->addSeries(pass);
    addTimeAxis(chart, data.copies, {accuracy, pass});
    QValueAxis* axis = valueAxis(chart, u"Exactitude (%)"_s, 0, 100);
    accuracy->attachAxis(axis);
    pass->attachAxis(axis);
}

void ProgressWindow::drawSpeed(QChart* chart, const ProgressData& data)
{
    QList<QPointF> points;
    points.reserve(data.copies.size());
    qreal fastest = 1;
    for (const CopyRecord& copy : data.copies) {
        points.append(QPointF(qreal(copy.at.toMSecsSinceEpoch()), copy.wpm));
        fastest = std::max(fastest, copy.wpm);
    }
    auto* speed = new QLineSeries;
    speed->setName(u"Vitesse"_s);
    speed->replace(points);
    speed->setPointsVisible(points.size() < 200);
    chart->addSeries(speed);
    addTimeAxis(chart, data.copies, {speed});
    speed->attachAxis(valueAxis(chart, u"Mots par minute"_s, 0, std::ceil(fastest * 1.1)));
}

void ProgressWindow::drawErrorRates(QChart* chart, const ProgressData& data)
{
    QList<const CharacterWeakness*> sent;
    for (const CharacterWeakness& w : data.weaknesses) {
        if (w.sent > 0)
            sent.append(&w);
    }
    // Worst first; equal rates by character.
    std::stable_sort(sent.begin(), sent.end(), [](const CharacterWeakness* a, const CharacterWeakness* b) {
        return qint64(a->wrong) * b->sent > qint64(b->wrong) * a->sent;
    });
    QStringList labels;
    QList<qreal> rates;
    for (const CharacterWeakness* w : sent.mid(0, MaxCharacters)) {
        labels << w->character.toUpper();
        rates << 100.0 * w->wrong / w->sent;
    }
    drawBars(chart, u"Erreurs (% des envois)"_s, labels, rates, u"%"_s, 100);
}

void ProgressWindow::drawReactionTimes(QChart* chart, const ProgressData& data)
{
    QList<const CharacterWeakness*> answered;
    for (const CharacterWeakness& w : data.weaknesses) {
        if (w.medianMs)
            answered.append(&w);
    }
    // Slowest first.
    std::stable_sort(answered.begin(), answered.end(), [](const CharacterWeakness* a, const CharacterWeakness* b) {
        return *a->medianMs > *b->medianMs;
    });
    QStringList labels;
    QList<qreal> times;
    for (const CharacterWeakness* w : answered.mid(0, MaxCharacters)) {
        labels << w->character.toUpper();
        times << *w->medianMs;
    }
    drawBars(chart, u"Temps médian (ms)"_s, labels, times, u"ms"_s);
}
