// Files: the one door to the file system. Content paths in the data use
// backslashes and mixed case; every open goes through contentPath so that a
// path written on another system finds the same file here.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// Turns '\' into '/'; if that file does not exist, resolves each component
// case-insensitively so that "Textures\Cursor\humancursor.tga" still finds it.
std::string contentPath(const std::string& path);

bool fileExists(const std::string& path);
bool directoryExists(const std::string& path);
// Creates one directory level; true if it exists afterwards.
bool createDirectory(const std::string& path);

// Whole file as bytes; nothing when it cannot be opened or is no regular
// file of a sane size (a device or a pipe named by a mod).
std::optional<std::vector<std::uint8_t>> readBinaryFile(const std::string& path);
std::optional<std::string> readTextFile(const std::string& path);
// Replaces the file's content; false when it cannot be written.
bool writeTextFile(const std::string& path, const std::string& text);
bool appendTextFile(const std::string& path, const std::string& text);
// Writes a sibling temporary file, flushes it to disk and renames it over
// `path`: a crash leaves either the old content or the new, never a mix.
bool replaceTextFile(const std::string& path, const std::string& text);

// The working directory, where content is read from.
std::string currentDirectory();
// Directory holding the running executable, with a trailing '/'.
std::string executableDirectory();
// The executable's file name without directory ("Vrax").
std::string executableName();

}  // namespace platform
