#pragma once

class QString;
class QWidget;

// What the screen reader is told beyond what it reads by itself: a control whose shown value changed without the
// user touching it (the count-down, the drilled character, a drill result).
class ScreenReader
{
public:
    virtual ~ScreenReader() = default;
    // `control` now shows `text`.
    virtual void valueChanged(QWidget* control, const QString& text) = 0;
};
