// Copies of the real game that draw nothing and are watched and commanded
// through the probe (VRAX_PROBE): each runs in a folder and, when one is
// named, a network namespace of its own, with the offscreen video driver and
// VRAX_DRAW=0. A test reads any copy's unit table and appends command lines
// for it: the lobby's script functions by "lua", the player's requests by
// "order", "cast", "research", "damage", "build".
#pragma once

#include "TestSupport.h"

#include <fcntl.h>
#include <sched.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace testing_support {

struct ProbedUnit {
    int index = 0, id = 0, type = 0, owner = 0, cellX = 0, cellY = 0;
    long posX = 0, posY = 0, hp = 0, mp = 0;
    std::vector<long> stats;  // maxHp maxMp damage defense speed atkSpeed atkRange scale
    bool alive = false, outside = true, building = false;
    int order = 0;
    std::vector<int> effects;  // ability ids
};

struct ProbedTable {
    int number = 0;  // how many tables the copy has written
    long tick = 0, clock = 0, gold = 0, wood = 0;
    int player = 0;
    std::vector<std::string> researched;  // "<player> <name>"
    std::vector<ProbedUnit> units;

    std::vector<const ProbedUnit*> ownedBy(int owner) const
    {
        std::vector<const ProbedUnit*> out;
        for (const ProbedUnit& u : units)
            if (u.owner == owner)
                out.push_back(&u);
        return out;
    }
    const ProbedUnit* byId(int id) const
    {
        for (const ProbedUnit& u : units)
            if (u.id == id)
                return &u;
        return nullptr;
    }
};

inline ProbedTable parseProbedTable(const std::string& text)
{
    ProbedTable t;
    std::istringstream lines(text);
    std::string line, word;
    while (std::getline(lines, line)) {
        std::istringstream in(line);
        in >> word;
        if (word == "table") {
            in >> t.number;
        } else if (word == "game") {
            std::string k;
            long hosting = 0, units = 0;
            in >> k >> t.tick >> k >> t.clock >> k >> t.player >> k >> hosting >> k >> t.gold >> k >> t.wood >> k >>
                units;
        } else if (word == "researched") {
            std::string rest;
            std::getline(in, rest);
            t.researched.push_back(rest.substr(rest.find_first_not_of(' ')));
        } else if (word == "unit") {
            ProbedUnit u;
            std::string k;
            int alive = 0, outside = 0, building = 0, effects = 0;
            in >> u.index >> k >> u.id >> k >> u.type >> k >> u.owner >> k >> u.cellX >> u.cellY >> k >> u.posX >>
                u.posY >> k >> u.hp >> k >> u.mp >> k;
            u.stats.resize(8);
            for (long& s : u.stats)
                in >> s;
            in >> k >> alive >> k >> outside >> k >> building >> k >> u.order >> k >> effects;
            u.effects.resize(static_cast<std::size_t>(effects));
            for (int& e : u.effects)
                in >> e;
            u.alive = alive;
            u.outside = outside;
            u.building = building;
            t.units.push_back(u);
        }
    }
    return t;
}

class ProbedCopy {
public:
    std::string game;  // its folder

    // Copies the built game into `folder`, writes `files` over it and starts
    // it there, inside `netns` when one is named.
    void start(const std::string& folder, const std::string& netns,
               const std::vector<std::pair<std::string, std::string>>& files = {})
    {
        namespace fs = std::filesystem;
        game = folder;
        fs::create_directories(folder + "/probe");
        for (const fs::directory_entry& entry : fs::directory_iterator(VRAX_BINARY_DIR "/game")) {
            const std::string name = entry.path().filename().string();
            if (name != "Logs" && name != "Vrax.cfg" && name != "Screenshots")
                fs::copy(entry.path(), folder + "/" + name,
                         fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        }
        fs::copy_file(VRAX_BINARY_DIR "/Vrax", folder + "/Vrax", fs::copy_options::overwrite_existing);
        for (const auto& [path, text] : files)
            writeFile(folder + "/" + path, text);
        writeFile(folder + "/probe/commands.txt", "");
        pid_ = fork();
        if (pid_ == 0) {
            if (chdir(folder.c_str()) != 0)
                _exit(126);
            prctl(PR_SET_PDEATHSIG, SIGKILL);
            if (!netns.empty()) {
                const int ns = open(("/var/run/netns/" + netns).c_str(), O_RDONLY | O_CLOEXEC);
                if (ns < 0 || setns(ns, CLONE_NEWNET) != 0)
                    _exit(125);
            }
            setenv("SDL_VIDEODRIVER", "offscreen", 1);
            setenv("SDL_AUDIODRIVER", "dummy", 1);
            setenv("VRAX_DRAW", "0", 1);
            setenv("VRAX_PROBE", (folder + "/probe").c_str(), 1);
            const int out = open("stdout.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
            dup2(out, 1);
            dup2(out, 2);
            execl((folder + "/Vrax").c_str(), "Vrax", static_cast<char*>(nullptr));
            _exit(127);
        }
    }
    ~ProbedCopy() { stop(); }

    void stop()
    {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
            pid_ = -1;
        }
    }

    void command(const std::string& line) { appendFile(game + "/probe/commands.txt", line + "\n"); }
    std::string log() const { return readFile(game + "/Logs/log.txt"); }
    bool logHas(const std::string& text) const { return log().find(text) != std::string::npos; }
    bool waitForLog(const std::string& text, double seconds = 10) const
    {
        return waitUntil([&] { return logHas(text); }, seconds);
    }
    ProbedTable table() const { return parseProbedTable(readFile(game + "/probe/units.txt")); }
    // Waits for a table written after this call that satisfies `seen`; the last one read.
    ProbedTable waitTable(const std::function<bool(const ProbedTable&)>& seen, double seconds = 20) const
    {
        const int after = table().number;
        ProbedTable t;
        waitUntil(
            [&] {
                t = table();
                return t.number > after && seen(t);
            },
            seconds);
        return t;
    }

    static bool waitUntil(const std::function<bool()>& done, double seconds)
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        while (!done()) {
            if (std::chrono::steady_clock::now() > end)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return true;
    }

private:
    int pid_ = -1;

    static void appendFile(const std::string& path, const std::string& text)
    {
        std::FILE* f = std::fopen(path.c_str(), "a");
        if (f) {
            std::fputs(text.c_str(), f);
            std::fclose(f);
        }
    }
};

}  // namespace testing_support
