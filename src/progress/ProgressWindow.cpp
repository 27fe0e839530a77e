#include "progress/ProgressWindow.h"

#include "marking/CopyMarking.h"
#include "marking/MarkingReport.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDateTimeAxis>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

template <typename Record> QList<QDateTime> timesOf(const QList<Record>& records)
{
    QList<QDateTime> times;
    times.reserve(records.size());
    for (const Record& record : records)
        times.append(record.at);
    return times;
}

bool byNumber(const QList<QDateTime>& times)
{
    return !times.isEmpty() && CountedInOrder(times.first(), times.last());
}

// Where each result stands along the horizontal axis: its number from 1, or its time.
QList<qreal> placesOf(const QList<QDateTime>& times)
{
    QList<qreal> places;
    const bool numbered = byNumber(times);
    for (qsizetype i = 0; i < times.size(); ++i)
        places.append(numbered ? qreal(i + 1) : qreal(times[i].toMSecsSinceEpoch()));
    return places;
}

// A step of 1, 2 or 5 times a power of ten that shows at most 8 numbers up to `count`.
double numberStep(qsizetype count)
{
    for (double step = 1;; step *= 10) {
        for (const double factor : {1, 2, 5}) {
            if (double(count) / (step * factor) <= 8)
                return step * factor;
        }
    }
}

// The horizontal axis under `series`: the results' numbers, titled with `what` ("Copies") and their days, or the
// dates.
void addTimeAxis(QChart* chart, const CopyChart& times, const QList<QAbstractSeries*>& series, const QString& what)
{
    QAbstractAxis* added = nullptr;
    if (CountedInOrder(times.first, times.last)) {
        const QString first = times.first.toLocalTime().toString(u"dd/MM"_s);
        const QString last = times.last.toLocalTime().toString(u"dd/MM"_s);
        auto* axis = new QValueAxis;
        const QString days = first == last ? first : first + u" au "_s + last;
        axis->setTitleText(what + u" du "_s + days + u", dans l'ordre"_s);
        axis->setRange(0.5, double(times.count) + 0.5);
        axis->setTickType(QValueAxis::TicksDynamic);
        axis->setTickAnchor(1);
        axis->setTickInterval(numberStep(times.count));
        axis->setLabelFormat(u"%.0f"_s);
        added = axis;
    } else {
        auto* axis = new QDateTimeAxis;
        axis->setFormat(u"dd/MM"_s);
        axis->setTitleText(u"Date"_s);
        axis->setRange(times.first.addSecs(-3600), times.last.addSecs(3600));
        axis->setTickCount(4);
        added = axis;
    }
    chart->addAxis(added, Qt::AlignBottom);
    for (QAbstractSeries* s : series)
        s->attachAxis(added);
}

// Half an hour of margin (an hour on a time axis), or half a number, on both sides.
qreal marginOf(const CopyChart& times)
{
    return CountedInOrder(times.first, times.last) ? 0.5 : 3.6e6;
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
// goes beyond 100).
void drawBars(QChart* chart, const QString& name, const QStringList& labels, const QList<qreal>& values,
              const QString& valueTitle, qreal ceiling = 0)
{
    auto* set = new QBarSet(name);
    set->append(values);
    auto* series = new QBarSeries;
    series->append(set);
    chart->addSeries(series);
    auto* categories = new QBarCategoryAxis;
    categories->append(labels);
    chart->addAxis(categories, Qt::AlignBottom);
    series->attachAxis(categories);
    const qreal highest = *std::max_element(values.begin(), values.end());
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
// A character's median recognition time under its letter on the map, and what the recognition runs say of it in
// its tooltip; nothing when it was never played there.
std::pair<QString, QString> RecognitionText(const QList<CharacterWeakness>& recognitions, const QString& character)
{
    const auto it = std::find_if(recognitions.begin(), recognitions.end(), [&](const CharacterWeakness& w) {
        return w.character.compare(character, Qt::CaseInsensitive) == 0;
    });
    if (it == recognitions.end())
        return {};
    const QString median = it->medianMs ? QString::number(std::lround(*it->medianMs)) : u"\u2014"_s;
    return {u"\n"_s + median, u"\nReconnaissance\u202F: "_s + (it->medianMs ? median + u"\u00A0ms, "_s : QString()) +
                                  QString::number(it->sent - it->wrong) + u" sur "_s + QString::number(it->sent) +
                                  u" reconnus"_s};
}

int kindOf(const QString& character)
{
    if (character.front().isLetter())
        return 0;
    return character.front().isDigit() ? 1 : 2;
}

} // namespace

ProgressWindow::ProgressWindow(QWidget* parent) : ProgressView(parent, Qt::Window)
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
    m_pages = new QTabWidget(this);
    m_pages->setObjectName(u"pages"_s);
    m_pages->addTab(chartsPage(), u"&Graphiques"_s);
    m_pages->addTab(copiesPage(), u"&Copies"_s);
    m_pages->addTab(fieldsPage(), u"&Informations"_s);
    m_pages->addTab(sendingPage(), u"&Manipulation"_s);
    m_races = chartView("courses");
    m_pages->addTab(m_races, u"Course aux indicati&fs"_s);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_pages, 1);

    connect(m_period, &QComboBox::currentIndexChanged, this, &ProgressWindow::periodChanged);
    connect(m_export, &QPushButton::clicked, this, &ProgressWindow::exportRequested);
    // As large as a laptop's screen allows, title bar and panel left room.
    const QSize room = screen()->availableGeometry().size() - QSize(0, 80);
    resize(QSize(980, 680).boundedTo(room));
}

