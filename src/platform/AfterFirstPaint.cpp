#include "platform/AfterFirstPaint.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QTimer>
#include <QWindow>

#include <algorithm>

namespace {

// Waits on a window for its first expose, then hands over to the next turn of the loop: the window paints on that
// very event.
class ExposeWatch : public QObject
{
public:
    ExposeWatch(QObject* context, std::function<void()> then) : QObject(context), m_then(std::move(then)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed()) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, parent(), std::move(m_then));
            deleteLater();
        }
        return false;
    }

private:
    std::function<void()> m_then;
};

} // namespace

void AfterFirstPaint(QObject* context, std::function<void()> then)
{
    // The start-up exercise is rendered while the event loop turns, after the window is shown and before the window
    // system has exposed it: that window is waited for.
    QTimer::singleShot(0, context, [context, then = std::move(then)]() mutable {
        const QList<QWindow*> windows = QGuiApplication::topLevelWindows();
        const auto shown = std::find_if(windows.cbegin(), windows.cend(),
                                        [](const QWindow* w) { return w->isVisible() && !w->isExposed(); });
        if (shown == windows.cend())
            then();
        else
            (*shown)->installEventFilter(new ExposeWatch(context, std::move(then)));
    });
}
