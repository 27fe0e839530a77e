#include "exercise/ExerciseTextView.h"

#include <QContextMenuEvent>
#include <QEvent>
#include <QFontMetricsF>
#include <QMenu>
#include <QMimeData>
#include <QResizeEvent>
#include <QScrollBar>

#include <cmath>
#include <memory>

ExerciseTextView::ExerciseTextView(int columns, QWidget* parent) : QPlainTextEdit(parent), m_columns(columns)
{
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    // A scroll bar that comes and goes would change the width lines are wrapped to.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The room left beside the lines looks like the page, not like a frame.
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
}

void ExerciseTextView::resizeEvent(QResizeEvent* event)
{
    QPlainTextEdit::resizeEvent(event);
    fitColumns();
}

void ExerciseTextView::changeEvent(QEvent* event)
{
    QPlainTextEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        fitColumns();
}

void ExerciseTextView::fitColumns()
{
    const qreal advance = QFontMetricsF(font()).horizontalAdvance(QLatin1Char('0'));
    const qreal wanted = (m_columns + 0.5) * advance + 2 * document()->documentMargin();
    const int available = width() - 2 * frameWidth() - verticalScrollBar()->sizeHint().width();
    const int spare = std::max(0, available - static_cast<int>(std::ceil(wanted)));
    if (viewportMargins().right() == spare)
        return;
    setViewportMargins(0, 0, spare, 0);
    // The plain-text layout takes its width from the viewport only when the widget is resized: lay it out again.
    QResizeEvent again(size(), QSize(-1, -1));
    QPlainTextEdit::resizeEvent(&again);
}

void ExerciseTextView::setOwner(Owner* owner)
{
    m_owner = owner;
    // The owner's history replaces the document's.
    document()->setUndoRedoEnabled(owner == nullptr);
}

void ExerciseTextView::keyPressEvent(QKeyEvent* event)
{
    const bool redo = event->matches(QKeySequence::Redo);
    if (m_owner && (redo || event->matches(QKeySequence::Undo))) {
        if (!isReadOnly())
            m_owner->undo(redo);
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void ExerciseTextView::contextMenuEvent(QContextMenuEvent* event)
{
    const std::unique_ptr<QMenu> menu(createStandardContextMenu(event->pos()));
    for (QAction* action : menu->actions()) {
        const bool redo = action->objectName() == u"edit-redo";
        if (!m_owner || (!redo && action->objectName() != u"edit-undo"))
            continue;
        disconnect(action, &QAction::triggered, nullptr, nullptr);
        action->setEnabled(!isReadOnly() && m_owner->canUndo(redo));
        connect(action, &QAction::triggered, this, [this, redo] { m_owner->undo(redo); });
    }
    menu->exec(event->globalPos());
}

QMimeData* ExerciseTextView::createMimeDataFromSelection() const
{
    if (!m_owner)
        return QPlainTextEdit::createMimeDataFromSelection();
    const QTextCursor selection = textCursor();
    auto* data = new QMimeData;
    data->setText(m_owner->textOf(selection.selectionStart(), selection.selectionEnd()));
    return data;
}
