// FConfig: the INI file beside the executable ("Vrax.cfg" for "Vrax") with
// the resolution, the two window-mode switches, the nickname and the default
// server name, and what the Options screen stores: the window's size and the
// effects and music volumes. TConfig holds no state: every call opens and
// closes the file.
#pragma once

#include <string>

struct TOptions;

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

    // The client area of the window when it is not full screen; a size
    // outside 320 x 240 to 7680 x 4320 gives the default 1024 x 764.
    int readWindowWidth() const;
    int readWindowHeight() const;
    // 0 to 100; the sound uses 100 and 80 until the Options screen stores others.
    int readEffectsVolume() const;
    int readMusicVolume() const;
    // Everything the Options screen sets, in one replacement of the file.
    bool writeOptions(const TOptions& options) const;

    std::string readNickname() const;
    void writeNickname(const std::string& text) const;
    std::string readDefaultServerName() const;
    void writeDefaultServerName(const std::string& text) const;

private:
    std::string path_;
};

// What the Options screen shows and stores.
struct TOptions {
    int windowWidth = 1024;
    int windowHeight = 764;
    bool fullscreen = false;
    int effectsVolume = 100;
    int musicVolume = 80;
};
TOptions readOptions(const TConfig& config);

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