QWidget* ProgressWindow::chartsPage()
{
    auto* page = new QWidget;
    m_map =
        new QGroupBox(u"Carte des caractères\u202F: du rouge (à travailler) au vert (sûr), gris sans résultat\u202F; "
                      "cliquer pour le renforcer"_s,
                      page);
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
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_map);
    layout->addLayout(charts, 1);
    return page;
}

QWidget* ProgressWindow::copiesPage()
{
    auto* page = new QWidget;
    m_copies = new QTreeWidget(page);
    m_copies->setObjectName(u"copies"_s);
    m_copies->setRootIsDecorated(false);
    m_copies->setHeaderLabels({u"Date"_s, u"Caractères"_s, u"Erreurs"_s, u"Vitesse"_s});
    m_copies->header()->setStretchLastSection(false);
    m_copies->setAccessibleName(u"Copies corrigées de la période, la plus récente d'abord"_s);
    m_delete = new QPushButton(u"&Supprimer..."_s, page);
    m_delete->setObjectName(u"supprimer"_s);
    m_delete->setToolTip(u"Retire la copie choisie de l'historique, avec ses caractères et ses confusions"_s);
    m_delete->setEnabled(false);
    m_confirm = new QFrame(page);
    m_confirm->setObjectName(u"confirmation"_s);
    m_confirm->setFrameShape(QFrame::StyledPanel);
    m_confirmText = new QLabel(m_confirm);
    m_confirmText->setWordWrap(true);
    auto* yes = new QPushButton(u"Supprimer"_s, m_confirm);
    yes->setObjectName(u"confirmerSuppression"_s);
    auto* no = new QPushButton(u"Annuler"_s, m_confirm);
    no->setObjectName(u"annulerSuppression"_s);
    auto* confirm = new QHBoxLayout(m_confirm);
    confirm->addWidget(m_confirmText, 1);
    confirm->addWidget(yes);
    confirm->addWidget(no);
    m_confirm->hide();
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(m_copies, 1);
    layout->addWidget(m_confirm);
    layout->addWidget(m_delete, 0, Qt::AlignRight);

    connect(m_copies, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        m_delete->setEnabled(item != nullptr);
        m_confirm->hide();
    });
    connect(m_copies->verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
        if (value == m_copies->verticalScrollBar()->maximum() && listedCopies() < m_copyCount)
            emit moreCopiesWanted();
    });
    connect(m_delete, &QPushButton::clicked, this, &ProgressWindow::askDeletion);
    connect(no, &QPushButton::clicked, m_confirm, &QWidget::hide);
    connect(yes, &QPushButton::clicked, this, [this] {
        m_confirm->hide();
        emit deleteRequested(m_toDelete);
    });
    return page;
}

