#include "practice/HistogramsChart.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QLocale>
#include <QStackedBarSeries>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

QChart* HistogramChart(const TimingReport& report, int first, int last)
{
    auto* chart = new QChart;
    chart->setTitle(u"Longueurs mesurées, en points"_s);
    chart->setMargins(QMargins(2, 2, 2, 2));
    chart->legend()->setAlignment(Qt::AlignBottom);
    auto* series = new QStackedBarSeries;
    int highest = 1;
    std::vector<int> totals(size_t(last - first + 1));
    for (const auto& [measure, name] : HistogramsView::Drawn) {
        auto* set = new QBarSet(QString::fromUtf16(name));
        for (int bin = first; bin <= last; ++bin) {
            const int count = report.histograms[measure].counts[size_t(bin)];
            set->append(count);
            highest = std::max(highest, totals[size_t(bin - first)] += count);
        }
        series->append(set);
    }
    chart->addSeries(series);
    auto* bins = new QBarCategoryAxis;
    const QLocale french(QLocale::French);
    for (int bin = first; bin <= last; ++bin)
        bins->append(french.toString(bin * LengthHistogram::BinDots, 'g', 3));
    bins->setTitleText(u"points, au quart près"_s);
    chart->addAxis(bins, Qt::AlignBottom);
    series->attachAxis(bins);
    auto* counts = new QValueAxis;
    counts->setRange(0, highest);
    counts->setTickType(QValueAxis::TicksDynamic);
    counts->setTickInterval(std::max(1, highest / 4));
    counts->setLabelFormat(u"%.0f"_s);
    chart->addAxis(counts, Qt::AlignLeft);
    series->attachAxis(counts);
    return chart;
}

} // namespace

HistogramsChart::HistogramsChart(QWidget* parent) : HistogramsView(parent), m_view(new QChartView)
{
    m_view->setObjectName(u"histogrammes"_s);
    m_view->setRenderHint(QPainter::Antialiasing);
    m_view->setAccessibleName(u"Longueurs mesurées des points, traits et espaces"_s);
    m_view->setMinimumHeight(240);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
}

void HistogramsChart::draw(const TimingReport& report, int first, int last)
{
    QChart* old = m_view->chart();
    m_view->setChart(HistogramChart(report, first, last));
    delete old;
}
