#include "shell/FLogs.h"

#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/Text.h"

#include <cstdio>

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
    const platform::LocalTime t = platform::localTime();
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d:%03d", t.date.tm_hour, t.date.tm_min, t.date.tm_sec, t.millis);
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

void logLine(const std::string& text)
{
    log("Addline : " + text, LogDebug);
}

std::function<void(const std::string& text)> ConsoleLineHook;

void addLine(const std::string& text)
{
    logLine(text);
    if (ConsoleLineHook)
        ConsoleLineHook(text);
}
