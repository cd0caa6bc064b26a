#include "interface/FXMLLoader.h"

#include "assets/FTextures.h"
#include "interface/FFonts.h"
#include "interface/FText.h"
#include "platform/Files.h"
#include "script/FLua.h"
#include "shell/FDocument.h"
#include "shell/FLogs.h"

#include <algorithm>
#include <cctype>

bool InterfaceReady = false;
std::vector<std::unique_ptr<FrameType>> frames;
std::vector<std::unique_ptr<TextureType>> textures;
std::vector<std::unique_ptr<FontStringType>> fontStrings;

namespace {

// Template copies can multiply: a few lines of XML may ask for millions of
// elements. No real interface comes near this.
constexpr std::size_t MaxElements = 100000;
// Plain grouping tags ("Ui", "Frames", "Scripts") may nest too; bounded so
// that a hostile file cannot exhaust the stack.
constexpr int MaxTagDepth = 2048;
constexpr std::size_t MaxRelativeToLength = 255;

// A broken limit or a bad number: ends the whole load.
class LoadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// State of one load, including nested "Include" files.
struct TLoader {
    TXmlDocument document;
    std::vector<int> openFrames;          // open-frame stack; [0] is the root
    std::vector<std::string> openFiles;   // include chain, to refuse cycles
    int tagDepth = 0;
};

TLoader* loader = nullptr;

FrameType& topFrame()
{
    return *frames[static_cast<std::size_t>(loader->openFrames.back())];
}

std::string frameName(int index)
{
    return index >= 0 && static_cast<std::size_t>(index) < frames.size() ? frames[static_cast<std::size_t>(index)]->name
                                                                          : std::string();
}

// Names with several "$parent" in nested templates can double at every
// level; past this length a file is taken to be hostile.
constexpr std::size_t MaxNameLength = 4096;

std::string replaceParent(std::string text, const std::string& parentName)
{
    static const std::string Token = "$parent";
    for (std::size_t at = text.find(Token); at != std::string::npos; at = text.find(Token, at + parentName.size())) {
        if (text.size() - Token.size() + parentName.size() > MaxNameLength)
            throw LoadError("a name grows beyond " + std::to_string(MaxNameLength) + " characters through $parent");
        text.replace(at, Token.size(), parentName);
    }
    return text;
}

template <typename T>
int append(std::vector<std::unique_ptr<T>>& array)
{
    if (array.size() >= MaxElements)
        throw LoadError("more than " + std::to_string(MaxElements) + " interface elements");
    array.push_back(std::make_unique<T>());
    return static_cast<int>(array.size()) - 1;
}

void addIndex(std::vector<std::int32_t>& list, int index, const char* what)
{
    if (list.size() >= static_cast<std::size_t>(MaxFrameChildren))
        throw LoadError(std::string("a frame holds more than ") + std::to_string(MaxFrameChildren) + " " + what);
    list.push_back(index);
}

// ----- templates ---------------------------------------------------------

void copyFrameTemplate(int n, int t);

void copyComponent(Component& n, const Component& t)
{
    n.width = t.width;
    n.height = t.height;
    n.hidden = t.hidden;
    n.red = t.red;
    n.green = t.green;
    n.blue = t.blue;
    n.isVirtual = false;
    n.point = t.point;
    n.relativePoint = t.relativePoint;
    n.relativeKind = t.relativeKind;
    n.relativeIndex = t.relativeIndex;
    n.offsetX = t.offsetX;
    n.offsetY = t.offsetY;
}

// Inside a template being defined, "$parent" stays as written; in a real
// instance it becomes the parent frame's name.
void copyNames(Component& n, const Component& t)
{
    const Component* e = &n;
    while (!e->isVirtual && e->parent > 0 && static_cast<std::size_t>(e->parent) < frames.size())
        e = frames[static_cast<std::size_t>(e->parent)].get();
    if (e->isVirtual || n.parent == 0) {
        n.name = t.name;
        n.relativeTo = t.relativeTo;
    } else {
        const std::string parentName = frameName(n.parent);
        n.name = replaceParent(t.name, parentName);
        n.relativeTo = replaceParent(t.relativeTo, parentName).substr(0, MaxRelativeToLength);
    }
}

void copyTextureTemplate(int n, int t)
{
    TextureType& N = *textures[static_cast<std::size_t>(n)];
    const TextureType& T = *textures[static_cast<std::size_t>(t)];
    N.path = T.path;
    N.textureId = T.textureId;
    N.top = T.top;
    N.right = T.right;
    N.bottom = T.bottom;
    N.left = T.left;
    copyComponent(N, T);
    copyNames(N, T);
}

void measure(FontStringType& s)
{
    const TTextExtent extent = textExtent(s.fontIndex, s.text);
    s.width = extent.width;
    s.height = extent.height;
}

void copyFontStringTemplate(int n, int t)
{
    FontStringType& N = *fontStrings[static_cast<std::size_t>(n)];
    const FontStringType& T = *fontStrings[static_cast<std::size_t>(t)];
    N.size = T.size;
    N.fontName = T.fontName;
    N.fontIndex = T.fontIndex;
    N.text = T.text;
    copyComponent(N, T);
    measure(N);  // after the copied width, which the text always overrides
    copyNames(N, T);
}

// The elements of a copied subtree start from the defaults of their kind.
template <typename T>
int appendChild(std::vector<std::unique_ptr<T>>& array, int parent)
{
    const int index = append(array);
    T& element = *array[static_cast<std::size_t>(index)];
    element.parent = parent;
    element.relativeIndex = parent;
    return index;
}

void copyFrameTemplate(int n, int t)
{
    FrameType& N = *frames[static_cast<std::size_t>(n)];
    const FrameType& T = *frames[static_cast<std::size_t>(t)];
    N.enableMouse = T.enableMouse;
    N.mouseInside = T.mouseInside;
    N.enableKeyboard = T.enableKeyboard;
    N.background = T.background;
    N.backgroundTexture = T.backgroundTexture;
    N.border = T.border;
    N.borderTexture = T.borderTexture;
    N.borderSize = T.borderSize;
    N.scripts = T.scripts;
    if (!T.isVirtual)
        N.name = replaceParent(T.name, frameName(N.parent));
    // N is new and not yet in any list, so T's lists cannot grow under us.
    for (std::int32_t child : T.children) {
        const int c = appendChild(frames, n);
        addIndex(N.children, c, "child frames");
        copyFrameTemplate(c, child);
    }
    for (std::int32_t child : T.textureList) {
        const int c = appendChild(textures, n);
        addIndex(N.textureList, c, "textures");
        copyTextureTemplate(c, child);
    }
    for (std::int32_t child : T.fontStringList) {
        const int c = appendChild(fontStrings, n);
        addIndex(N.fontStringList, c, "font strings");
        copyFontStringTemplate(c, child);
    }
    copyComponent(N, T);
    copyNames(N, T);
}

// ----- attributes --------------------------------------------------------

void applyAnchor(Component& c, const TXmlNode& anchor)
{
    if (anchor.hasAttribute("x"))
        c.offsetX = anchor.attributeInt("x");
    if (anchor.hasAttribute("y"))
        c.offsetY = anchor.attributeInt("y");
    if (anchor.hasAttribute("point"))
        c.point = anchorPointOf(anchor.attribute("point"));
    if (anchor.hasAttribute("relativePoint"))
        c.relativePoint = anchorPointOf(anchor.attribute("relativePoint"));
    if (anchor.hasAttribute("relativeTo"))
        c.relativeTo = anchor.attribute("relativeTo").substr(0, MaxRelativeToLength);
}

void applyCommon(Component& c, const TXmlNode& node)
{
    if (node.hasAttribute("name"))
        c.name = node.attribute("name");
    if (node.hasAttribute("width"))
        c.width = node.attributeInt("width");
    if (node.hasAttribute("height"))
        c.height = node.attributeInt("height");
    if (node.hasAttribute("hidden"))
        c.hidden = node.attribute("hidden") == "true";
    if (node.hasAttribute("virtual"))
        c.isVirtual = node.attribute("virtual") == "true";
    if (node.hasAttribute("r"))
        c.red = node.attributeInt("r");
    if (node.hasAttribute("g"))
        c.green = node.attributeInt("g");
    if (node.hasAttribute("b"))
        c.blue = node.attributeInt("b");
    for (TXmlNode child = node.firstChild(); child; child = child.nextSibling())
        if (child.name() == "Anchor")
            applyAnchor(c, child);
}

void applyFrameAttributes(FrameType& f, const TXmlNode& node)
{
    if (node.attribute("EnableMouse") == "true")
        f.enableMouse = true;
    if (node.attribute("EnableKeyboard") == "true")
        f.enableKeyboard = true;
    if (node.hasAttribute("Background")) {
        f.background = node.attribute("Background");
        f.backgroundTexture = static_cast<std::int32_t>(LoadTexture(f.background));
    }
    if (node.hasAttribute("Border")) {
        f.border = node.attribute("Border");
        f.borderTexture = static_cast<std::int32_t>(LoadTexture(f.border));
    }
    if (node.hasAttribute("BorderSize"))
        f.borderSize = node.attributeInt("BorderSize");
}

void applyTextureAttributes(TextureType& t, const TXmlNode& node)
{
    if (node.hasAttribute("path")) {
        t.path = node.attribute("path");
        t.textureId = static_cast<std::int32_t>(LoadTexture(t.path));
    }
    // Written in percent.
    if (node.hasAttribute("top"))
        t.top = static_cast<float>(node.attributeReal("top") / 100);
    if (node.hasAttribute("left"))
        t.left = static_cast<float>(node.attributeReal("left") / 100);
    if (node.hasAttribute("bottom"))
        t.bottom = static_cast<float>(node.attributeReal("bottom") / 100);
    if (node.hasAttribute("right"))
        t.right = static_cast<float>(node.attributeReal("right") / 100);
}

void applyFontStringAttributes(FontStringType& s, const TXmlNode& node)
{
    if (node.hasAttribute("size"))
        s.size = node.attributeInt("size");
    if (node.hasAttribute("font")) {
        s.fontName = node.attribute("font");
        s.fontIndex = fontIndexOf(s.fontName);
    }
    if (node.hasAttribute("text"))
        s.text = node.attribute("text");
}

// ----- the element table -------------------------------------------------

void handleElement(const TXmlNode& node);
void loadFile(const std::string& path);

void walkChildren(const TXmlNode& node)
{
    for (TXmlNode child = node.firstChild(); child; child = child.nextSibling())
        if (!child.name().empty())
            handleElement(child);
}

// A template's descendants are templates too: they run no load handler.
bool insideTemplate(int index)
{
    for (std::size_t steps = 0; index >= 0 && static_cast<std::size_t>(index) < frames.size() && steps <= frames.size();
         ++steps) {
        const FrameType& f = *frames[static_cast<std::size_t>(index)];
        if (f.isVirtual)
            return true;
        index = f.parent;
    }
    return false;
}

void createFrame(const TXmlNode& node)
{
    if (loader->openFrames.size() > static_cast<std::size_t>(MaxFrameDepth))
        throw LoadError("frames nest more than " + std::to_string(MaxFrameDepth) + " deep");
    const int f = append(frames);
    const int enclosing = loader->openFrames.back();
    loader->openFrames.push_back(f);
    FrameType& F = *frames[static_cast<std::size_t>(f)];

    int parent = -1;
    if (node.hasAttribute("parent")) {
        const int found = findFrame(node.attribute("parent"));
        if (found != f)  // a frame cannot be its own parent
            parent = found;
    }
    F.parent = parent >= 0 ? parent : enclosing;
    F.relativeIndex = F.parent;
    if (node.hasAttribute("name"))
        F.name = node.attribute("name");
    if (node.hasAttribute("inherit")) {
        const int t = findFrame(node.attribute("inherit"));
        if (t >= 0)
            copyFrameTemplate(f, t);
    }
    applyCommon(F, node);
    applyFrameAttributes(F, node);
    addIndex(frames[static_cast<std::size_t>(enclosing)]->children, f, "child frames");

    walkChildren(node);

    if (!F.scripts.OnLoad.empty() && !insideTemplate(f)) {
        setGlobalString("self", F.name);
        const std::string handler = F.scripts.OnLoad;
        runString(handler);
    }
    loader->openFrames.pop_back();
}

void createTexture(const TXmlNode& node)
{
    const int i = append(textures);
    TextureType& T = *textures[static_cast<std::size_t>(i)];
    T.parent = T.relativeIndex = loader->openFrames.back();
    if (node.hasAttribute("name"))
        T.name = node.attribute("name");
    if (node.hasAttribute("inherit")) {
        const int t = findTexture(node.attribute("inherit"));
        if (t >= 0)
            copyTextureTemplate(i, t);
    }
    applyCommon(T, node);
    applyTextureAttributes(T, node);
    addIndex(topFrame().textureList, i, "textures");
}

void createFontString(const TXmlNode& node)
{
    const int i = append(fontStrings);
    FontStringType& S = *fontStrings[static_cast<std::size_t>(i)];
    S.parent = S.relativeIndex = loader->openFrames.back();
    S.fontIndex = fontIndexOf(S.fontName);
    if (node.hasAttribute("name"))
        S.name = node.attribute("name");
    if (node.hasAttribute("inherit")) {
        const int t = findFontString(node.attribute("inherit"));
        if (t >= 0)
            copyFontStringTemplate(i, t);
    }
    applyCommon(S, node);
    applyFontStringAttributes(S, node);
    addIndex(topFrame().fontStringList, i, "font strings");
    measure(S);
}

void logScript(const TXmlNode& node)
{
    if (node.hasAttribute("file"))
        logLine(node.attribute("file"));
    const std::string text = node.text();
    if (!text.empty())
        logLine(text);
}

void include(const TXmlNode& node)
{
    if (node.hasAttribute("lua"))
        runFile(node.attribute("lua"));
    if (node.hasAttribute("xml"))
        loadFile(node.attribute("xml"));
}

void setHandler(std::string ScriptsType::*handler, const TXmlNode& node)
{
    topFrame().scripts.*handler = node.text();
}

struct TElementHandler {
    const char* tag;
    void (*handle)(const TXmlNode&);
};

const TElementHandler ElementTable[] = {
    {"Ui", walkChildren},
    {"Frames", walkChildren},
    {"Scripts", walkChildren},
    {"Script", logScript},
    {"Include", include},
    {"OnLoad", [](const TXmlNode& n) { setHandler(&ScriptsType::OnLoad, n); }},
    {"OnUpdate", [](const TXmlNode& n) { setHandler(&ScriptsType::OnUpdate, n); }},
    {"OnMouseUp", [](const TXmlNode& n) { setHandler(&ScriptsType::OnMouseUp, n); }},
    {"OnMouseDown", [](const TXmlNode& n) { setHandler(&ScriptsType::OnMouseDown, n); }},
    {"OnEnter", [](const TXmlNode& n) { setHandler(&ScriptsType::OnEnter, n); }},
    {"OnLeave", [](const TXmlNode& n) { setHandler(&ScriptsType::OnLeave, n); }},
    {"OnEvent", [](const TXmlNode& n) { setHandler(&ScriptsType::OnEvent, n); }},
    {"OnKeyDown", [](const TXmlNode& n) { setHandler(&ScriptsType::OnKeyDown, n); }},
    {"Frame", createFrame},
    {"Texture", createTexture},
    {"FontString", createFontString},
};

// Tags not in the table are skipped with everything inside them.
void handleElement(const TXmlNode& node)
{
    const std::string tag = node.name();
    for (const TElementHandler& row : ElementTable) {
        if (tag != row.tag)
            continue;
        if (++loader->tagDepth > MaxTagDepth)
            throw LoadError("elements nest more than " + std::to_string(MaxTagDepth) + " deep");
        row.handle(node);
        --loader->tagDepth;
        return;
    }
}

void loadFile(const std::string& path)
{
    log("Loading " + path, LogDebug);
    const std::string file = platform::contentPath(path);
    if (!platform::fileExists(file)) {
        log("Error: File `" + path + "` does not exist", LogDebug);
        return;
    }
    if (std::find(loader->openFiles.begin(), loader->openFiles.end(), file) != loader->openFiles.end()) {
        log("File `" + path + "` includes itself; the inner Include is skipped", LogWarning);
        return;
    }
    TXmlNode root;
    try {
        root = loader->document.load(path);
    } catch (const XmlError& error) {
        logLine("Error loading " + path + ": " + error.what());
        return;
    }
    loader->openFiles.push_back(file);
    handleElement(root);
    loader->openFiles.pop_back();
}

void resolveAnchor(Component& c)
{
    ComponentRef reference;
    if (!c.relativeTo.empty())
        reference = findComponent(c.relativeTo);
    if (reference.index >= 0) {
        c.relativeKind = reference.kind;
        c.relativeIndex = reference.index;
    } else {
        c.relativeKind = KindFrame;
        c.relativeIndex = c.parent;
    }
}

void resolveAnchors()
{
    for (std::size_t i = 1; i < frames.size(); ++i)
        resolveAnchor(*frames[i]);
    for (const std::unique_ptr<FontStringType>& s : fontStrings)
        resolveAnchor(*s);
    for (const std::unique_ptr<TextureType>& t : textures)
        resolveAnchor(*t);
}

void resetArrays()
{
    frames.clear();
    textures.clear();
    fontStrings.clear();
    auto root = std::make_unique<FrameType>();
    root->name = "Interface";
    root->width = 1600;
    root->height = 1200;
    root->parent = -1;
    frames.push_back(std::move(root));
}

template <typename T>
int findQuietly(const std::vector<std::unique_ptr<T>>& array, const std::string& name)
{
    for (std::size_t i = 0; i < array.size(); ++i)
        if (array[i]->name == name)
            return static_cast<int>(i);
    return -1;
}

template <typename T>
int findByName(const std::vector<std::unique_ptr<T>>& array, const std::string& name, const char* what)
{
    const int index = findQuietly(array, name);
    if (index < 0)
        log(std::string("Error: ") + what + " `" + name + "` does not exist", LogDebug);
    return index;
}

}  // namespace

