// The entry points of the charts module, looked up by name when the program loads it (platform/ServicesModule.cpp).

#include "practice/HistogramsChart.h"
#include "progress/ProgressWindow.h"

extern "C" Q_DECL_EXPORT ProgressView* tonique_make_progress_window()
{
    return new ProgressWindow;
}

extern "C" Q_DECL_EXPORT HistogramsView* tonique_make_histograms()
{
    return new HistogramsChart;
}
