// vrax-modelview: looks at one MDX model.
//   vrax-modelview FILE                 a window: arrows turn it, Space/N next sequence, P previous, Esc quits
//   vrax-modelview --info [--json] FILE its sequences and counts, or the loader's error
//   vrax-modelview FILE --out IMG [--sequence NAME] [--time MS] [--size N] [--yaw DEG] [--team R,G,B]
//                                       draws one frame without a window and saves it (.png or .tga)
// The model's textures are looked up from the folder above its "Models" folder.
#include "Info.h"
#include "Snapshot.h"

#include "assets/FLoader.h"
#include "assets/FTextures.h"
#include "platform/Clock.h"
#include "platform/Window.h"
#include "shell/FFPS.h"
#include "shell/FLogs.h"
#include "shell/FOpenGL.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

struct TOptions {
    std::string file;
    std::string out;
    std::string sequence = "Stand";
    int time = 0;
    int size = 256;
    float yaw = 0;
    std::int64_t team[3] = {10000, 1200, 1200};
};

int usage()
{
    std::fprintf(stderr, "usage: vrax-modelview FILE [--out IMAGE] [--sequence NAME] [--time MS] [--size N] "
                         "[--yaw DEG] [--team R,G,B]\n       vrax-modelview --info [--json] FILE\n");
    return 2;
}

// Runs from the game folder that holds the model, so its texture paths resolve.
std::string enterContentRoot(const std::string& file)
{
    std::filesystem::path path = std::filesystem::absolute(file);
    for (std::filesystem::path dir = path.parent_path(); dir.has_parent_path() && dir != dir.parent_path();
         dir = dir.parent_path())
        if (dir.filename() == "Models") {
            std::filesystem::current_path(dir.parent_path());
            return std::filesystem::relative(path, dir.parent_path()).string();
        }
    std::filesystem::current_path(path.parent_path());
    return path.filename().string();
}

void showSequence(TModel& model, int index)
{
    const auto& sequences = model.model().sequences;
    if (sequences.empty())
        return;
    const SequenceChunk& s = sequences[static_cast<std::size_t>(index) % sequences.size()];
    model.SetAnimation(s.name, true, true);
    model.sequenceIndex = static_cast<int>(static_cast<std::size_t>(index) % sequences.size());
    model.animationTime = s.intervalStart;
    std::printf("%s\n", s.name.c_str());
}

int runWindow(TModel& model)
{
    int index = 0;
    float yaw = 0, spin = 20;
    showSequence(model, index);
    std::int64_t last = platform::milliseconds();
    for (;;) {
        platform::WindowEvent e;
        while (platform::pollEvent(&e)) {
            if (e.kind == platform::WindowEvent::Close || (e.kind == platform::WindowEvent::KeyDown && e.key == 27))
                return 0;
            if (e.kind == platform::WindowEvent::KeyDown && e.key == 37)
                spin -= 20;
            if (e.kind == platform::WindowEvent::KeyDown && e.key == 39)
                spin += 20;
            if (e.kind == platform::WindowEvent::KeyPress && (e.key == ' ' || e.key == 'n' || e.key == 'N'))
                showSequence(model, ++index);
            if (e.kind == platform::WindowEvent::KeyPress && (e.key == 'p' || e.key == 'P'))
                showSequence(model, index = index > 0 ? index - 1 : static_cast<int>(model.model().sequences.size()) - 1);
        }
        const std::int64_t now = platform::milliseconds();
        FrameClock.elapsed = static_cast<std::int32_t>(std::min<std::int64_t>(now - last, 100));
        last = now;
        yaw += spin * static_cast<float>(FrameClock.elapsed) / 1000.0f;
        if (!model.animating)  // a sequence that stopped starts over
            showSequence(model, index);
        model.AdvanceAnimation(-1);
        int w = 0, h = 0;
        platform::drawableSize(&w, &h);
        drawModelView(model, w, h, yaw);
        platform::swapBuffers();
    }
}

}  // namespace

int main(int argc, char** argv)
{
    TOptions o;
    bool info = false, json = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto next = [&]() -> std::string { return i + 1 < argc ? argv[++i] : ""; };
        if (a == "--info")
            info = true;
        else if (a == "--json")
            json = true;
        else if (a == "--out")
            o.out = next();
        else if (a == "--sequence")
            o.sequence = next();
        else if (a == "--time")
            o.time = std::atoi(next().c_str());
        else if (a == "--size")
            o.size = std::atoi(next().c_str());
        else if (a == "--yaw")
            o.yaw = static_cast<float>(std::atof(next().c_str()));
        else if (a == "--team") {
            int r = 0, g = 0, b = 0;
            if (std::sscanf(next().c_str(), "%d,%d,%d", &r, &g, &b) != 3)
                return usage();
            o.team[0] = r, o.team[1] = g, o.team[2] = b;
        } else if (!a.empty() && a[0] != '-' && o.file.empty())
            o.file = a;
        else
            return usage();
    }
    if (o.file.empty() || o.size < 8 || o.size > 2048)
        return usage();
    if (info)
        return printModelInfo(o.file, json);

    const bool offscreen = !o.out.empty();
    if (offscreen) {
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        o.out = std::filesystem::absolute(o.out).string();
    }
    const std::string model = enterContentRoot(o.file);
    startLog();  // the engine's log, Logs/log.txt beside the models
    const int shrink = offscreen ? 4 : 1;
    const int surface = offscreen ? o.size * shrink : 640;
    // Refuse a file the loader refuses, with its reason, before opening a window.
    if (const std::string error = modelError(model); !error.empty()) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    if (!platform::createWindow("vrax-modelview " + model, surface, surface) || !createRenderingContext()) {
        std::fprintf(stderr, "vrax-modelview: no OpenGL context\n");
        return 1;
    }
    InitTextures();
    TModel instance;
    instance.SetModel(model);
    instance.SetScale(10);
    for (int c = 0; c < 3; ++c)
        instance.teamColor[c] = o.team[c];
    if (instance.model().sequences.empty()) {
        std::fprintf(stderr, "vrax-modelview: %s has no sequences\n", model.c_str());
        return 1;
    }
    int status = 0;
    if (offscreen) {
        instance.SetAnimation(o.sequence, false, true);
        instance.AdvanceAnimation(o.time);
        drawModelView(instance, surface, surface, o.yaw);
        if (!saveImage(o.out, o.size, o.size, grabFrame(surface, surface, shrink))) {
            std::fprintf(stderr, "vrax-modelview: cannot write %s\n", o.out.c_str());
            status = 1;
        }
    } else {
        status = runWindow(instance);
    }
    releaseRenderingContext();
    platform::destroyWindow();
    return status;
}
