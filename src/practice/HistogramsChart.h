#pragma once

#include "practice/HistogramsView.h"

class QChartView;

// The histograms as a stacked bar chart, a bar of each colour per bin of a quarter of a dot.
class HistogramsChart : public HistogramsView
{
public:
    explicit HistogramsChart(QWidget* parent = nullptr);

    void draw(const TimingReport& report, int first, int last) override;

private:
    QChartView* m_view;
};
