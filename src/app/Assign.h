#pragma once

#include <QComboBox>
#include <QLineEdit>
#include <QString>

// The program writing a field: like a user's change, it runs the field's change handling, also when the text
// stays the same (Qt emits nothing then), so that a reset or a stored value always recomputes what depends on
// the field.
inline void Assign(QLineEdit* field, const QString& text)
{
    if (field->text() == text)
        emit field->textChanged(text);
    else
        field->setText(text);
}

inline void Assign(QComboBox* field, const QString& text)
{
    if (field->currentText() == text)
        emit field->editTextChanged(text);
    else
        field->setEditText(text);
}
