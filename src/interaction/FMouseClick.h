// FMouseClick: the game's answer to the drawing panel's mouse: the left
// button selects (a click or a dragged rectangle), the wheel zooms and the
// middle button drags the camera. The window calls these before it hands
// the button to the interface; outside game mode they do nothing.
#pragma once

// Left button pressed / released at the cursor of TMouse.
void GameLeftPress();
void GameLeftRelease();
// Wheel movement, 120 a notch.
void GameWheel(int delta);
// The cursor moved to (x, y) window pixels; `buttons` held as bits 1 left, 2 right, 4 middle.
void GameMouseMove(double x, double y, int buttons);