QWidget* ProgressWindow::fieldsPage()
{
    auto* page = new QWidget;
    m_fieldLosses = new QTreeWidget(page);
    m_fieldLosses->setObjectName(u"informations"_s);
    m_fieldLosses->setRootIsDecorated(false);
    m_fieldLosses->setHeaderLabels({u"Information"_s, u"Envoyées"_s, u"Perdues"_s, u"Part perdue"_s});
    m_fieldLosses->header()->setStretchLastSection(false);
    m_fieldLosses->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_fieldLosses->header()->setMinimumSectionSize(120);
    m_fieldLosses->setAccessibleName(u"Informations des QSO copiés, la plus souvent perdue d'abord"_s);
    m_noFields = new QLabel(u"Aucun QSO corrigé sur cette période : les informations (indicatifs, report, "
                            "prénom, QTH...) sont comptées quand la copie d'un QSO est corrigée."_s,
                            page);
    m_noFields->setObjectName(u"aucuneInformation"_s);
    m_noFields->setWordWrap(true);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(m_noFields);
    layout->addWidget(m_fieldLosses, 1);
    return page;
}

QWidget* ProgressWindow::sendingPage()
{
    auto* page = new QWidget;
    m_runAccuracy = chartView("envoiExactitude");
    m_runSpeed = chartView("envoiVitesse");
    m_runDashDot = chartView("traitPoint");
    auto* layout = new QGridLayout(page);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_runAccuracy, 0, 0);
    layout->addWidget(m_runSpeed, 0, 1);
    layout->addWidget(m_runDashDot, 1, 0, 1, 2);
    return page;
}

struct ProgressWindow::RunLine
{
    QString title, empty, unit;
    double (*value)(const SendingRunRecord&);
    double top;       // the axis' least top
    double reference; // a dashed line across at this value, when positive
    QString referenceName;
};

void ProgressWindow::drawSending(const ProgressData& data)
{
    QList<SendingRunRecord> marked;
    for (const SendingRunRecord& run : data.runs) {
        if (run.kind != SendingKind::Free)
            marked.append(run);
    }
    const QString none = u"Aucun envoi dans « Manipulation » sur cette période."_s;
    drawRuns(m_runAccuracy,
             {u"Exactitude de chaque envoi (%)"_s,
              u"Aucun envoi corrigé (« Envoyer l'exercice » ou « Écho ») sur cette période."_s, u"%"_s,
              [](const SendingRunRecord& r) { return AccuracyTenths(r.characters, r.errors) / 10.0; }, 100, 0,
              QString()},
             marked);
    drawRuns(m_runSpeed,
             {u"Vitesse de chaque envoi (mots par minute)"_s, none, u"mots/min"_s,
              [](const SendingRunRecord& r) { return r.wpm; }, 10, 0, QString()},
             data.runs);
    // A run of dots alone, or of dashes alone, has no proportion to draw.
    QList<SendingRunRecord> measured;
    for (const SendingRunRecord& run : data.runs) {
        if (run.dashDotRatio > 0)
            measured.append(run);
    }
    drawRuns(m_runDashDot,
             {u"Rapport trait/point de chaque envoi"_s,
              u"Aucun envoi de points et de traits dans « Manipulation » sur cette période."_s, u"points"_s,
              [](const SendingRunRecord& r) { return r.dashDotRatio; }, 4, 3, u"Rapport juste (3)"_s},
             measured);
}

void ProgressWindow::drawRuns(QChartView* view, const RunLine& line, const QList<SendingRunRecord>& runs)
{
    if (runs.isEmpty()) {
        freshChart(view, line.title, line.empty);
        return;
    }
    QChart* chart = freshChart(view, line.title);
    const QList<QDateTime> times = timesOf(runs);
    const QList<qreal> places = placesOf(times);
    auto* values = new QLineSeries;
    values->setName(line.title.left(line.title.indexOf(u" de "_s)));
    double top = line.top;
    QList<QPointF> points;
    points.reserve(runs.size());
    for (qsizetype i = 0; i < runs.size(); ++i) {
        points.append(QPointF(places[i], line.value(runs[i])));
        top = std::max(top, line.value(runs[i]) * 1.1);
    }
    values->replace(ThinnedPoints(points, chartColumns()));
    values->setPointsVisible(runs.size() < 200);
    chart->addSeries(values);
    QList<QAbstractSeries*> series{values};
    if (line.reference > 0) {
        auto* reference = new QLineSeries;
        reference->setName(line.referenceName);
        const CopyChart span{runs.size(), times.first(), times.last(), {}};
        const qreal margin = marginOf(span);
        reference->replace(
            {QPointF(places.first() - margin, line.reference), QPointF(places.last() + margin, line.reference)});
        QPen dashed = reference->pen();
        dashed.setStyle(Qt::DashLine);
        reference->setPen(dashed);
        chart->addSeries(reference);
        series.append(reference);
    } else {
        chart->legend()->hide(); // one line, named by the title
    }
    addTimeAxis(chart, {runs.size(), times.first(), times.last(), {}}, series, u"Envois"_s);
    QValueAxis* axis = valueAxis(chart, line.unit, 0, line.top >= 100 ? 100.0 : std::ceil(top));
    for (QAbstractSeries* s : series)
        s->attachAxis(axis);
}

