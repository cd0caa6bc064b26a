// FMouseClick: the game's answer to the drawing panel's mouse and keys: the
// left button selects (a click or a dragged rectangle) or carries out the
// command waiting for it, the right button orders, a press on the minimap
// moves the camera there (and while held, along with the pointer), the wheel
// zooms and the middle button drags the camera. The window calls these
// before it hands the button to the interface; outside game mode they do
// nothing.
#pragma once

// Left button pressed / released at the cursor of TMouse.
void GameLeftPress();
void GameLeftRelease();
// Right button pressed at the cursor of TMouse.
void GameRightPress();
// Wheel movement, 120 a notch.
void GameWheel(int delta);
// The cursor moved by (dx, dy) window pixels to where TMouse now has it;
// `buttons` held as bits 1 left, 2 right, 4 middle.
void GameMouseMove(double dx, double dy, int buttons);
// A key went down (Windows virtual-key code), after the interface heard it.
void GameKey(int virtualKey);
