#pragma once

#include <QString>

// The open-file dialog.
class FileDialog
{
public:
    virtual ~FileDialog() = default;
    // Asks the user for a file to open; `filter` in Qt's form ("TXT (*.txt)"). Empty when cancelled.
    virtual QString getOpenFileName(const QString& filter) = 0;
};