void ProgressWindow::listFieldLosses(const QList<FieldLoss>& losses)
{
    m_fieldLosses->clear();
    for (const FieldLoss& loss : losses) {
        const int lostTenths = loss.sent > 0 ? int((2000LL * loss.lost + loss.sent) / (2LL * loss.sent)) : 0;
        auto* item = new QTreeWidgetItem(m_fieldLosses, {FieldKindName(loss.kind), QString::number(loss.sent),
                                                         QString::number(loss.lost), AccuracyText(lostTenths)});
        for (const int column : {1, 2, 3})
            item->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
    }
    m_noFields->setVisible(losses.isEmpty());
}

QChartView* ProgressWindow::chartView(const char* name)
{
    auto* view = new QChartView;
    view->setObjectName(QString::fromLatin1(name));
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(300, 200);
    // Over the chart, what there is not to draw.
    auto* empty = new QLabel(view->viewport());
    empty->setObjectName(u"vide"_s);
    empty->setAlignment(Qt::AlignCenter);
    empty->setWordWrap(true);
    empty->setAttribute(Qt::WA_TransparentForMouseEvents);
    auto* layout = new QVBoxLayout(view->viewport());
    layout->setContentsMargins(16, 32, 16, 16);
    layout->addWidget(empty);
    return view;
}

int ProgressWindow::periodDays() const
{
    return m_period->currentData().toInt();
}

QChart* ProgressWindow::freshChart(QChartView* view, const QString& title, const QString& empty)
{
    view->setAccessibleName(empty.isEmpty() ? title : title + u"\u202F: "_s + empty); // what a screen reader says
    auto* note = view->viewport()->findChild<QLabel*>(u"vide"_s);
    note->setText(empty);
    note->setVisible(!empty.isEmpty());
    auto* chart = new QChart;
    const bool dark = palette().color(QPalette::Window).lightness() < 128;
    chart->setTheme(dark ? QChart::ChartThemeDark : QChart::ChartThemeLight);
    chart->setLocale(QLocale(QLocale::French));
    chart->setLocalizeNumbers(true);
    chart->setTitle(title);
    chart->setMargins(QMargins(4, 4, 4, 4));
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
    else if (data.copies.count == 0 && data.weaknesses.isEmpty() && data.runs.isEmpty())
        m_state->setText(u"Rien d'enregistré sur cette période."_s);
    else
        m_state->setText(QString::number(data.copies.count) +
                         (data.copies.count < 2 ? u" copie corrigée"_s : u" copies corrigées"_s) +
                         (data.runs.isEmpty() ? QString()
                                              : u", "_s + QString::number(data.runs.size()) +
                                                    (data.runs.size() < 2 ? u" envoi"_s : u" envois"_s)));
    drawAccuracy(m_accuracy, data);
    drawSpeed(m_speed, data);
    drawErrorRates(m_errors, data);
    drawReactionTimes(m_reaction, data);
    drawRaces(m_races, data.races);
    drawMap(data.map, data.recognitions);
    listCopies(data.newest, data.copies.count);
    listFieldLosses(data.fieldLosses);
    drawSending(data);
}

int ProgressWindow::chartColumns() const
{
    return std::max(width(), 300);
}

qsizetype ProgressWindow::listedCopies() const
{
    return m_copies->topLevelItemCount();
}

void ProgressWindow::listCopies(const QList<CopyRecord>& newest, qint64 count)
{
    m_copyCount = count;
    m_copies->clear();
    m_confirm->hide();
    appendCopies(newest);
    for (int column = 0; column < m_copies->columnCount(); ++column)
        m_copies->resizeColumnToContents(column);
    m_delete->setEnabled(m_copies->currentItem() != nullptr);
}

