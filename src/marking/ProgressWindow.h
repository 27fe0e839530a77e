#pragma once

#include "marking/CharacterNeeds.h"
#include "marking/History.h"

#include <QWidget>

class QChart;
class QChartView;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QPushButton;

// What "Progrès" draws, for the period chosen.
struct ProgressData
{
    QList<CopyRecord> copies;            // oldest first
    QList<CharacterWeakness> weaknesses; // by character
    QList<CharacterNeed> map;            // every character of the sign table, in its order
    PassMark pass;                       // the pass line
    bool historyAvailable = true;
};

// "Progrès": the accuracy and the speed of each marked copy over time, the error rate per character and the drill's
// median reaction time per character, for the last 7 days, 30 days or all, and a map of every character coloured
// from weak to strong. Not modal; it only shows and reports.
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
    // A character of the map clicked.
    void characterChosen(const QString& character);

private:
    QChartView* chartView(const char* name);
    void drawAccuracy(QChart* chart, const ProgressData& data);
    void drawSpeed(QChart* chart, const ProgressData& data);
    void drawErrorRates(QChart* chart, const ProgressData& data);
    void drawReactionTimes(QChart* chart, const ProgressData& data);
    // The characters' buttons: letters, figures and signs a row each (or more when a row is full).
    void drawMap(const QList<CharacterNeed>& map);
    // A new chart in `view`, in the palette's theme and in French.
    QChart* freshChart(QChartView* view, const QString& title);

    QComboBox* m_period = nullptr;
    QPushButton* m_export = nullptr;
    QLabel* m_state = nullptr;
    QGroupBox* m_map = nullptr;
    QGridLayout* m_mapGrid = nullptr;
    QChartView* m_accuracy = nullptr;
    QChartView* m_speed = nullptr;
    QChartView* m_errors = nullptr;
    QChartView* m_reaction = nullptr;
};
