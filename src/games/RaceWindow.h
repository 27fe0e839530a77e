#pragma once

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;

// "Course aux indicatifs": the settings of a run, the call being asked, the answer, the best scores and the summary.
class RaceWindow : public QWidget
{
    Q_OBJECT

public:
    explicit RaceWindow(QWidget* parent = nullptr);

    QSpinBox* startSpeed = nullptr;    // cpm
    QCheckBox* variableTone = nullptr; // "Tonalité variable"
    QCheckBox* spokenAnswer = nullptr; // "Réponse parlée"
    QPushButton* chooseFile = nullptr; // a file of real call signs
    QLabel* fileLabel = nullptr;       // which one, or the draw
    QPushButton* start = nullptr;      // "Départ"
    QLabel* progress = nullptr;        // call n of 50, speed, score
    QLineEdit* answer = nullptr;
    QPushButton* repeat = nullptr;     // F6
    QListWidget* best = nullptr;       // the best five scores
    QPlainTextEdit* summary = nullptr; // the end of a run, and what was said of the file

signals:
    void closed(); // the window was closed by the user
    void repeatAsked();

protected:
    void closeEvent(QCloseEvent* event) override;
};
