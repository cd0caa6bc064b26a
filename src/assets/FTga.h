// FTga: the one image format the engine reads, uncompressed true-colour TGA
// (24 or 32 bit). Used by the texture cache; headless so that every check
// can be tested and fuzzed without a GL context.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct TTgaImage {
    int width = 0;
    int height = 0;
    bool hasAlpha = false;              // 32-bit: RGBA, else RGB
    std::vector<std::uint8_t> pixels;   // rows in file order, channels red first
};

// Checks and converts a TGA file held in memory; logs why it refuses (at
// Debug, naming `path`) and returns nothing.
std::optional<TTgaImage> decodeTga(const std::uint8_t* data, std::size_t size, const std::string& path);
// Reads the file at `path` (after the content-path helper) and decodes it.
std::optional<TTgaImage> readTga(const std::string& path);
