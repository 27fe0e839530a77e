#pragma once

#include "app/AppContext.h"

#include <QMainWindow>

#include <memory>
#include <optional>

class RandomSource;

// The Tonique window: builds the controls of both views and the menu bar, creates the subsystems' controllers,
// wires every control to its handler and runs the start-up sequence.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    struct Options
    {
        bool startTimers = true; // tests drive the timers' handlers themselves
    };

    MainWindow(const Platform& platform, RandomSource& random, const QString& programFolder, Options options);
    ~MainWindow() override;

    // The start-up sequence; a French message when the program cannot go on (sign file, stored parameters).
    std::optional<QString> startUp();

    AppContext& context() { return *m_ctx; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Timers stopped, playback ended, transmitter released: the window is closing or the program ending.
    void endSession();
    void buildMenus();
    void buildExerciseView();
    void buildSettingsPanel();
    void buildDrillPanel();
    void createControllers();
    void wire();

    std::unique_ptr<AppContext> m_ctx;
    Options m_options;
};
