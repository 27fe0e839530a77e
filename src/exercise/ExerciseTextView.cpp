#include "exercise/ExerciseTextView.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QResizeEvent>
#include <QScrollBar>

#include <cmath>

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
