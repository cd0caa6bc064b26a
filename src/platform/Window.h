// Window: the main window, its OpenGL context, its events, the display mode,
// the system pointer and the clipboard. The shell sees plain WindowEvents and
// never the window library itself.
#pragma once

#include <string>

namespace platform {

struct WindowEvent {
    enum Kind {
        KeyDown,      // key = virtual-key code
        KeyPress,     // key = character code 0..255 (Latin-1; Backspace 8, Tab 9, Enter 13, Escape 27)
        Wheel,        // delta in notches of 120, positive away from the user
        Resize,       // x, y = new drawing-surface size in pixels
        MouseDown,    // button 1 left, 2 right, 3 other; x, y = panel pixels
        MouseUp,
        MouseMove,    // x, y; buttons = held buttons as bits 1 left, 2 right, 4 middle
        Activate,
        Deactivate,
        Close,
    };
    Kind kind = Close;
    int key = 0;
    int delta = 0;
    int button = 0;
    int buttons = 0;
    int x = 0;
    int y = 0;
};

// Creates the hidden-until-shown main window with the given client size.
bool createWindow(const std::string& caption, int clientWidth, int clientHeight);
void destroyWindow();

// Double-buffered 32-bit colour with a depth buffer, compatibility profile,
// no swap interval (the engine draws as often as it can).
bool createGlContext();
// True while the context exists: without one nothing may be drawn or uploaded.
bool hasGlContext();
void makeContextCurrent();
void releaseGlContext();
void swapBuffers();
void drawableSize(int* width, int* height);

// Next pending event; false when none is waiting.
bool pollEvent(WindowEvent* event);

void setBorderSizeable(bool sizeable);
// The client area's new size; the Resize event follows.
void setWindowSize(int width, int height);
void setMaximised(bool maximised);
// A temporary full-screen mode at the given size and depth; false when refused.
bool switchDisplayMode(int width, int height, int bitsPerPixel);
void restoreDisplayMode();

void showSystemCursor(bool show);
std::string clipboardText();  // Latin-1, empty when none

}  // namespace platform
