// FLayout: where interface elements go. Sizes inherit up the parent chain,
// positions follow anchors; nothing is cached, so the interface pass lays
// every drawn element out again each frame and script changes show at once.
// No GL here: the drawing pass and the script functions both use it.
#pragma once

#include "interface/FXMLLoader.h"

// The declared width, or the nearest declared width up the parent chain
// (the root's 1600 ends every chain).
int effectiveWidthOf(const Component& e);
int effectiveHeightOf(const Component& e);

// Offset of an anchor point within a w x h box, halves truncated toward zero.
struct TPoint {
    int x = 0, y = 0;
};
TPoint anchorOffset(int point, int w, int h);

// Computes effectiveWidth, effectiveHeight, x and y of `e` from its anchor
// and the reference element's position as last laid out.
void layout(Component& e);
