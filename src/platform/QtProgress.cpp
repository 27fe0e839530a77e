#include "platform/QtProgress.h"

#include <QApplication>
#include <QProgressDialog>

namespace {

constexpr int Steps = 1000;

} // namespace

QtProgress::~QtProgress()
{
    delete m_dialog.data();
}

void QtProgress::begin(const QString& label)
{
    end();
    m_dialog = new QProgressDialog(label, QStringLiteral("Annuler"), 0, Steps, QApplication::activeWindow());
    m_dialog->setWindowTitle(QStringLiteral("Tonique"));
    m_dialog->setWindowModality(Qt::WindowModal);
    m_dialog->setMinimumDuration(500);
    m_dialog->setAutoReset(false);
    m_dialog->setValue(0);
}

bool QtProgress::step(double done)
{
    if (!m_dialog)
        return true;
    // A modal dialog lets the window's events run here, the Cancel button's among them.
    m_dialog->setValue(int(done * Steps));
    return !m_dialog->wasCanceled();
}

void QtProgress::end()
{
    delete m_dialog.data();
}
