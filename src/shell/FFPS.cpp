#include "shell/FFPS.h"

TFrameClock FrameClock;

void resetFrameClock(std::int64_t tickMs)
{
    FrameClock = TFrameClock{};
    FrameClock.lastTime = tickMs;
    FrameClock.fpsWindowStart = tickMs;
}

void updateFrameClock(std::int64_t nowMs)
{
    TFrameClock& c = FrameClock;
    const std::int64_t raw = nowMs - c.lastTime;
    c.rawElapsed = static_cast<std::int32_t>(raw);
    c.elapsed = raw <= 100 ? static_cast<std::int32_t>(raw) : 100;
    c.lastTime += raw;
    c.totalTime += raw;
    c.framesInWindow += 1;
    const std::int64_t window = c.lastTime - c.fpsWindowStart;
    if (window > 1000) {
        c.fps = static_cast<std::int32_t>(static_cast<double>(c.framesInWindow) * 1000.0 / static_cast<double>(window));
        c.fpsWindowStart = c.lastTime;
        c.framesInWindow = 0;
    }
}
