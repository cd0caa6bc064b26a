#include "shell/FLogs.h"

#include "platform/Files.h"
#include "platform/Text.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace {

const char* const LogDirectory = "Logs";
const char* const LogPath = "Logs/log.txt";

// Engine text is Latin-1 unless it already is UTF-8 (text from UTF-8 files);
// the log is always UTF-8.
std::string forLog(const std::string& text)
{
    return platform::isValidUtf8(text) ? text : platform::latin1ToUtf8(text);
}

}  // namespace

std::string levelWord(int level)
{
    switch (level) {
    case LogDebug: return "Debug";
    case LogWarning: return "Warning";
    case LogError: return "Error";
    default: return "";
    }
}

std::string logTimestamp()
{
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    const long millis = static_cast<long>(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000);
    std::tm local{};
    localtime_r(&seconds, &local);
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d:%03ld", local.tm_hour, local.tm_min, local.tm_sec, millis);
    return text;
}

void startLog()
{
    if (!platform::createDirectory(LogDirectory))
        throw EngineError("Cannot create the directory \"Logs\"");
    if (!platform::writeTextFile(LogPath, logTimestamp() + " Initialisation\r\n"))
        throw EngineError("Cannot write \"Logs/log.txt\"");
}

void log(const std::string& message, int level)
{
    const std::string line = logTimestamp() + " " + levelWord(level) + ": " + forLog(message) + "\r\n";
    if (!platform::appendTextFile(LogPath, line))
        throw EngineError("Cannot write \"Logs/log.txt\"");
    if (level == LogError)
        throw EngineError(message);
}
