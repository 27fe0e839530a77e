#pragma once

#include "platform/MessageBox.h"

class QWidget;

// QMessageBox with the program's title, over the active window.
class QtMessageBox : public MessageBox
{
public:
    void information(const QString& text) override;
    void critical(const QString& text) override;
    void warningLater(const QString& text) override;
};
