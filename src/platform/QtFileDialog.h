#pragma once

#include "platform/FileDialog.h"

// The system's open-file dialog, over the active window.
class QtFileDialog : public FileDialog
{
public:
    QString getOpenFileName(const QString& filter) override;
};
