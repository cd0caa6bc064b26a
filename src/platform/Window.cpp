#include "platform/Window.h"

#include "platform/KeyState.h"
#include "platform/SdlKeys.h"
#include "platform/Text.h"

#include <SDL.h>

#include <deque>

namespace platform {

namespace {

SDL_Window* window = nullptr;
SDL_GLContext context = nullptr;
std::deque<WindowEvent> pending;  // one SDL event may give several (key down, then its character)

int buttonCode(Uint8 sdlButton)
{
    switch (sdlButton) {
    case SDL_BUTTON_LEFT: return 1;
    case SDL_BUTTON_RIGHT: return 2;
    default: return 3;
    }
}

int virtualKeyOfButton(Uint8 sdlButton)
{
    switch (sdlButton) {
    case SDL_BUTTON_LEFT: return vk::LButton;
    case SDL_BUTTON_RIGHT: return vk::RButton;
    case SDL_BUTTON_MIDDLE: return vk::MButton;
    default: return 0;
    }
}

int heldButtons(Uint32 state)
{
    int bits = 0;
    if (state & SDL_BUTTON_LMASK) bits |= 1;
    if (state & SDL_BUTTON_RMASK) bits |= 2;
    if (state & SDL_BUTTON_MMASK) bits |= 4;
    return bits;
}

void push(WindowEvent::Kind kind, WindowEvent e = {})
{
    e.kind = kind;
    pending.push_back(e);
}

void recordKey(SDL_Keycode key, bool down)
{
    int sided = sidedVirtualKeyFromSdl(key);
    if (sided) {
        setKeyDown(sided, down);
        // The plain code stays down while either side is held.
        int plain = virtualKeyFromSdl(key);
        int other = sided % 2 == 0 ? sided + 1 : sided - 1;
        setKeyDown(plain, down || isKeyDown(other));
        return;
    }
    setKeyDown(virtualKeyFromSdl(key), down);
}

// Keys that the window system also reports as characters.
int characterOfKey(SDL_Keycode key)
{
    switch (key) {
    case SDLK_BACKSPACE: return 8;
    case SDLK_TAB: return 9;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return 13;
    case SDLK_ESCAPE: return 27;
    default: return 0;
    }
}

void translate(const SDL_Event& e)
{
    switch (e.type) {
    case SDL_QUIT:
        push(WindowEvent::Close);
        break;
    case SDL_WINDOWEVENT:
        switch (e.window.event) {
        case SDL_WINDOWEVENT_FOCUS_GAINED: push(WindowEvent::Activate); break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            releaseAllKeys();
            push(WindowEvent::Deactivate);
            break;
        case SDL_WINDOWEVENT_SIZE_CHANGED: {
            WindowEvent r;
            drawableSize(&r.x, &r.y);
            push(WindowEvent::Resize, r);
            break;
        }
        case SDL_WINDOWEVENT_CLOSE: push(WindowEvent::Close); break;
        default: break;
        }
        break;
    case SDL_KEYDOWN: {
        recordKey(e.key.keysym.sym, true);
        WindowEvent k;
        k.key = virtualKeyFromSdl(e.key.keysym.sym);
        if (k.key)
            push(WindowEvent::KeyDown, k);
        if (int ch = characterOfKey(e.key.keysym.sym)) {
            WindowEvent c;
            c.key = ch;
            push(WindowEvent::KeyPress, c);
        }
        break;
    }
    case SDL_KEYUP:
        recordKey(e.key.keysym.sym, false);
        break;
    case SDL_TEXTINPUT: {
        for (unsigned char ch : utf8ToLatin1(e.text.text)) {
            WindowEvent c;
            c.key = ch;
            push(WindowEvent::KeyPress, c);
        }
        break;
    }
    case SDL_MOUSEWHEEL: {
        // One notch is 120, the unit the camera zoom is written in.
        int notches = e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y;
        WindowEvent w;
        w.delta = notches * 120;
        if (w.delta != 0)
            push(WindowEvent::Wheel, w);
        break;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        bool down = e.type == SDL_MOUSEBUTTONDOWN;
        setKeyDown(virtualKeyOfButton(e.button.button), down);
        WindowEvent b;
        b.button = buttonCode(e.button.button);
        b.x = e.button.x;
        b.y = e.button.y;
        push(down ? WindowEvent::MouseDown : WindowEvent::MouseUp, b);
        break;
    }
    case SDL_MOUSEMOTION: {
        WindowEvent m;
        m.x = e.motion.x;
        m.y = e.motion.y;
        m.buttons = heldButtons(e.motion.state);
        push(WindowEvent::MouseMove, m);
        break;
    }
    default:
        break;
    }
}

}  // namespace

bool createWindow(const std::string& caption, int clientWidth, int clientHeight)
{
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0)
        return false;
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    window = SDL_CreateWindow(caption.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, clientWidth,
                              clientHeight, SDL_WINDOW_OPENGL | SDL_WINDOW_RESIZABLE);
    if (!window)
        return false;
    SDL_StartTextInput();
    return true;
}

void destroyWindow()
{
    if (window)
        SDL_DestroyWindow(window);
    window = nullptr;
    pending.clear();
    SDL_Quit();
}

bool createGlContext()
{
    if (!window)
        return false;
    context = SDL_GL_CreateContext(window);
    if (!context)
        return false;
    SDL_GL_SetSwapInterval(0);
    return true;
}

void makeContextCurrent()
{
    if (window && context)
        SDL_GL_MakeCurrent(window, context);
}

void releaseGlContext()
{
    if (window)
        SDL_GL_MakeCurrent(window, nullptr);
    if (context)
        SDL_GL_DeleteContext(context);
    context = nullptr;
}

void swapBuffers()
{
    if (window)
        SDL_GL_SwapWindow(window);
}

void drawableSize(int* width, int* height)
{
    *width = 0;
    *height = 0;
    if (window)
        SDL_GL_GetDrawableSize(window, width, height);
}

bool pollEvent(WindowEvent* event)
{
    SDL_Event e;
    while (pending.empty() && SDL_PollEvent(&e))
        translate(e);
    if (pending.empty())
        return false;
    *event = pending.front();
    pending.pop_front();
    return true;
}

void setBorderSizeable(bool sizeable)
{
    if (!window)
        return;
    SDL_SetWindowBordered(window, sizeable ? SDL_TRUE : SDL_FALSE);
    SDL_SetWindowResizable(window, sizeable ? SDL_TRUE : SDL_FALSE);
}

void setMaximised(bool maximised)
{
    if (!window)
        return;
    if (maximised)
        SDL_MaximizeWindow(window);
    else
        SDL_RestoreWindow(window);
}

bool switchDisplayMode(int width, int height, int bitsPerPixel)
{
    if (!window)
        return false;
    SDL_DisplayMode mode{};
    mode.w = width;
    mode.h = height;
    mode.format = bitsPerPixel == 32 ? SDL_PIXELFORMAT_RGB888 : 0;
    SDL_DisplayMode closest{};
    if (!SDL_GetClosestDisplayMode(SDL_GetWindowDisplayIndex(window), &mode, &closest))
        return false;
    return SDL_SetWindowDisplayMode(window, &closest) == 0 && SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN) == 0;
}

void restoreDisplayMode()
{
    if (window)
        SDL_SetWindowFullscreen(window, 0);
}

void showSystemCursor(bool show)
{
    SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
}

std::string clipboardText()
{
    if (!SDL_HasClipboardText())
        return {};
    char* text = SDL_GetClipboardText();
    if (!text)
        return {};
    std::string out = utf8ToLatin1(text);
    SDL_free(text);
    return out;
}

}  // namespace platform