AnchorPoint anchorPointOf(const std::string& name)
{
    static const char* const Names[] = {"TOP",        "BOTTOM",     "LEFT",     "RIGHT",      "CENTER",
                                        "TOPLEFT",    "BOTTOMLEFT", "TOPRIGHT", "BOTTOMRIGHT"};
    std::string upper = name;
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    for (std::size_t i = 0; i < std::size(Names); ++i)
        if (upper == Names[i])
            return static_cast<AnchorPoint>(i);
    return AnchorTopLeft;
}

void loadInterface(const std::string& path)
{
    // Whatever was there is being replaced: scripts wait until this one is complete.
    InterfaceReady = false;
    createState();
    resetArrays();
    TLoader state;
    state.openFrames.push_back(0);
    loader = &state;
    std::string failure;
    try {
        loadFile(path);
    } catch (const LoadError& error) {
        failure = error.what();
    } catch (const XmlError& error) {
        failure = error.what();
    } catch (...) {
        loader = nullptr;
        throw;
    }
    loader = nullptr;
    if (!failure.empty())
        log("Loading " + path + " stopped: " + failure, LogError);
    resolveAnchors();
    log("Interface Loaded", LogDebug);
    InterfaceReady = true;
}

void unloadInterface()
{
    closeState();
    InterfaceReady = false;
    frames.clear();
    textures.clear();
    fontStrings.clear();
}

int findFrame(const std::string& name)
{
    return findByName(frames, name, "Frame");
}

int findTexture(const std::string& name)
{
    return findByName(textures, name, "Texture");
}

int findFontString(const std::string& name)
{
    return findByName(fontStrings, name, "FontString");
}

ComponentRef findComponent(const std::string& name)
{
    if (int i = findQuietly(fontStrings, name); i >= 0)
        return {KindFontString, i};
    if (int i = findQuietly(textures, name); i >= 0)
        return {KindTexture, i};
    if (int i = findQuietly(frames, name); i >= 0)
        return {KindFrame, i};
    log("Error: Component `" + name + "` does not exist", LogDebug);
    return {};
}

Component* componentAt(int kind, int index)
{
    if (index < 0)
        return nullptr;
    const std::size_t i = static_cast<std::size_t>(index);
    switch (kind) {
    case KindFrame: return i < frames.size() ? frames[i].get() : nullptr;
    case KindTexture: return i < textures.size() ? textures[i].get() : nullptr;
    case KindFontString: return i < fontStrings.size() ? fontStrings[i].get() : nullptr;
    default: return nullptr;
    }
}
