#pragma once

#include <QPointer>

class MessageBox;
class ProcessLauncher;
class QWidget;

// "A Propos": the non-modal About window frmAbout.
class AboutController
{
public:
    AboutController(ProcessLauncher& launcher, MessageBox& messages);
    ~AboutController();

    void apropos(); // creates the window if needed and shows it
    QWidget* window() const;

    // cmdSysInfo: starts the system-information tool, or says that it is not available.
    void StartSysInfo();

private:
    ProcessLauncher& m_launcher;
    MessageBox& m_messages;
    QPointer<QWidget> m_window; // null once the window has been closed
};
