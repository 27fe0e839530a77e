#pragma once

#include "progress/ProgressView.h"

class QChart;
class QChartView;
class QComboBox;
class QFrame;
class QGridLayout;
class QGroupBox;
class QLabel;
class QPushButton;
class QTabWidget;
class QTreeWidget;

// "Progrès": the accuracy and the speed of each marked copy (and of each sending run) over time (by copy number when
// they all fall within a few days), the error rate per character and the drill's median reaction time per character,
// for the last 7 days, 30 days or all, and a map of every character coloured from weak to strong; beside the charts,
// the list of the copies, one of which the learner may delete once confirmed. Not modal; it only shows and reports.
class ProgressWindow : public ProgressView
{
    Q_OBJECT

public:
    explicit ProgressWindow(QWidget* parent = nullptr);

    int periodDays() const override;
    void showProgress(const ProgressData& data) override;
    int chartColumns() const override;
    void appendCopies(const QList<CopyRecord>& copies) override;
    qsizetype listedCopies() const override;

    // How many bars the character charts show at most.
    static constexpr int MaxCharacters = 12;

private:
    QWidget* chartsPage();
    QWidget* copiesPage();
    QWidget* fieldsPage();
    // "Manipulation": the accuracy, the speed and the dash/dot ratio of each sending run.
    QWidget* sendingPage();
    struct RunLine; // what one chart of the sending runs draws
    void drawRuns(QChartView* view, const RunLine& line, const QList<SendingRunRecord>& runs);
    void drawSending(const ProgressData& data);
    // Each kind of information sent in the period, how often it was lost, the kind lost most often first.
    void listFieldLosses(const QList<FieldLoss>& losses);
    QChartView* chartView(const char* name);
    void drawAccuracy(QChartView* view, const ProgressData& data);
    void drawSpeed(QChartView* view, const ProgressData& data);
    void drawErrorRates(QChartView* view, const ProgressData& data);
    void drawReactionTimes(QChartView* view, const ProgressData& data);
    // The score and the top speed of each run of the call-sign race, in their order.
    void drawRaces(QChartView* view, const QList<RaceRecord>& races);
    // The copies of the period, the newest first.
    void listCopies(const QList<CopyRecord>& newest, qint64 count);
    // "Supprimer...": the confirmation of the copy chosen.
    void askDeletion();
    // The characters' buttons: letters, figures and signs a row each (or more when a row is full).
    void drawMap(const QList<CharacterNeed>& map, const QList<CharacterWeakness>& recognitions);
    // A new chart in `view`, in the palette's theme and in French; `empty`, when not empty, says over it that there
    // is nothing to draw.
    QChart* freshChart(QChartView* view, const QString& title, const QString& empty = {});

    QComboBox* m_period = nullptr;
    QPushButton* m_export = nullptr;
    QLabel* m_state = nullptr;
    QTabWidget* m_pages = nullptr;
    QGroupBox* m_map = nullptr;
    QGridLayout* m_mapGrid = nullptr;
    QChartView* m_accuracy = nullptr;
    QChartView* m_speed = nullptr;
    QChartView* m_errors = nullptr;
    QChartView* m_reaction = nullptr;
    QChartView* m_runAccuracy = nullptr;
    QChartView* m_runSpeed = nullptr;
    QChartView* m_runDashDot = nullptr;
    QChartView* m_races = nullptr;
    QTreeWidget* m_copies = nullptr;
    QTreeWidget* m_fieldLosses = nullptr;
    QLabel* m_noFields = nullptr;
    QPushButton* m_delete = nullptr;
    QFrame* m_confirm = nullptr;
    QLabel* m_confirmText = nullptr;
    qint64 m_toDelete = 0;
    qint64 m_copyCount = 0; // in the period
};
