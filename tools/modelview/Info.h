// Info: what `vrax-modelview --info` prints about a model file, in words or
// as one JSON object (read by the checker test).
#pragma once

#include <string>

// The loader's error for the file, or empty when it reads it.
std::string modelError(const std::string& path);
// 0 when the loader read the file, 1 when it refused it (its error is printed).
int printModelInfo(const std::string& path, bool json);
