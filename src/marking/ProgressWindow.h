#pragma once

#include "marking/History.h"

#include <QWidget>

class QChart;
class QChartView;
class QComboBox;
class QLabel;
class QPushButton;

// What "Progrès" draws, for the period chosen.
struct ProgressData
{
    QList<CopyRecord> copies;            // oldest first
    QList<CharacterWeakness> weaknesses; // by character
    PassMark pass;                       // the pass line
    bool historyAvailable = true;
};

// "Progrès": the accuracy and the speed of each marked copy over time, the error rate per character and the drill's
// median reaction time per character, for the last 7 days, 30 days or all. Not modal; it only shows and reports.
class ProgressWindow : public QWidget
{
    Q_OBJECT

public:
    explicit ProgressWindow(QWidget* parent = nullptr);

    // The period chosen: 7, 30, or 0 for all.
    int periodDays() const;
    void showProgress(const ProgressData& data);

    // How many bars the character charts show at most.
    static constexpr int MaxCharacters = 12;

signals:
    void periodChanged();
    void exportRequested();

private:
    QChartView* chartView(const char* name);
    void drawAccuracy(QChart* chart, const ProgressData& data);
    void drawSpeed(QChart* chart, const ProgressData& data);
    void drawErrorRates(QChart* chart, const ProgressData& data);
    void drawReactionTimes(QChart* chart, const ProgressData& data);
    // A new chart in `view`, in the palette's theme and in French.
    QChart* freshChart(QChartView* view, const QString& title);

    QComboBox* m_period = nullptr;
    QPushButton* m_export = nullptr;
    QLabel* m_state = nullptr;
    QChartView* m_accuracy = nullptr;
    QChartView* m_speed = nullptr;
    QChartView* m_errors = nullptr;
    QChartView* m_reaction = nullptr;
};
