// vrax-musicgen GAME_FOLDER [--wav]: composes the two music tracks into
// GAME_FOLDER/Sounds/stream/ (MenuTheme.mp3, GameTheme.ogg); with --wav also
// the synthesiser's own output beside them, to listen to before encoding.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "Encode.h"
#include "Themes.h"

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s GAME_FOLDER [--wav]\n", argv[0]);
        return 2;
    }
    const bool wav = argc > 2 && std::strcmp(argv[2], "--wav") == 0;
    const std::string folder = std::string(argv[1]) + "/Sounds/stream/";
    std::error_code error;
    std::filesystem::create_directories(folder, error);

    const music::Track menu = music::menuTheme();
    const music::Track game = music::gameTheme();
    bool ok = music::writeMp3(folder + "MenuTheme.mp3", menu);
    ok = music::writeOgg(folder + "GameTheme.ogg", game, "Vrax game theme") && ok;
    if (wav) {
        ok = music::writeWav(folder + "MenuTheme.wav", menu) && ok;
        ok = music::writeWav(folder + "GameTheme.wav", game) && ok;
    }
    if (!ok) {
        std::fprintf(stderr, "vrax-musicgen: cannot write the music into %s\n", folder.c_str());
        return 1;
    }
    return 0;
}
