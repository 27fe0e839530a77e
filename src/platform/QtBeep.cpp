#include "platform/QtBeep.h"

#include <QApplication>

void QtBeep::beep()
{
    QApplication::beep();
}
