#pragma once
// What only the windowing system knows about a screen's window: the frame a
// window manager puts around it, and the title its title bar shows.
#include <QMargins>
#include <QWidget>

namespace cifrano {

// The frame around a top-level window, in the window's pixels: the frame it
// has once shown, or, before the first show, the frame the window manager
// says it will give it (none without a window manager).
QMargins ExpectedFrameMargins(QWidget* window);

// Keeps the title bar empty for a window without a title (Qt would show the
// application's name there). Call before the window is first shown.
void KeepTitleBarEmpty(QWidget* window);

}  // namespace cifrano
