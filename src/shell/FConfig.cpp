#include "shell/FConfig.h"

#include "platform/Files.h"
#include "platform/Ini.h"

namespace {

const char* const Resolution = "Resolution";
const char* const PlayerInfo = "Player info";
const char* const Sound = "Sound";

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

int TConfig::readEffectsVolume() const { return platform::IniFile(path_).readInteger(Sound, "Effects volume", 100); }
int TConfig::readMusicVolume() const { return platform::IniFile(path_).readInteger(Sound, "Music volume", 80); }
void TConfig::writeEffectsVolume(int volume) const { platform::IniFile(path_).writeInteger(Sound, "Effects volume", volume); }
void TConfig::writeMusicVolume(int volume) const { platform::IniFile(path_).writeInteger(Sound, "Music volume", volume); }

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
