// FFrameWalk: the interface's part of every drawn frame, without the
// drawing. Walks the frame tree parent first, runs OnUpdate handlers, lays
// each visible element out, lets enabled frames hear the mouse, and hands
// each element to a painter in drawing order. drawFrame paints with GL;
// tests and tools walk with no painter at all.
#pragma once

#include "interface/FXMLLoader.h"

// Who draws what the walk reaches; a null entry draws nothing.
struct TFramePainter {
    void (*frame)(const FrameType&) = nullptr;  // background and border
    void (*texture)(const TextureType&) = nullptr;
    void (*fontString)(const FontStringType&) = nullptr;
};

// Runs, lays out, routes the mouse for and paints frame `index` and its
// subtree. Hidden and virtual frames are skipped with everything below them.
void walkFrame(int index, const TFramePainter& painter);
