// FuzzLog: keeps a fuzz target's log bounded. Targets log every refusal, so a
// long campaign would otherwise fill the disk; the log is started afresh
// every so many inputs, which keeps the last few inputs' lines for a reader.
#pragma once

#include "shell/FLogs.h"

namespace fuzzing {

inline void keepLogSmall()
{
    static unsigned inputs = 0;
    if (inputs++ % 1024 == 0)
        startLog();
}

}  // namespace fuzzing
