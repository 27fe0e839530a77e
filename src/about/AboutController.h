#pragma once

#include <QPointer>

class QWidget;
struct AppContext;

// "A Propos": the non-modal About window frmAbout.
class AboutController
{
public:
    explicit AboutController(AppContext& ctx);
    ~AboutController();

    void apropos(); // creates the window if needed and shows it
    QWidget* window() const;

    // cmdSysInfo: starts the system-information tool, or says that it is not available.
    void StartSysInfo();

private:
    AppContext& m_ctx;
    QPointer<QWidget> m_window; // null once the window has been closed
};
