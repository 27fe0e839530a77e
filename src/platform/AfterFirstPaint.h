#pragma once

#include <functional>

class QObject;

// Runs `then` once the window being shown has been drawn, on a later turn of the event loop; at the next turn when
// no window waits for its first paint. Nothing runs once `context` is gone.
void AfterFirstPaint(QObject* context, std::function<void()> then);
