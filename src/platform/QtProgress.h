#pragma once

#include "platform/Progress.h"

#include <QPointer>

class QProgressDialog;

// A progress dialog over the active window, modal while it shows, with its "Annuler" button.
class QtProgress : public Progress
{
public:
    ~QtProgress() override;
    void begin(const QString& label) override;
    bool step(double done) override;
    void end() override;

private:
    QPointer<QProgressDialog> m_dialog;
};
