#pragma once

class QString;
class QWidget;

// What the screen reader is told beyond what it reads by itself.
class ScreenReader
{
public:
    virtual ~ScreenReader() = default;
    // `control` now shows `text`, changed without the user touching it (the count-down, the drilled character): read
    // when the user is on it.
    virtual void valueChanged(QWidget* control, const QString& text) = 0;
    // `text`, just shown by `control`, is spoken at once wherever the focus is (a drill result, a verdict).
    virtual void announce(QWidget* control, const QString& text) = 0;
};
