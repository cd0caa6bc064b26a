// Helpers shared by the tests: a scratch folder to run in, small file
// helpers, a private X server, and a copy of the game started in a folder.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace testing_support {

// Makes a fresh temporary folder and enters it; leaves and removes it on destruction.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
    std::string previous_;
};

void writeFile(const std::string& path, const std::string& text);
std::string readFile(const std::string& path);
std::vector<std::string> readLines(const std::string& path);  // CR kept, LF removed

// Runs a shell command; its exit status.
int run(const std::string& command);
// Runs a shell command and returns what it printed.
std::string capture(const std::string& command);

// The id of the game's window (caption "Vrax") on `display`, waiting up to 20 s; empty if none.
std::string findGameWindow(const std::string& display);

// A private X server for one test; killed on destruction.
class Xvfb {
public:
    Xvfb();
    ~Xvfb();
    Xvfb(const Xvfb&) = delete;
    Xvfb& operator=(const Xvfb&) = delete;
    bool ok() const { return display_ >= 0; }
    std::string display() const { return ":" + std::to_string(display_); }

private:
    int display_ = -1;
    int pid_ = -1;
};

// A copy of the game running in a folder of its own.
class GameProcess {
public:
    // Copies the built game folder (the binary with its content, without the
    // log, configuration and screenshots of an earlier run) into `folder`,
    // writes `files` (path in the folder, text) over it, and starts it there,
    // inside the network namespace `netns` when one is named, otherwise (as
    // root) in a fresh one with only loopback. With `startIn` named, the game
    // is started from that folder instead, as from a shell elsewhere (its
    // stdout.txt, log and screenshots are written there).
    GameProcess(const std::string& folder, const std::string& display,
                const std::vector<std::pair<std::string, std::string>>& files = {}, const std::string& netns = "",
                const std::string& startIn = "");
    ~GameProcess();
    GameProcess(const GameProcess&) = delete;
    GameProcess& operator=(const GameProcess&) = delete;
    // Waits up to `seconds` for the process to end; its exit status, or -1.
    int waitExit(double seconds);
    bool running();

private:
    int pid_ = -1;
    int status_ = -1;
};

}  // namespace testing_support
