// Ini: INI files read and written one key at a time, with the rules the
// configuration relies on: sections and keys match without regard to case,
// a missing or non-numeric value yields the caller's default, booleans are
// integers (non-zero is true) and are written as 1 and 0.
#pragma once

#include <string>
#include <vector>

namespace platform {

struct IniValue {
    std::string section, key, value;
};

class IniFile {
public:
    explicit IniFile(std::string path) : path_(std::move(path)) {}

    const std::string& path() const { return path_; }

    int readInteger(const std::string& section, const std::string& key, int fallback) const;
    bool readBool(const std::string& section, const std::string& key, bool fallback) const;
    std::string readString(const std::string& section, const std::string& key, const std::string& fallback) const;

    // Each write replaces the file at once (see replaceTextFile); false when it could not be written.
    bool writeValues(const std::vector<IniValue>& values) const;
    bool writeInteger(const std::string& section, const std::string& key, int value) const;
    bool writeBool(const std::string& section, const std::string& key, bool value) const;
    bool writeString(const std::string& section, const std::string& key, const std::string& value) const;

private:
    std::string path_;
};

}  // namespace platform
