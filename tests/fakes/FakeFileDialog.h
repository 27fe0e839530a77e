#pragma once

#include "platform/FileDialog.h"

#include <QStringList>

// The next file "chosen" by the user, to open or to save, is preset in `nextFile` (empty = cancelled).
class FakeFileDialog : public FileDialog
{
public:
    QString getOpenFileName(const QString& filter) override
    {
        filters << filter;
        return nextFile;
    }
    QString getSaveFileName(const QString& filter, const QString& suggestedName) override
    {
        filters << filter;
        suggested << suggestedName;
        return nextFile;
    }
    QString nextFile;
    QStringList filters, suggested;
};
