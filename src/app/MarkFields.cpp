#include "app/MarkFields.h"

#include <QLineEdit>

QString MarkFields::startMarks() const
{
    return m_start->text();
}

QString MarkFields::endMarks() const
{
    return m_end->text();
}

ExerciseMarks::Kept MarkFields::takeAway()
{
    Kept kept{m_start->text(), m_end->text()};
    clear();
    return kept;
}

void MarkFields::putBack(const Kept& kept)
{
    m_end->setText(kept.end);
    m_start->setText(kept.start);
}

void MarkFields::clear()
{
    m_end->clear();
    m_start->clear();
}
