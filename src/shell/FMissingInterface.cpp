#include "shell/FMissingInterface.h"

#include "interface/FFonts.h"
#include "interface/FText.h"
#include "interface/FXMLLoader.h"
#include "platform/Files.h"
#include "shell/FLogs.h"

#include <cstdio>
#include <exception>
#include <memory>

namespace {

// Font strings on the bare root frame, one per line, from the top left.
void showOnWindow(const std::vector<std::string>& lines, const std::string& gameFolder)
{
    const int heading = fontIndexOfFile(gameFolder + "/Fonts/ThorndaleBold32.glf");
    const int body = fontIndexOfFile(gameFolder + "/Fonts/Thorndale24.glf");
    int y = 240;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        auto line = std::make_unique<FontStringType>();
        line->name = "MissingInterfaceLine" + std::to_string(i + 1);
        line->parent = 0;
        line->relativeIndex = 0;
        line->fontIndex = i == 0 ? heading : body;
        line->text = lines[i];
        line->offsetX = 120;
        line->offsetY = y;
        const TTextExtent size = textExtent(line->fontIndex, line->text);
        line->width = size.width;
        line->height = size.height;
        if (i == 0)
            line->blue = 140;
        y += i == 0 ? 80 : 44;
        frames[0]->fontStringList.push_back(static_cast<std::int32_t>(fontStrings.size()));
        fontStrings.push_back(std::move(line));
    }
}

}  // namespace

std::vector<std::string> missingInterfaceMessage(const std::string& path, const std::string& folder,
                                                 const std::string& gameFolder)
{
    return {"Vrax cannot find its interface file",
            "    " + path,
            "in the folder it reads its content from, the folder it was started from:",
            "    " + folder,
            "Start the game from its own folder:",
            "    cd " + gameFolder + " && ./Vrax",
            "",
            "Escape closes this window."};
}

void reportMissingInterface(const std::string& path)
{
    std::string gameFolder = platform::executableDirectory();
    if (gameFolder.size() > 1 && gameFolder.back() == '/')
        gameFolder.pop_back();
    const std::string folder = platform::currentDirectory();
    const std::vector<std::string> lines = missingInterfaceMessage(path, folder, gameFolder);
    std::fprintf(stderr, "Vrax cannot find its interface file %s in the folder %s, where it reads its content.\n"
                         "Start the game from its own folder: cd %s && ./Vrax\n",
                 path.c_str(), folder.c_str(), gameFolder.c_str());
    std::fflush(stderr);
    log("Cannot find " + path + " in " + folder + "; the game is started from another folder than its own (" +
            gameFolder + ")",
        LogWarning);
    try {
        showOnWindow(lines, gameFolder);
    } catch (const std::exception&) {
        // The executable was copied without its fonts: stderr and the log have said it.
    }
}
