#pragma once

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;

// "Reconnaissance instantanée": the speed of the characters, the reflex measurement, the key typed for each
// character and the summary of a run.
class RecognitionWindow : public QWidget
{
    Q_OBJECT

public:
    explicit RecognitionWindow(QWidget* parent = nullptr);

    QSpinBox* speed = nullptr;         // the characters' own speed, words per minute
    QCheckBox* spokenAnswer = nullptr; // "Réponse parlée"
    QLabel* reflex = nullptr;          // the typing time measured, or that it is not yet
    QPushButton* measure = nullptr;    // the reflex measured again
    QPushButton* start = nullptr;      // "Départ"
    QLabel* shown = nullptr;           // the letter to type during the measurement, the answer during a run
    QLineEdit* keys = nullptr;         // where the learner types
    QLabel* progress = nullptr;        // character n of the run
    QPlainTextEdit* summary = nullptr; // the end of a run

signals:
    void closed(); // the window was closed by the user

protected:
    void closeEvent(QCloseEvent* event) override;
};
