#pragma once

#include <QString>

#include <functional>

class QPlainTextEdit;

// The exercise text: held as a string whose every write runs the change handling at once, while the widget that
// shows it is refreshed once per batch of writes, so that a text built one character at a time costs no more than
// its length.
class ExerciseText
{
public:
    ExerciseText() = default;

    // The widget showing the text, and what runs after every change (ExerciseTextChanged).
    void attach(QPlainTextEdit* view, std::function<void()> changed);

    const QString& text() const { return m_text; }
    // One write of the text: stores it, runs the change handling, refreshes the view unless a batch is open.
    void set(const QString& text);
    // One write: the text with `piece` joined to its end.
    void append(QStringView piece);

    // Writes made while a Batch lives reach the view once, when the outermost Batch ends.
    class Batch
    {
    public:
        explicit Batch(ExerciseText& text);
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        ExerciseText& m_text;
    };

    // The user edited the view: take its text as one write.
    void takeFromView();

private:
    void refreshView();

    QString m_text;
    QPlainTextEdit* m_view = nullptr;
    std::function<void()> m_changed;
    int m_batchDepth = 0;
    bool m_viewStale = false;
    bool m_updatingView = false;
};
