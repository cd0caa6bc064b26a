// FFPS: the frame clock. frameStep feeds it the millisecond clock once per
// frame; the simulation, animation and scripts read elapsed, totalTime and fps.
#pragma once

#include <cstdint>

struct TFrameClock {
    std::int64_t lastTime = 0;        // ms, time of the previous frame
    std::int64_t totalTime = 0;       // ms, the game clock (set at game launch)
    std::int64_t fpsWindowStart = 0;  // ms
    std::int32_t framesInWindow = 0;
    std::int32_t fps = 0;             // frames per second of the last completed window
    std::int32_t elapsed = 0;         // ms of the last frame, at most 100
    std::int32_t rawElapsed = 0;      // ms of the last frame, unclamped
};

extern TFrameClock FrameClock;

// Starts a new measurement at `tickMs`: times from there, every count zero.
void resetFrameClock(std::int64_t tickMs);
// One frame at `nowMs`.
void updateFrameClock(std::int64_t nowMs);
