// vrax-sim: plays a scenario with the game's own rules, without a window,
// sound or network, as fast as the machine allows, and prints who is left.
//   vrax-sim [--game FOLDER] SCENARIO
// The rules read Data/ and Maps/ from the game folder: FOLDER, else the
// folder this program sits in when it holds Data/, else the working folder.
// A scenario path is tried from the working folder first, then from the game folder.
#include "Scenario.h"
#include "ScenarioRun.h"

#include "platform/Files.h"

#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>

namespace {

int usage()
{
    std::cerr << "usage: vrax-sim [--game FOLDER] SCENARIO\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string folder;
    std::string scenarioPath;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--game") == 0 && i + 1 < argc)
            folder = argv[++i];
        else if (argv[i][0] == '-' || !scenarioPath.empty())
            return usage();
        else
            scenarioPath = argv[i];
    }
    if (scenarioPath.empty())
        return usage();

    namespace fs = std::filesystem;
    std::error_code error;
    if (folder.empty())
        folder = fs::is_directory(platform::executableDirectory() + "Data") ? platform::executableDirectory() : ".";
    if (fs::exists(scenarioPath, error))
        scenarioPath = fs::absolute(scenarioPath, error).string();
    fs::current_path(folder, error);
    if (error) {
        std::cerr << "vrax-sim: cannot enter the game folder \"" << folder << "\": " << error.message() << "\n";
        return 2;
    }

    const Scenario scenario = ReadScenarioFile(scenarioPath);
    return PlayScenario(scenario, std::cout, std::cerr);
}
