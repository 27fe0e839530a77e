#pragma once

#include "common/Result.h"
#include "sending/TimingAnalysis.h"

#include <QWidget>

#include <functional>
#include <utility>

// The histograms of the lengths keyed, under the result of "Manipulation". They are drawn as a chart
// (HistogramsChart), which comes from the charts module, loaded when the window is first opened: the program's start
// does not wait for the charts' libraries.
class HistogramsView : public QWidget
{
public:
    using QWidget::QWidget;

    // Draws the bins from `first` to `last` of the lengths below.
    virtual void draw(const TimingReport& report, int first, int last) = 0;

    // The lengths drawn, each in its own colour, and their names.
    static constexpr std::pair<TimingReport::Measure, const char16_t*> Drawn[] = {
        {TimingReport::Dots, u"Points"},
        {TimingReport::Dashes, u"Traits"},
        {TimingReport::ElementGaps, u"Espaces entre éléments"},
        {TimingReport::LetterGaps, u"Espaces entre lettres"}};
};

// Makes the histograms; when it cannot, why, in French.
using MakeHistograms = std::function<Result<HistogramsView*>()>;
