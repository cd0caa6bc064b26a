// FLogs: the engine's one log, "Logs/log.txt", restarted at every start.
// Every module writes timestamped lines through log(); a line at level 2
// also raises EngineError, which ends the current window event.
#pragma once

#include <functional>
#include <stdexcept>
#include <string>

// Raised by a level-2 log line and by input/output failures that end the
// current operation; the window loop reports it and goes on.
class EngineError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum LogLevel { LogDebug = 0, LogWarning = 1, LogError = 2 };

// Creates "Logs" if needed and starts "Logs/log.txt" with its Initialisation line.
void startLog();
// Appends "hh:mm:ss:zzz Level: message" with CRLF; level 2 then throws EngineError.
void log(const std::string& message, int level);

// "Addline : " + text at level Debug: the log half of a console line.
void logLine(const std::string& text);

// Where a console line goes after the log: set by whoever shows it (the
// script host hands it to the script function AddLine); unset, the line is
// only logged. Chat and diagnostics below the interface reach it this way.
extern std::function<void(const std::string& text)> ConsoleLineHook;
// logLine, then ConsoleLineHook.
void addLine(const std::string& text);

// The level word of a level number; empty for unknown levels.
std::string levelWord(int level);
// The local wall-clock time as "hh:mm:ss:zzz".
std::string logTimestamp();
