#pragma once

#include "platform/FileDialog.h"

// The system's file dialogs, over the active window.
class QtFileDialog : public FileDialog
{
public:
    QString getOpenFileName(const QString& filter) override;
    QString getSaveFileName(const QString& filter, const QString& suggestedName) override;
};
