#pragma once

#include "platform/FileDialog.h"

#include <QStringList>

// The next file "chosen" by the user is preset in `nextFile` (empty = cancelled).
class FakeFileDialog : public FileDialog
{
public:
    QString getOpenFileName(const QString& filter) override
    {
        filters << filter;
        return nextFile;
    }
    QString nextFile;
    QStringList filters;
};
