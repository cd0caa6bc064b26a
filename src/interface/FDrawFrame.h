// FDrawFrame: the GL half of the interface pass. Paints what the frame walk
// (FFrameWalk) reaches: backgrounds, borders, textures and texts in
// interface units (the interface pass has scaled the 1600 x 1200 design
// area to the window).
#pragma once

// Runs, lays out, routes the mouse for and draws frame `index` and its subtree, parent first.
void drawFrame(int index);
