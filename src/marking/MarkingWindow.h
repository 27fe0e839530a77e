#pragma once

#include "marking/MarkingReport.h"

#include <QPlainTextEdit>
#include <QTime>
#include <QWidget>

#include <optional>

class QDoubleSpinBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTextBrowser;

// The copy field: a paste that would make the copy too long to be marked is refused, before the field has to lay
// out a huge text.
class CopyEdit : public QPlainTextEdit
{
    Q_OBJECT

public:
    using QPlainTextEdit::QPlainTextEdit;

signals:
    void pasteRefused(const QString& message);

protected:
    void insertFromMimeData(const QMimeData* source) override;
};

// The exercise a copy is marked against, as the window names it.
struct PreparedShown
{
    qsizetype characters = 0;
    QTime at;       // when it was prepared
    double wpm = 0; // the speed heard; 0: not known
};

// "Correction de la copie": the learner types the copy (while the exercise plays, or after), has it marked and
// reads the result. Not modal; it only shows and reports: the marking controller does the rest.
class MarkingWindow : public QWidget
{
    Q_OBJECT

public:
    explicit MarkingWindow(QWidget* parent = nullptr);

    QString copy() const;
    PassMark passMark() const;
    void setPassMark(PassMark pass);
    // The exercise marked; nothing before any exercise was prepared.
    void setPrepared(const std::optional<PreparedShown>& exercise);
    // A new exercise: the copy and the verdict of the previous one go.
    void startExercise(const PreparedShown& exercise);
    // What the player holds, and so what "Lecture" can do: play the exercise, stop it while it plays, nothing
    // without a sound or when the sound is a drilled or typed character rather than the exercise marked.
    enum class Player
    {
        Closed,
        Exercise,
        Playing,
        OtherSound
    };
    void setPlayer(Player player);
    void showMarked(const MarkedCopy& marked);
    QWidget* resultView() const; // the verdict's line, told to the screen reader
    // Instead of a result: why the copy was not marked.
    void showRefusal(const QString& message);
    // Under the verdict: the copy was marked but not recorded, and why.
    void showNotRecorded(const QString& why);

signals:
    void markRequested();
    void playRequested();
    void passMarkChanged(PassMark pass);

private:
    void arrange();
    void clearResult();
    void showPieces(const MarkedCopy& marked);
    MarkColours colours() const;

    QLabel* m_exercise = nullptr;
    CopyEdit* m_copy = nullptr;
    QPushButton* m_play = nullptr;
    QPushButton* m_clear = nullptr;
    QDoubleSpinBox* m_pass = nullptr;
    QPushButton* m_mark = nullptr;
    QLabel* m_summary = nullptr;
    QLabel* m_notRecorded = nullptr;
    QLabel* m_passText = nullptr;
    QLabel* m_legend = nullptr;
    QTextBrowser* m_detail = nullptr;
    QListWidget* m_confusions = nullptr;
    // For an exercise made of pieces: each part's verdict, each piece of information as copied.
    QLabel* m_parts = nullptr;
    QLabel* m_fieldsLabel = nullptr;
    QListWidget* m_fields = nullptr;
};
