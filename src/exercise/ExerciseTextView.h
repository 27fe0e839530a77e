#pragma once

#include <QPlainTextEdit>

// A plain-text view whose lines hold exactly `columns` characters of its fixed-pitch font: the wrapping width is
// taken from the font's own advance (columns and a half, so that the column after the last one never fits while
// rounding can never push the last one out), whatever the platform's metrics. Plain text is laid out a line at a
// time, so a text of a megabyte shows at once.
class ExerciseTextView : public QPlainTextEdit
{
    Q_OBJECT

public:
    ExerciseTextView(int columns, QWidget* parent);

    int columns() const { return m_columns; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void fitColumns();

    int m_columns;
};
