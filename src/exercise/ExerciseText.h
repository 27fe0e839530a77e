#pragma once

#include "exercise/DisplayText.h"
#include "exercise/ExerciseTextView.h"
#include "playback/TextFields.h"

#include <QList>
#include <QString>

#include <functional>

class QPlainTextEdit;

// The exercise text: held as a string whose every write runs the change handling at once, while the widget that
// shows it is refreshed once per batch of writes, so that a text built one character at a time costs no more than
// its length. The widget shows the text's displayed form (DisplayText.h), which wraps lines at white space only;
// what the user types there changes the text where it is typed and nowhere else.
class ExerciseText : private ExerciseTextView::Owner
{
public:
    ExerciseText() = default;

    // The widget showing the text, and what runs after every change (ExerciseTextChanged).
    void attach(QPlainTextEdit* view, std::function<void()> changed);

    const QString& text() const { return m_text; }
    // One write of the text: stores it, runs the change handling, refreshes the view unless a batch is open. The
    // user's edits before it can no longer be undone.
    void set(const QString& text);
    // One write of a generated text, which keeps the pieces it is made of (positions in `text`) until the next
    // write or edit of any kind.
    void set(const QString& text, TextFields fields);
    // One write: the text with `piece` joined to its end.
    void append(QStringView piece);
    // The pieces of the generated text the exercise holds; none once anything else was written or typed, so that a
    // copy of an edited contact is marked as plain text.
    const TextFields& fields() const { return m_fields; }

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

    // The user edited the view: take the edit into the text as one write, and show the edited words in their
    // displayed form again. The view's document reports each edit as it is made; a call with no edit left to take
    // does nothing.
    void takeFromView();

private:
    QString textOf(qsizetype from, qsizetype to) const override;
    bool undo(bool redo) override;
    bool canUndo(bool redo) const override { return !(redo ? m_redo : m_undo).isEmpty(); }

    // After a write by the program: the user's edits before it are forgotten, the change handling runs.
    void written();
    void refreshView();
    // Makes the changes to the view, in their order, and to m_shown.
    void patchView(const QList<TextChange>& changes);

    QString m_text;
    TextFields m_fields;
    QString m_shown; // what the view holds: the displayed form of m_text, unless a batch is open
    QPlainTextEdit* m_view = nullptr;
    std::function<void()> m_changed;
    int m_batchDepth = 0;
    bool m_viewStale = false;
    bool m_updatingView = false;
    qsizetype m_editStart = -1;       // where the view said the user's edit starts
    QList<TextChange> m_undo, m_redo; // each the change that takes the text back (forth) one edit of the user
};
