#pragma once

#include "marking/MarkingReport.h"

#include <QPlainTextEdit>
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
    // How many characters the prepared exercise has; nothing before any exercise was prepared.
    void setPrepared(std::optional<qsizetype> characters);
    // What "Lecture" can do: play the sound open in the player, stop it while it plays, nothing without one.
    void setPlayer(bool open, bool playing);
    void showMarked(const MarkedCopy& marked);
    QWidget* resultView() const; // the verdict's line, told to the screen reader
    // Instead of a result: why the copy was not marked.
    void showRefusal(const QString& message);

signals:
    void markRequested();
    void playRequested();
    void passMarkChanged(PassMark pass);

private:
    void arrange();
    void clearResult();
    MarkColours colours() const;

    QLabel* m_exercise = nullptr;
    CopyEdit* m_copy = nullptr;
    QPushButton* m_play = nullptr;
    QPushButton* m_clear = nullptr;
    QDoubleSpinBox* m_pass = nullptr;
    QPushButton* m_mark = nullptr;
    QLabel* m_summary = nullptr;
    QLabel* m_passText = nullptr;
    QLabel* m_legend = nullptr;
    QTextBrowser* m_detail = nullptr;
    QListWidget* m_confusions = nullptr;
};
