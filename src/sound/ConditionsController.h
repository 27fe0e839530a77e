#pragma once

#include "sound/ConditionsWindow.h"

class MessageBox;
class PlayerView;
class PreparedSound;
class QWidget;
class SettingsStore;
struct ReceptionConditions;

// The band conditions of the window's renderings: read from their own group of the settings store at start-up,
// set in the window "Conditions de réception" and kept at once; the mark on the player says which are on, and a
// change of what is heard withdraws the prepared sound.
class ConditionsController
{
public:
    struct Controls
    {
        ConditionsForm form; // its window made at the first `open`, a child of `owner`
        PlayerView* MMControl1 = nullptr;
        QWidget* owner = nullptr;
    };
    struct Services
    {
        ReceptionConditions& conditions; // what SoundController renders with
        SettingsStore& store;
        PreparedSound& sound;
        MessageBox& messages;
    };
    ConditionsController(const Controls& controls, const Services& services);

    // The stored conditions into the window (start-up); one that cannot be read is left off, with a notice.
    void load();
    // The menu item: shows the window (made now the first time), or brings it to the front.
    void open();
    // A tick or a value of the window changed.
    void changed();

    const ConditionsForm& form() const { return m_ui.form; }

private:
    // The window made, showing the conditions, its ticks and values wired.
    void makeWindow();
    void showConditions();

    Controls m_ui;
    Services m_services;
};
