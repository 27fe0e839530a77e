#pragma once

#include "exercise/ExerciseMarks.h"

class QLineEdit;

// The start and end marks as the fields Text9 and Text4 of the settings panel hold them.
class MarkFields : public ExerciseMarks
{
public:
    MarkFields(QLineEdit* Text9, QLineEdit* Text4) : m_start(Text9), m_end(Text4) {}

    QString startMarks() const override;
    QString endMarks() const override;
    Kept takeAway() override;
    void putBack(const Kept& kept) override;
    void clear() override;

private:
    QLineEdit* m_start;
    QLineEdit* m_end;
};
