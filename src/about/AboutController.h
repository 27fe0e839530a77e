#pragma once

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

private:
    AppContext& m_ctx;
    QWidget* m_window = nullptr;
};
