#include "platform/QtScreenReader.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>

namespace {

const QString AnnouncementName = QStringLiteral("annonce");

QAccessibleInterface* announcementInterface(const QString& className, QObject* object)
{
    if (className == u"QWidget" && object->objectName() == AnnouncementName)
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Notification);
    return nullptr;
}

} // namespace

QtScreenReader::QtScreenReader()
{
    static const bool installed = [] {
        QAccessible::installFactory(announcementInterface);
        return true;
    }();
    Q_UNUSED(installed);
}

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

void QtScreenReader::announce(QWidget* control, const QString& text)
{
    QWidget* window = control->window();
    auto* line = window->findChild<QWidget*>(AnnouncementName, Qt::FindDirectChildrenOnly);
    if (!line) {
        // One pixel, drawing nothing, in the window's corner: a notification must be on screen to be spoken.
        line = new QWidget(window);
        line->setObjectName(AnnouncementName);
        line->setGeometry(0, 0, 1, 1);
        line->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    line->hide();
    line->setAccessibleName(text);
    line->show();
}
