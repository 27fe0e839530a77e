#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// frmAbout: the program's title, version and description, and the way to the system-information tool.
// Not modal; "OK" (also Enter and Escape) closes and deletes it.
class AboutWindow : public QDialog
{
    Q_OBJECT

public:
    explicit AboutWindow(QWidget* parent = nullptr);

    static QString title() { return QStringLiteral("Tonique"); }
    static QString versionText();

signals:
    void sysInfoRequested(); // cmdSysInfo

private:
    // The title, version and description beside the icon; the notice beside the buttons.
    void arrange();

    QLabel* m_picIcon = nullptr;
    QLabel* m_lblTitle = nullptr;
    QLabel* m_lblVersion = nullptr;
    QLabel* m_lblDescription = nullptr;
    QLabel* m_lblDisclaimer = nullptr;
    QPushButton* m_cmdOK = nullptr;
    QPushButton* m_cmdSysInfo = nullptr;
};
