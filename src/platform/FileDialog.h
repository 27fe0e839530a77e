#pragma once

#include <QString>

// The open-file and save-file dialogs.
class FileDialog
{
public:
    virtual ~FileDialog() = default;
    // Asks the user for a file to open; `filter` in Qt's form ("TXT (*.txt)"). Empty when cancelled.
    virtual QString getOpenFileName(const QString& filter) = 0;
    // Asks the user where to save a file, proposing `suggestedName`. Empty when cancelled.
    virtual QString getSaveFileName(const QString& filter, const QString& suggestedName) = 0;
};
