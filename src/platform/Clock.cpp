#include "platform/Clock.h"

#include <chrono>

namespace platform {

std::int64_t milliseconds()
{
    using namespace std::chrono;
    return duration_cast<std::chrono::milliseconds>(steady_clock::now().time_since_epoch()).count();
}

LocalTime localTime()
{
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    LocalTime t;
    t.millis = static_cast<int>(duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000);
    localtime_r(&seconds, &t.date);
    return t;
}

}  // namespace platform
