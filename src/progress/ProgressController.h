#pragma once

#include "common/Result.h"
#include "marking/CopyMarking.h"
#include "marking/ResultsListener.h"

#include <QDateTime>
#include <QPointer>
#include <QString>

#include <functional>
#include <vector>

class Clock;
class FileDialog;
class History;
class MessageBox;
class ProgressView;
class QWidget;
class SignTable;

// "Progrès": the learner's results read from the history for the period chosen, the copies deleted on request, the
// history exported as CSV.
class ProgressController : private ResultsListener
{
public:
    struct Services
    {
        History& history;
        Clock& clock;
        FileDialog& fileDialog;
        MessageBox& messages;
        std::function<PassMark()> passMark; // the pass line drawn
        const SignTable* signs = nullptr;   // the characters of the map
        // A character of the map clicked: the learner wants it reinforced.
        std::function<void(const QString& character)> reinforce = {};
        // Makes the window, at the first "Progrès..." (it draws charts, from a module of their own); when it
        // cannot, why, in French, told at each try.
        std::function<Result<ProgressView*>()> makeWindow = {};
    };
    explicit ProgressController(Services services);
    ~ProgressController() override;
    ProgressController(const ProgressController&) = delete;
    ProgressController& operator=(const ProgressController&) = delete;

    void progres(); // opens "Progrès"
    QWidget* progressWindow() const;
    // What "Progrès" hears of each new result, to follow it while open.
    ResultsListener& resultsListener() { return *this; }
    // A sending run, a race or a recognition run kept: the open "Progrès" follows it.
    void runKept();
    // Told of each copy deleted, in the order added.
    void addResultsListener(ResultsListener* listener) { m_resultsListeners.push_back(listener); }

private:
    void showProgress();
    // Where the period chosen starts: invalid for all.
    QDateTime periodStart() const;
    // The next page of the copies' list.
    void listMoreCopies();
    // The open "Progrès" follows each new result.
    void copyMarked(const MarkedCopy& copy) override;
    void drillAnswered() override;
    void deleteCopy(qint64 id);
    void exportHistory();

    Services m_services;
    QPointer<ProgressView> m_progress;
    std::vector<ResultsListener*> m_resultsListeners;
};
