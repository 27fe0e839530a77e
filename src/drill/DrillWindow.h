#pragma once

// What the drill asks of the window: its panel shown over the views, and the window in its compact state.
class DrillWindow
{
public:
    virtual ~DrillWindow() = default;
    virtual void showDrillPanel(bool shown) = 0;
    virtual void setCompact(bool compact) = 0; // the "Cache" tick box
};