void ProgressWindow::appendCopies(const QList<CopyRecord>& copies)
{
    const QLocale french(QLocale::French);
    QList<QTreeWidgetItem*> items;
    for (auto it = copies.begin(); it != copies.end(); ++it) {
        auto* item =
            new QTreeWidgetItem({it->at.toLocalTime().toString(u"dd/MM/yyyy HH:mm"_s), QString::number(it->characters),
                                 QString::number(it->errors), french.toString(it->wpm, 'g', 4) + u"\u202Fmots/min"_s});
        item->setData(0, Qt::UserRole, it->id);
        for (const int column : {1, 2, 3})
            item->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
        items.append(item);
    }
    m_copies->addTopLevelItems(items);
}

void ProgressWindow::askDeletion()
{
    const QTreeWidgetItem* item = m_copies->currentItem();
    if (!item)
        return;
    m_toDelete = item->data(0, Qt::UserRole).toLongLong();
    const int characters = item->text(1).toInt(), errors = item->text(2).toInt();
    m_confirmText->setText(u"Supprimer la copie du "_s + item->text(0).replace(u' ', u"\u00A0à\u00A0"_s) + u" ("_s +
                           QString::number(characters) + (characters < 2 ? u" caractère, "_s : u" caractères, "_s) +
                           QString::number(errors) + (errors < 2 ? u" erreur"_s : u" erreurs"_s) +
                           u")\u202F? Ses caractères et ses confusions sortent aussi des graphiques et de l'exercice "
                           "ciblé."_s);
    m_confirm->show();
}

void ProgressWindow::drawMap(const QList<CharacterNeed>& map, const QList<CharacterWeakness>& recognitions)
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
        const auto [time, said] = RecognitionText(recognitions, need.character);
        button->setText(need.character.toUpper() + time);
        button->setToolTip(NeedText(need) + said +
                           u"\nCliquer pour le mettre dans «\u202FRenforce le caractére\u202F»"_s);
        button->setStyleSheet(u"QToolButton { background-color: %1; color: black; border: 1px solid #808080; "
                              "min-width: 22px; min-height: 20px; }"_s.arg(strengthColour(need).name()));
        const QString character = need.character;
        connect(button, &QToolButton::clicked, this, [this, character] { emit characterChosen(character); });
        m_mapGrid->addWidget(button, rowsBefore[kind] + column[kind] / PerRow, column[kind] % PerRow);
        ++column[kind];
    }
    // Tab reads the map as it is shown, row by row, between the pages' tabs and the charts.
    QList<QToolButton*> buttons = m_map->findChildren<QToolButton*>();
    const auto place = [this](QToolButton* b) {
        int row = 0, col = 0, rows = 0, cols = 0;
        m_mapGrid->getItemPosition(m_mapGrid->indexOf(b), &row, &col, &rows, &cols);
        return std::pair(row, col);
    };
    std::sort(buttons.begin(), buttons.end(), [&](QToolButton* a, QToolButton* b) { return place(a) < place(b); });
    QWidget* previous = m_pages->tabBar();
    QWidget::setTabOrder(m_export, previous);
    for (QToolButton* button : buttons)
        QWidget::setTabOrder(std::exchange(previous, button), button);
}

void ProgressWindow::drawAccuracy(QChartView* view, const ProgressData& data)
{
    const QString title = u"Exactitude de chaque copie (%)"_s;
    if (data.copies.count == 0) {
        freshChart(view, title, u"Aucune copie corrigée sur cette période."_s);
        return;
    }
    QChart* chart = freshChart(view, title);
    auto* accuracy = new QLineSeries;
    accuracy->setName(u"Exactitude"_s);
    accuracy->replace(ColumnPoints(data.copies.columns, true));
    accuracy->setPointsVisible(data.copies.count < 200);
    // The pass line: as many errors as admitted, across the axis.
    auto* pass = new QLineSeries;
    pass->setName(u"Seuil de réception"_s);
    const qreal line = 100.0 - data.pass.hundredths / 100.0;
    const qreal margin = marginOf(data.copies);
    pass->replace({QPointF(data.copies.columns.first().first - margin, line),
                   QPointF(data.copies.columns.last().last + margin, line)});
    QPen dashed = pass->pen();
    dashed.setStyle(Qt::DashLine);
    pass->setPen(dashed);
    chart->addSeries(accuracy);
    chart->addSeries(pass);
    addTimeAxis(chart, data.copies, {accuracy, pass}, u"Copies"_s);
    QValueAxis* axis = valueAxis(chart, u"%"_s, 0, 100);
    accuracy->attachAxis(axis);
    pass->attachAxis(axis);
}

