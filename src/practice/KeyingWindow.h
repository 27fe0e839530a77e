#pragma once

#include "practice/HistogramsView.h"
#include "practice/KeyboardKeys.h"
#include "sending/DecodedSign.h"
#include "sending/TimingAnalysis.h"

#include <QWidget>

#include <set>
#include <vector>

class ElementsView;
class QComboBox;
class QFormLayout;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTimer;

// The window "Manipulation": the input mode and the exercise chosen, the text to send, what was decoded with its
// speed and its elements drawn, and the results. While it has the focus, Space, Ctrl, "[" and "]" are the key and
// the paddle, whichever of its controls has the focus; their auto-repeat is ignored.
class KeyingWindow : public QWidget
{
    Q_OBJECT

public:
    // `makeHistograms` draws the histograms under the result; none, or when it cannot: the window says why.
    explicit KeyingWindow(QWidget* owner, const MakeHistograms& makeHistograms = {});
    ~KeyingWindow() override;

    void setMode(int mode);
    void setInput(int input);
    // The debounce of a key on the serial port, in ms; shown for that input only.
    void setDebounce(int ms);
    // What "Écho" plays and the seconds allowed to answer.
    void setEcho(int plays, int seconds);
    // The text the learner sends, shown above; empty: nothing shown.
    void showExercise(const QString& text);
    void showRun(const QString& text, double wordsPerMinute, const std::vector<DecodedSign>& signs,
                 const QString& message);
    void showResult(const QString& text);
    // The measured lengths of the dots, dashes, element and letter gaps, counted in bins of a quarter of a dot,
    // under the result; hidden when nothing was keyed.
    void showHistograms(const TimingReport& report);
    // Runs while the window is shown.
    QTimer* timer() const { return m_timer; }

signals:
    void keyed(KeyInput input, bool down);
    void modeChosen(int mode);
    void inputChosen(int input);
    void debounceChosen(int ms);
    void exerciseChosen(int exercise);
    void echoPlaysChosen(int plays);
    void echoSecondsChosen(int seconds);
    void termineClicked();
    void effacerClicked();
    void hidden(); // after the keys held were let go

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void releaseHeldKeys();

    QComboBox* m_mode;
    QComboBox* m_input;
    QSpinBox* m_debounce;
    QFormLayout* m_form = nullptr;
    QComboBox* m_exercise;
    QComboBox* m_echoPlays;
    QSpinBox* m_echoSeconds;
    QLabel* m_exerciseText;
    QPlainTextEdit* m_decoded;
    QLabel* m_speed;
    QLabel* m_message;
    ElementsView* m_elements;
    QLabel* m_result;
    HistogramsView* m_histograms;
    QTimer* m_timer;
    std::set<KeyInput> m_held;
};
