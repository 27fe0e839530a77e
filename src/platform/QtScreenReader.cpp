#include "platform/QtScreenReader.h"

#include <QAccessible>
#include <QWidget>

void QtScreenReader::valueChanged(QWidget* control, const QString& text)
{
    if (!QAccessible::isActive())
        return;
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(control);
    if (!iface)
        return;
    // AT-SPI carries a new value only for a control that has one (a list field, a scroll bar); any other control
    // is told through its name, which a label takes from its text.
    if (iface->valueInterface() || iface->role() == QAccessible::ComboBox) {
        QAccessibleValueChangeEvent event(control, text);
        QAccessible::updateAccessibility(&event);
    } else {
        QAccessibleEvent event(control, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
}
