#pragma once

#include "parameters/PassMark.h"

#include <QObject>
#include <QString>

#include <memory>

class SettingsStore;

// Where the learner stands along the learning orders: the progressive set the last copies were made on, and how
// many of them in a row reached 90 % (counted up to three).
struct ProgressionState
{
    QString item;
    int inARow = 0;

    bool operator==(const ProgressionState&) const = default;
};

// The learner's choices that the training, the marking and the texts share: each read here, changed here, and
// told to whoever listens, only when it really changes. The character set and the count of groups are those of the
// window's TEXT1 and Text3, which the window keeps in step with them; the others are read from and written to the
// user's settings each time, so that a value edited by hand counts from the next reading.
class LearnerSettings : public QObject
{
    Q_OBJECT

public:
    struct Stores
    {
        SettingsStore& parameters; // the group "param": only `prog`, the set the next start begins with
        SettingsStore& training;   // the group "entrainement": the series (`serie`, `serieReussies`), fresh draws
        SettingsStore* marking;    // the group "correction": the pass mark (`admis`); none: kept for the session
        SettingsStore* texts;      // the group "textes": `appris`; none: kept for the session
    };
    explicit LearnerSettings(const Stores& stores, QObject* parent = nullptr);
    ~LearnerSettings() override;
    LearnerSettings(const LearnerSettings&) = delete;
    LearnerSettings& operator=(const LearnerSettings&) = delete;

    // The characters the random groups are drawn from (TEXT1's text).
    const QString& characterSet() const { return m_characterSet; }
    void setCharacterSet(const QString& set);
    // The count of groups asked for (Text3 as the program reads a number).
    double groupCount() const { return m_groupCount; }
    void setGroupCount(double count);
    // The errors admitted in a copy; a stored value that is no pass mark reads as the default, 5 %.
    PassMark passMark() const;
    void setPassMark(PassMark pass);
    // Exercises drawn from the system's entropy at each start rather than from the fixed stream.
    bool freshDraws() const;
    void setFreshDraws(bool on);
    // The French texts written only with the characters learned so far.
    bool onlyLearnedCharacters() const;
    void setOnlyLearnedCharacters(bool on);
    // Where the learner stands along the learning orders; the count as stored, the training bounds it.
    ProgressionState progression() const;
    void setProgression(const ProgressionState& state);
    // The set the next start begins with (`prog` of "param"), kept at once: the other parameters wait for "SAUVE".
    void keepStartingSet(const QString& set);

signals:
    void characterSetChanged(const QString& set);
    void groupCountChanged(double count);
    void passMarkChanged(PassMark pass);
    void freshDrawsChanged(bool on);
    void onlyLearnedCharactersChanged(bool on);
    void progressionChanged(const ProgressionState& state);

private:
    std::unique_ptr<SettingsStore> m_session; // where the values without a store are kept
    SettingsStore& m_parameters;
    SettingsStore& m_training;
    SettingsStore& m_marking;
    SettingsStore& m_texts;
    QString m_characterSet;
    double m_groupCount = 0;
};
