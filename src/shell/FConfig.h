// FConfig: the INI file beside the executable ("Vrax.cfg" for "Vrax") with
// the resolution, the two window-mode switches, the nickname, the default
// server name and the two sound volumes. TConfig holds no state: every call opens and closes the file.
#pragma once

#include <string>

class TConfig {
public:
    // The file beside the running executable, named after it.
    TConfig();
    explicit TConfig(std::string path) : path_(std::move(path)) {}

    const std::string& path() const { return path_; }
    bool exists() const;

    int readWidth() const;
    int readHeight() const;
    bool readWindowed() const;
    bool readFullscreen() const;
    void writeResolution(int width, int height) const;
    void writeWindowed(bool flag) const;
    void writeFullscreen(bool flag) const;

    std::string readNickname() const;
    void writeNickname(const std::string& text) const;
    std::string readDefaultServerName() const;
    void writeDefaultServerName(const std::string& text) const;

    // Section "Sound", keys "Effects volume" (100 when absent) and "Music
    // volume" (80), each 0..255.
    int readEffectsVolume() const;
    int readMusicVolume() const;
    void writeEffectsVolume(int volume) const;
    void writeMusicVolume(int volume) const;

private:
    std::string path_;
};

// The window-mode settings the shell reads at start-up.
struct TWindowSettings {
    bool windowed = true;
    bool fullscreen = false;
    int width = 1024;
    int height = 768;
};

// Creates the file with its four "Resolution" keys when it is missing, then
// reads Windowed, Fullscreen, Resolution.Width and Resolution.Height.
TWindowSettings readStartupConfig(const TConfig& config);
