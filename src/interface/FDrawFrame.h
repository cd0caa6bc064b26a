// FDrawFrame: the interface's part of every drawn frame. Walks the frame
// tree from the root, runs OnUpdate handlers, lays each visible element out
// and draws backgrounds, borders, textures and texts in interface units
// (the interface pass has scaled the 1600 x 1200 design area to the window).
#pragma once

// Runs, lays out and draws frame `index` and its subtree, parent first.
void drawFrame(int index);
