#pragma once

#include <array>

class QAction;
class QCheckBox;
class QDoubleSpinBox;
class QMenu;
class QPushButton;
class QWidget;

// The controls of the window "Conditions de réception" and of the menu item that opens it.
struct ConditionsForm
{
    QAction* item = nullptr;   // "Conditions de &réception...", object name "conditions"
    QWidget* window = nullptr; // non-modal, object name "frmConditions"; made when first opened
    struct Row
    {
        QCheckBox* tick = nullptr;               // object name: the condition's key ("bruit", "qsb"...)
        std::array<QDoubleSpinBox*, 2> values{}; // "<key>1", "<key>2"; the second only for two values
    };
    std::array<Row, 5> rows{}; // in the order of Conditions::All
    QPushButton* close = nullptr;
};

// Adds the item to `menu`; the window is not built yet.
ConditionsForm AddConditionsItem(QMenu* menu);
// Builds the window of `form`, hidden, each condition unticked with its default values.
void BuildConditionsWindow(ConditionsForm& form, QWidget* parent);
