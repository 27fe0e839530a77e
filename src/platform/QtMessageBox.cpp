#include "platform/QtMessageBox.h"

#include <QApplication>
#include <QMessageBox>

namespace {
const QString kTitle = QStringLiteral("Tonique");
}

void QtMessageBox::information(const QString& text)
{
    QMessageBox::information(QApplication::activeWindow(), kTitle, text);
}

void QtMessageBox::critical(const QString& text)
{
    QMessageBox::critical(QApplication::activeWindow(), kTitle, text);
}

void QtMessageBox::warningLater(const QString& text)
{
    // Not modal and not waited for: whatever was going on (a playback) goes on.
    auto* box = new QMessageBox(QMessageBox::Warning, kTitle, text, QMessageBox::Ok, QApplication::activeWindow());
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    box->show();
}
