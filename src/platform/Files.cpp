#include "platform/Files.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>

namespace platform {

namespace {

std::string slashed(const std::string& path)
{
    std::string out = path;
    for (char& c : out)
        if (c == '\\')
            c = '/';
    return out;
}

// Looks for `name` in `dir` ignoring letter case; empty when nothing matches.
std::string findInsensitive(const std::string& dir, const std::string& name)
{
    DIR* d = opendir(dir.empty() ? "." : dir.c_str());
    if (!d)
        return {};
    std::string found;
    while (dirent* entry = readdir(d)) {
        if (strcasecmp(entry->d_name, name.c_str()) == 0) {
            found = entry->d_name;
            break;
        }
    }
    closedir(d);
    return found;
}

}  // namespace

std::string contentPath(const std::string& path)
{
    std::string direct = slashed(path);
    if (direct.empty() || fileExists(direct) || directoryExists(direct))
        return direct;

    std::string resolved;
    std::size_t start = 0;
    if (direct[0] == '/') {
        resolved = "/";
        start = 1;
    }
    while (start <= direct.size()) {
        std::size_t end = direct.find('/', start);
        if (end == std::string::npos)
            end = direct.size();
        std::string part = direct.substr(start, end - start);
        if (!part.empty()) {
            std::string dir = resolved;
            std::string match = (part == "." || part == "..") ? part : findInsensitive(dir, part);
            if (match.empty())
                return direct;  // not there in any case: callers report the path as written
            resolved += match;
            if (end < direct.size())
                resolved += '/';
        }
        start = end + 1;
    }
    return resolved;
}

bool fileExists(const std::string& path)
{
    struct stat st{};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool directoryExists(const std::string& path)
{
    struct stat st{};
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool createDirectory(const std::string& path)
{
    if (directoryExists(path))
        return true;
    return mkdir(path.c_str(), 0755) == 0 || directoryExists(path);
}

namespace {

// No content file comes near this; a path from a hostile mod that names a
// device ("/dev/zero") or a pipe would otherwise read for ever.
constexpr std::uintmax_t MaxReadBytes = 256u << 20;

template <class Container>
std::optional<Container> readWhole(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode) ||
        static_cast<std::uintmax_t>(info.st_size) > MaxReadBytes)
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    // One read of the whole file: fonts and textures are megabytes, read at start-up.
    Container content(static_cast<std::size_t>(info.st_size), 0);
    if (!content.empty() && !in.read(reinterpret_cast<char*>(content.data()), info.st_size))
        return std::nullopt;
    return content;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> readBinaryFile(const std::string& path)
{
    return readWhole<std::vector<std::uint8_t>>(path);
}

std::optional<std::string> readTextFile(const std::string& path)
{
    return readWhole<std::string>(path);
}

static bool writeWithMode(const std::string& path, const std::string& text, const char* mode)
{
    std::FILE* f = std::fopen(path.c_str(), mode);
    if (!f)
        return false;
    bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    ok = std::fclose(f) == 0 && ok;
    return ok;
}

bool writeTextFile(const std::string& path, const std::string& text)
{
    return writeWithMode(path, text, "wb");
}

bool appendTextFile(const std::string& path, const std::string& text)
{
    return writeWithMode(path, text, "ab");
}

bool replaceTextFile(const std::string& path, const std::string& text)
{
    const std::string temporary = path + ".new";
    std::FILE* f = std::fopen(temporary.c_str(), "wb");
    if (!f)
        return false;
    bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    ok = std::fflush(f) == 0 && ok;
    ok = fsync(fileno(f)) == 0 && ok;
    ok = std::fclose(f) == 0 && ok;
    if (!ok || std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

static std::string executablePath()
{
    char buffer[4096];
    ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0)
        return "./Vrax";
    return std::string(buffer, static_cast<std::size_t>(n));
}

std::string currentDirectory()
{
    char here[4096];
    return getcwd(here, sizeof here) ? std::string(here) : std::string(".");
}

std::string executableDirectory()
{
    std::string path = executablePath();
    return path.substr(0, path.rfind('/') + 1);
}

std::string executableName()
{
    std::string path = executablePath();
    return path.substr(path.rfind('/') + 1);
}

}  // namespace platform
