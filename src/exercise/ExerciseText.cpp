#include "exercise/ExerciseText.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>

#include <utility>

void ExerciseText::attach(QPlainTextEdit* view, std::function<void()> changed)
{
    m_view = view;
    m_changed = std::move(changed);
    // The edit is taken in as soon as the document reports it, before the view lays the changed paragraph out: the
    // joiners put right then are laid out with it, once.
    QObject::connect(view->document(), &QTextDocument::contentsChange, view, [this](int from, int, int) {
        if (m_updatingView)
            return;
        m_editStart = from;
        takeFromView();
    });
    // The document's own history would hold the joiners of the displayed form as steps of their own.
    if (auto* exerciseView = qobject_cast<ExerciseTextView*>(view))
        exerciseView->setOwner(this);
    m_viewStale = true;
    refreshView();
}

void ExerciseText::set(const QString& text)
{
    m_text = text;
    written();
}

void ExerciseText::set(const QString& text, TextFields fields)
{
    m_text = text;
    written();
    m_fields = std::move(fields);
}

void ExerciseText::append(QStringView piece)
{
    m_text.append(piece);
    written();
}

void ExerciseText::written()
{
    m_fields.clear();
    m_undo.clear();
    m_redo.clear();
    m_viewStale = true;
    if (m_changed)
        m_changed();
    if (m_batchDepth == 0)
        refreshView();
}

ExerciseText::Batch::Batch(ExerciseText& text) : m_text(text)
{
    ++m_text.m_batchDepth;
}

ExerciseText::Batch::~Batch()
{
    if (--m_text.m_batchDepth == 0)
        m_text.refreshView();
}

void ExerciseText::takeFromView()
{
    const qsizetype hint = std::exchange(m_editStart, -1);
    if (m_updatingView || !m_view || hint < 0)
        return;
    if (m_viewStale) {
        // A key that slipped in while a batch of writes is open: the batch's end shows its own text over it.
        m_shown = m_view->document()->toRawText();
        return;
    }

    // A couple of passes over the text, and changes of the view as small as the edit: a keystroke stays cheap on a
    // text of a megabyte.
    QString now = m_view->document()->toRawText();
    const ViewEdit edit = EditFromView(m_text, m_shown, now, hint);
    m_shown = std::move(now);
    if (edit.text.removed == 0 && edit.text.inserted.isEmpty()) {
        patchView(RedisplayChanges(m_text, m_shown, edit));
        return;
    }

    // Typing on at the end of what was just typed makes one step to undo.
    const TextChange back{edit.text.from, edit.text.inserted.size(), m_text.mid(edit.text.from, edit.text.removed)};
    if (!m_undo.isEmpty() && back.inserted.isEmpty() && m_undo.back().inserted.isEmpty() &&
        m_undo.back().from + m_undo.back().removed == back.from)
        m_undo.back().removed += back.removed;
    else
        m_undo.append(back);
    m_redo.clear();

    m_text.replace(edit.text.from, edit.text.removed, edit.text.inserted);
    m_fields.clear();
    patchView(RedisplayChanges(m_text, m_shown, edit));
    if (m_changed)
        m_changed();
}

bool ExerciseText::undo(bool redo)
{
    QList<TextChange>& steps = redo ? m_redo : m_undo;
    if (steps.isEmpty() || !m_view || m_viewStale)
        return false;
    const TextChange change = steps.takeLast();
    (redo ? m_undo : m_redo).append({change.from, change.inserted.size(), m_text.mid(change.from, change.removed)});

    const QString before = std::exchange(m_text, QString(m_text).replace(change.from, change.removed, change.inserted));
    m_fields.clear();
    qsizetype caret = 0;
    patchView({ShownChange(before, m_shown, change, m_text, caret)});
    QTextCursor cursor = m_view->textCursor();
    cursor.setPosition(int(caret));
    m_view->setTextCursor(cursor);
    m_view->ensureCursorVisible();
    if (m_changed)
        m_changed();
    return true;
}

QString ExerciseText::textOf(qsizetype from, qsizetype to) const
{
    return TextOfShown(m_text, m_shown, from, to);
}

void ExerciseText::refreshView()
{
    if (!m_view || !m_viewStale)
        return;
    m_viewStale = false;
    const QString shown = DisplayForm(m_text);
    if (shown == m_shown)
        return;
    m_updatingView = true;
    m_view->setPlainText(shown);
    m_updatingView = false;
    m_shown = m_view->document()->toRawText();
}

void ExerciseText::patchView(const QList<TextChange>& changes)
{
    if (changes.isEmpty())
        return;
    m_updatingView = true;
    QTextCursor cursor(m_view->document());
    cursor.beginEditBlock();
    for (const TextChange& change : changes) {
        cursor.setPosition(int(change.from));
        cursor.setPosition(int(change.from + change.removed), QTextCursor::KeepAnchor);
        cursor.insertText(change.inserted); // an empty one only takes the selection away
        m_shown.replace(change.from, change.removed, change.inserted);
    }
    cursor.endEditBlock();
    m_updatingView = false;
}
