#pragma once
#include <QObject>
#include <functional>

namespace cifrano {

// Runs `then` once, on the turn of the event loop after `window`'s first paint,
// so that the frame is out before the work starts. Nothing runs when `window`
// is null or goes before it paints.
void AfterFirstPaint(QObject* window, std::function<void()> then);

}  // namespace cifrano
