// FXMLLoader: the interface elements and their loader. An interface XML file
// ("Interface/Menu/Interface.xml", "Interface/Game/Interface.xml") becomes
// three flat arrays of frames, textures and font strings that refer to each
// other by index; frames hold the Lua handler texts. The shell loads and
// unloads interfaces; drawing, input and the script functions read the arrays.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

enum ComponentKind : std::uint8_t { KindFrame = 0, KindTexture = 1, KindFontString = 2 };

enum AnchorPoint : std::uint8_t {
    AnchorTop = 0,
    AnchorBottom = 1,
    AnchorLeft = 2,
    AnchorRight = 3,
    AnchorCenter = 4,
    AnchorTopLeft = 5,
    AnchorBottomLeft = 6,
    AnchorTopRight = 7,
    AnchorBottomRight = 8,
};

// The anchor point a file names, matched case-insensitively; TOPLEFT for anything else.
AnchorPoint anchorPointOf(const std::string& name);

// Limits of one frame, and of frame nesting below the root.
constexpr int MaxFrameChildren = 512;
constexpr int MaxFrameDepth = 511;

class Component {
public:
    virtual ~Component() = default;
    virtual ComponentKind kind() const = 0;

    std::int32_t width = -1;   // -1: the parent frame's effective width
    std::int32_t height = -1;
    std::int32_t x = 0, y = 0;  // laid out each drawn frame
    std::int32_t effectiveWidth = 0, effectiveHeight = 0;
    bool hidden = false;
    bool isVirtual = false;  // a template
    std::string name;
    std::uint8_t point = AnchorTopLeft;
    std::uint8_t relativePoint = AnchorTopLeft;
    std::uint8_t relativeKind = KindFrame;
    std::int32_t relativeIndex = 0;
    std::string relativeTo;  // as written in the file, at most 255 characters
    std::int32_t offsetX = 0, offsetY = 0;
    std::int32_t parent = -1;  // index in frames; -1 for the root
    std::int32_t red = 255, green = 255, blue = 255;
};

struct ScriptsType {
    std::string OnLoad, OnUpdate, OnMouseUp, OnMouseDown, OnEvent, OnEnter, OnLeave, OnKeyDown;
};

class FrameType : public Component {
public:
    ComponentKind kind() const override { return KindFrame; }

    bool enableMouse = false;
    bool mouseInside = false;
    bool enableKeyboard = false;
    std::string background;
    std::int32_t backgroundTexture = 0;
    std::string border;
    std::int32_t borderTexture = 0;
    std::int32_t borderSize = 0;
    ScriptsType scripts;
    // Indices into frames, textures and fontStrings, in file order; at most
    // MaxFrameChildren each.
    std::vector<std::int32_t> children;
    std::vector<std::int32_t> textureList;
    std::vector<std::int32_t> fontStringList;
};

class TextureType : public Component {
public:
    ComponentKind kind() const override { return KindTexture; }

    std::string path;
    std::int32_t textureId = 0;
    float top = 0, right = 1, bottom = 1, left = 0;
};

class FontStringType : public Component {
public:
    ComponentKind kind() const override { return KindFontString; }

    std::int32_t size = 0;  // kept for scripts; text is not scaled
    std::string fontName = "Thorndale14";
    std::int32_t fontIndex = 0;
    std::string text;
};

// True once an interface has finished loading, false while one is being
// built or torn down: engine callbacks into scripts wait for it.
extern bool InterfaceReady;

// The current interface. frames[0] is the root "Interface", 1600 x 1200.
extern std::vector<std::unique_ptr<FrameType>> frames;
extern std::vector<std::unique_ptr<TextureType>> textures;
extern std::vector<std::unique_ptr<FontStringType>> fontStrings;

// Builds the interface of `path` into fresh arrays and a fresh Lua state, runs
// the load handlers, resolves anchors, logs "Interface Loaded" and sets
// InterfaceReady. A missing or malformed file leaves only what was built; a
// non-numeric attribute or a broken limit ends the load with EngineError.
void loadInterface(const std::string& path);
// Closes the Lua state, clears InterfaceReady and empties the three arrays.
void unloadInterface();

// Index of the first element of that name, or -1 (logged at Debug).
int findFrame(const std::string& name);
int findTexture(const std::string& name);
int findFontString(const std::string& name);

struct ComponentRef {
    ComponentKind kind = KindFrame;
    int index = -1;  // -1: not found
};
// Font strings first, then textures, then frames.
ComponentRef findComponent(const std::string& name);
// The element of that kind and index; null when there is none.
Component* componentAt(int kind, int index);
