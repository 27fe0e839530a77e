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
    // What the view leaves to the owner of the text it shows when that text is not the view's own.
    class Owner
    {
    public:
        virtual ~Owner() = default;
        // What a copy or a drag of the shown characters [from, to) carries.
        virtual QString textOf(qsizetype from, qsizetype to) const = 0;
        // Undo (redo) the user's last edit; false when there is none. The document keeps no history of its own.
        virtual bool undo(bool redo) = 0;
        virtual bool canUndo(bool redo) const = 0;
    };

    ExerciseTextView(int columns, QWidget* parent);

    int columns() const { return m_columns; }
    void setOwner(Owner* owner);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    QMimeData* createMimeDataFromSelection() const override;

private:
    void fitColumns();

    int m_columns;
    Owner* m_owner = nullptr;
};
