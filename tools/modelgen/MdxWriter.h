// MdxWriter: turns an MdxModel back into the bytes of an MDX file (version
// 800), chunks in the order other MDX tools write them. Used by the model
// generator and by the tests that build models in place.
#pragma once

#include "assets/FStructure.h"

#include <cstdint>
#include <string>
#include <vector>

std::vector<std::uint8_t> writeMdx(const MdxModel& model);
// Writes the file, creating nothing but the file itself; false on failure.
bool saveMdx(const MdxModel& model, const std::string& path);
