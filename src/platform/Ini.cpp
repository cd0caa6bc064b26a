#include "platform/Ini.h"

#include "platform/Files.h"

#include <strings.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <optional>
#include <vector>

namespace platform {

namespace {

std::string trim(const std::string& s)
{
    std::size_t b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos)
        return {};
    std::size_t e = s.find_last_not_of(" \t\r\n");
    return s.substr(b, e - b + 1);
}

std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

bool isSectionLine(const std::string& line, std::string* name)
{
    std::string t = trim(line);
    if (t.size() < 2 || t.front() != '[' || t.back() != ']')
        return false;
    if (name)
        *name = trim(t.substr(1, t.size() - 2));
    return true;
}

bool keyOfLine(const std::string& line, std::string* key, std::string* value)
{
    std::size_t eq = line.find('=');
    if (eq == std::string::npos)
        return false;
    *key = trim(line.substr(0, eq));
    if (value)
        *value = trim(line.substr(eq + 1));
    return true;
}

bool same(const std::string& a, const std::string& b)
{
    return strcasecmp(a.c_str(), b.c_str()) == 0;
}

std::optional<std::string> lookup(const std::string& path, const std::string& section, const std::string& key)
{
    std::optional<std::string> text = readTextFile(path);
    if (!text)
        return std::nullopt;
    bool inSection = false;
    for (const std::string& line : splitLines(*text)) {
        std::string name;
        if (isSectionLine(line, &name)) {
            inSection = same(name, section);
            continue;
        }
        std::string k, v;
        if (inSection && keyOfLine(line, &k, &v) && same(k, key))
            return v;
    }
    return std::nullopt;
}

}  // namespace

int IniFile::readInteger(const std::string& section, const std::string& key, int fallback) const
{
    std::optional<std::string> value = lookup(path_, section, key);
    if (!value || value->empty())
        return fallback;
    errno = 0;
    char* end = nullptr;
    long n = std::strtol(value->c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || n < INT_MIN || n > INT_MAX)
        return fallback;
    return static_cast<int>(n);
}

bool IniFile::readBool(const std::string& section, const std::string& key, bool fallback) const
{
    return readInteger(section, key, fallback ? 1 : 0) != 0;
}

std::string IniFile::readString(const std::string& section, const std::string& key, const std::string& fallback) const
{
    return lookup(path_, section, key).value_or(fallback);
}

namespace {

// One key set in the lines of an INI file: replaced where it is, else added
// after its section's last non-blank line, or in a new section at the end.
void setValue(std::vector<std::string>& lines, const std::string& section, const std::string& key,
              const std::string& value)
{
    const std::string entry = key + "=" + value;
    int sectionAt = -1;
    int insertAt = -1;  // after the section's last non-blank line
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string name;
        if (isSectionLine(lines[i], &name)) {
            if (sectionAt >= 0)
                break;
            if (same(name, section)) {
                sectionAt = static_cast<int>(i);
                insertAt = sectionAt + 1;
            }
            continue;
        }
        if (sectionAt < 0)
            continue;
        std::string k;
        if (keyOfLine(lines[i], &k, nullptr) && same(k, key)) {
            lines[i] = entry;
            return;
        }
        if (!trim(lines[i]).empty())
            insertAt = static_cast<int>(i) + 1;
    }
    if (sectionAt < 0) {
        if (!lines.empty() && !trim(lines.back()).empty())
            lines.push_back("");
        lines.push_back("[" + section + "]");
        lines.push_back(entry);
    } else {
        lines.insert(lines.begin() + insertAt, entry);
    }
}

}  // namespace

bool IniFile::writeValues(const std::vector<IniValue>& values) const
{
    std::vector<std::string> lines = splitLines(readTextFile(path_).value_or(""));
    for (const IniValue& v : values)
        setValue(lines, v.section, v.key, v.value);
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return replaceTextFile(path_, text);
}

bool IniFile::writeString(const std::string& section, const std::string& key, const std::string& value) const
{
    return writeValues({{section, key, value}});
}

bool IniFile::writeInteger(const std::string& section, const std::string& key, int value) const
{
    return writeString(section, key, std::to_string(value));
}

bool IniFile::writeBool(const std::string& section, const std::string& key, bool value) const
{
    return writeInteger(section, key, value ? 1 : 0);
}

}  // namespace platform
