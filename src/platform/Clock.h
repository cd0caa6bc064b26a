// Clock: the monotonic millisecond clock behind the frame clock (the tick
// count and the high-resolution counter are one clock here, so the first
// frame after a reset measures a real interval), and the wall clock that
// stamps log lines and file names.
#pragma once

#include <cstdint>
#include <ctime>

namespace platform {

std::int64_t milliseconds();

struct LocalTime {
    std::tm date{};  // local calendar date and time of day
    int millis = 0;
};
LocalTime localTime();

}  // namespace platform
