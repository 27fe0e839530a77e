#include "platform/QtFileDialog.h"

#include <QApplication>
#include <QFileDialog>

QString QtFileDialog::getOpenFileName(const QString& filter)
{
    return QFileDialog::getOpenFileName(QApplication::activeWindow(), QString(), QString(), filter);
}

QString QtFileDialog::getSaveFileName(const QString& filter, const QString& suggestedName)
{
    return QFileDialog::getSaveFileName(QApplication::activeWindow(), QString(), suggestedName, filter);
}
