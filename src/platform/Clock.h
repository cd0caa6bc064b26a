// Clock: the monotonic millisecond clock behind the frame clock. The tick
// count and the high-resolution counter are one clock here, so the first
// frame after a reset measures a real interval.
#pragma once

#include <cstdint>

namespace platform {

std::int64_t milliseconds();

}  // namespace platform
