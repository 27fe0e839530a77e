#pragma once

#include "marking/History.h"
#include "training/CharacterNeeds.h"

#include <QWidget>

// What "Progrès" draws, for the period chosen.
struct ProgressData
{
    CopyChart copies;                      // the accuracy and speed of the copies, thinned to the charts' width
    QList<CopyRecord> newest;              // the newest copies, listed first
    QList<CharacterWeakness> weaknesses;   // by character
    QList<CharacterNeed> map;              // every character of the sign table, in its order
    QList<FieldLoss> fieldLosses;          // the kind of information lost most often first
    QList<SendingRunRecord> runs;          // the sending runs, oldest first, as drawn
    QList<RaceRecord> races;               // the call-sign race's finished runs, oldest first
    QList<CharacterWeakness> recognitions; // by character, from the instant recognition's runs
    PassMark pass;                         // the pass line
    bool historyAvailable = true;
};

// The window "Progrès" as its controller sees it. The window itself (ProgressWindow) draws charts: it comes from the
// charts module, loaded when "Progrès..." is first chosen, so that the program's start does not wait for the charts'
// libraries.
class ProgressView : public QWidget
{
    Q_OBJECT

public:
    using QWidget::QWidget;

    // The period chosen: 7, 30, or 0 for all.
    virtual int periodDays() const = 0;
    virtual void showProgress(const ProgressData& data) = 0;
    // How many points a chart's width can show.
    virtual int chartColumns() const = 0;
    // The next older copies, below those listed.
    virtual void appendCopies(const QList<CopyRecord>& copies) = 0;
    virtual qsizetype listedCopies() const = 0;

    // How many copies are listed at a time: more when the list is scrolled to its end.
    static constexpr qsizetype CopyPage = 200;

signals:
    void periodChanged();
    void exportRequested();
    // A character of the map clicked.
    void characterChosen(const QString& character);
    // The deletion of a copy confirmed.
    void deleteRequested(qint64 id);
    // The list scrolled to its end while older copies are left.
    void moreCopiesWanted();
};
