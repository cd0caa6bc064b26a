// FLoader: the MDX reader and the model cache. GetModelIndex hands every
// model instance (FDisplay) an index into the cache; each path is parsed once
// for the life of the process. Parsing itself is headless (parseMdx) so the
// tools, tests and fuzzers read files exactly as the game does.
#pragma once

#include "assets/FStructure.h"

#include <cstddef>
#include <cstdint>
#include <string>

// How a model asks for the image of each texture it lists; nullptr asks for none.
using TextureRequest = unsigned (*)(const std::string& path);

// Parses `size` bytes of an MDX file into `model`. On any fault (wrong magic,
// truncation, a range error, an unexpected sub-chunk) the model is left empty
// and the error text is returned; an empty text means success.
std::string parseMdx(const std::uint8_t* data, std::size_t size, const std::string& path, MdxModel& model,
                     TextureRequest requestTexture);

// Reads the file at `path` into `model`, asking the texture cache for its
// textures. Failures are logged and leave the model empty.
void LoadMdx(const std::string& path, MdxModel& model);

// The cache index of the model at `path` (letter case ignored), parsing the
// file on its first request.
int GetModelIndex(const std::string& path);
// The cached model at `index`; an empty model for an index out of range.
const MdxModel& modelAt(int index);
// Number of cached models.
int modelCount();
// ASCII letters in lower case: how model paths and animation names are compared.
std::string asciiLower(std::string text);
// Empties the cache (the start of game mode, and tests).
void resetModelCache();