void ProgressWindow::drawSpeed(QChartView* view, const ProgressData& data)
{
    const QString title = u"Vitesse de chaque copie (mots par minute)"_s;
    if (data.copies.count == 0) {
        freshChart(view, title, u"Aucune copie corrigée sur cette période."_s);
        return;
    }
    QChart* chart = freshChart(view, title);
    chart->legend()->hide(); // one line, named by the title
    qreal fastest = 1;
    for (const CopyColumn& column : data.copies.columns)
        fastest = std::max(fastest, column.highWpm);
    auto* speed = new QLineSeries;
    speed->setName(u"Vitesse"_s);
    speed->replace(ColumnPoints(data.copies.columns, false));
    speed->setPointsVisible(data.copies.count < 200);
    chart->addSeries(speed);
    addTimeAxis(chart, data.copies, {speed}, u"Copies"_s);
    speed->attachAxis(valueAxis(chart, u"mots/min"_s, 0, std::ceil(fastest * 1.1)));
}

void ProgressWindow::drawRaces(QChartView* view, const QList<RaceRecord>& races)
{
    const QString title = u"Score et vitesse la plus haute de chaque course"_s;
    if (races.isEmpty()) {
        freshChart(view, title, u"Aucune course aux indicatifs terminée sur cette période."_s);
        return;
    }
    QChart* chart = freshChart(view, title);
    auto* score = new QLineSeries;
    score->setName(u"Score"_s);
    auto* top = new QLineSeries;
    top->setName(u"Vitesse la plus haute"_s);
    int best = 1;
    int fastest = 1;
    for (qsizetype i = 0; i < races.size(); ++i) {
        score->append(double(i + 1), races[i].score);
        top->append(double(i + 1), races[i].topCpm);
        best = std::max(best, races[i].score);
        fastest = std::max(fastest, races[i].topCpm);
    }
    for (QLineSeries* series : {score, top}) {
        series->setPointsVisible(races.size() < 200);
        chart->addSeries(series);
    }
    auto* order = new QValueAxis;
    order->setTitleText(u"Courses du "_s + races.first().at.toLocalTime().toString(u"dd/MM"_s) + u" au "_s +
                        races.last().at.toLocalTime().toString(u"dd/MM"_s) + u", dans l'ordre"_s);
    order->setRange(0.5, double(races.size()) + 0.5);
    order->setLabelFormat(u"%.0f"_s);
    chart->addAxis(order, Qt::AlignBottom);
    score->attachAxis(order);
    top->attachAxis(order);
    score->attachAxis(valueAxis(chart, u"points"_s, 0, best * 1.1));
    auto* speed = new QValueAxis;
    speed->setTitleText(u"caractères par minute"_s);
    speed->setRange(0, fastest * 1.1);
    speed->applyNiceNumbers();
    speed->setLabelFormat(u"%.0f"_s);
    chart->addAxis(speed, Qt::AlignRight);
    top->attachAxis(speed);
}

void ProgressWindow::drawErrorRates(QChartView* view, const ProgressData& data)
{
    QList<const CharacterWeakness*> sent;
    for (const CharacterWeakness& w : data.weaknesses) {
        if (w.sent > 0)
            sent.append(&w);
    }
    const QString title = u"Erreurs par caractère, le pire d'abord"_s;
    if (sent.isEmpty()) {
        freshChart(view, title, u"Aucun caractère envoyé dans une copie corrigée sur cette période."_s);
        return;
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
    QChart* chart = freshChart(view, title);
    chart->legend()->hide();
    drawBars(chart, u"Erreurs (% des envois)"_s, labels, rates, u"% des envois"_s, 100);
}

void ProgressWindow::drawReactionTimes(QChartView* view, const ProgressData& data)
{
    QList<const CharacterWeakness*> answered;
    for (const CharacterWeakness& w : data.weaknesses) {
        if (w.medianMs)
            answered.append(&w);
    }
    const QString title = u"Réaction au clavier, médiane des 20 derniers"_s;
    if (answered.isEmpty()) {
        freshChart(view, title, u"Aucune réponse à l'exercice Clavier sur cette période."_s);
        return;
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
    QChart* chart = freshChart(view, title);
    chart->legend()->hide();
    drawBars(chart, u"Temps médian (ms)"_s, labels, times, u"ms"_s);
}
