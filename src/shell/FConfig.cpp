#include "shell/FConfig.h"

#include "platform/Files.h"
#include "platform/Ini.h"

#include <algorithm>

namespace {

const char* const Resolution = "Resolution";
const char* const PlayerInfo = "Player info";
const char* const Sound = "Sound";

int within(int value, int low, int high, int fallback)
{
    return value < low || value > high ? fallback : value;
}

std::string besideExecutable()
{
    std::string name = platform::executableName();
    std::size_t dot = name.rfind('.');
    if (dot != std::string::npos)
        name.resize(dot);
    return platform::executableDirectory() + name + ".cfg";
}

}  // namespace

TConfig::TConfig() : path_(besideExecutable()) {}

bool TConfig::exists() const
{
    return platform::fileExists(path_);
}

// A file that cannot be written leaves the defaults in effect: writes report nothing.
int TConfig::readWidth() const { return platform::IniFile(path_).readInteger(Resolution, "Resolution.Width", 1024); }
int TConfig::readHeight() const { return platform::IniFile(path_).readInteger(Resolution, "Resolution.Height", 768); }
bool TConfig::readWindowed() const { return platform::IniFile(path_).readBool(Resolution, "Windowed", true); }
bool TConfig::readFullscreen() const { return platform::IniFile(path_).readBool(Resolution, "Fullscreen", false); }

void TConfig::writeResolution(int width, int height) const
{
    platform::IniFile ini(path_);
    ini.writeInteger(Resolution, "Resolution.Width", width);
    ini.writeInteger(Resolution, "Resolution.Height", height);
}

void TConfig::writeWindowed(bool flag) const { platform::IniFile(path_).writeBool(Resolution, "Windowed", flag); }
void TConfig::writeFullscreen(bool flag) const { platform::IniFile(path_).writeBool(Resolution, "Fullscreen", flag); }

int TConfig::readWindowWidth() const
{
    return within(platform::IniFile(path_).readInteger(Resolution, "Window.Width", 1024), 320, 7680, 1024);
}

int TConfig::readWindowHeight() const
{
    return within(platform::IniFile(path_).readInteger(Resolution, "Window.Height", 764), 240, 4320, 764);
}

int TConfig::readEffectsVolume() const
{
    return std::clamp(platform::IniFile(path_).readInteger(Sound, "Effects volume", 100), 0, 100);
}

int TConfig::readMusicVolume() const
{
    return std::clamp(platform::IniFile(path_).readInteger(Sound, "Music volume", 80), 0, 100);
}

bool TConfig::writeOptions(const TOptions& options) const
{
    return platform::IniFile(path_).writeValues({
        {Resolution, "Window.Width", std::to_string(options.windowWidth)},
        {Resolution, "Window.Height", std::to_string(options.windowHeight)},
        {Resolution, "Fullscreen", options.fullscreen ? "1" : "0"},
        {Sound, "Effects volume", std::to_string(options.effectsVolume)},
        {Sound, "Music volume", std::to_string(options.musicVolume)},
    });
}

TOptions readOptions(const TConfig& config)
{
    TOptions options;
    options.windowWidth = config.readWindowWidth();
    options.windowHeight = config.readWindowHeight();
    options.fullscreen = config.readFullscreen();
    options.effectsVolume = config.readEffectsVolume();
    options.musicVolume = config.readMusicVolume();
    return options;
}

std::string TConfig::readNickname() const
{
    return platform::IniFile(path_).readString(PlayerInfo, "Nickname", "Unknown soldier");
}

void TConfig::writeNickname(const std::string& text) const
{
    platform::IniFile(path_).writeString(PlayerInfo, "Nickname", text);
}

std::string TConfig::readDefaultServerName() const
{
    return platform::IniFile(path_).readString(PlayerInfo, "Default server name", "Vrax server");
}

void TConfig::writeDefaultServerName(const std::string& text) const
{
    platform::IniFile(path_).writeString(PlayerInfo, "Default server name", text);
}


TWindowSettings readStartupConfig(const TConfig& config)
{
    if (!config.exists()) {
        config.writeResolution(1024, 768);
        config.writeWindowed(true);
        config.writeFullscreen(false);
    }
    TWindowSettings settings;
    settings.windowed = config.readWindowed();
    settings.fullscreen = config.readFullscreen();
    settings.width = config.readWidth();
    settings.height = config.readHeight();
    return settings;
}
