#include "interface/FInputRouting.h"

#include "interface/FCursor.h"
#include "interface/FXMLLoader.h"
#include "script/FLua.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

FrameType* frameAt(int index)
{
    return index >= 0 && static_cast<std::size_t>(index) < frames.size() ? frames[static_cast<std::size_t>(index)].get()
                                                                          : nullptr;
}

// Both edges count: a frame 100 wide placed at 0 answers at 0 and at 100.
bool contains(const FrameType& f, std::int64_t cx, std::int64_t cy)
{
    return f.x <= cx && cx <= static_cast<std::int64_t>(f.x) + f.effectiveWidth && f.y <= cy &&
           cy <= static_cast<std::int64_t>(f.y) + f.effectiveHeight;
}

// Runs one handler of frame `index` as that frame. The text is copied first:
// the handler may change anything, and the frame is looked up again after.
void runHandler(int index, std::string ScriptsType::*handler)
{
    const FrameType* f = frameAt(index);
    if (!f)
        return;
    setGlobalString("self", f->name);
    const std::string text = f->scripts.*handler;
    runString(text);
}

}  // namespace

void handleFrameMouse(int index)
{
    FrameType* f = frameAt(index);
    if (!f)
        return;
    if (contains(*f, Mouse.interfaceX, Mouse.interfaceY)) {
        if (!f->mouseInside) {
            runHandler(index, &ScriptsType::OnEnter);
            if (!(f = frameAt(index)))
                return;
            f->mouseInside = true;
            setGlobalString("self", f->name);
        }
        const std::int32_t code = Mouse.buttonCode;
        if (code != 0) {
            setGlobalNumber("arg1", std::abs(static_cast<std::int64_t>(code)));
            runHandler(index, code > 0 ? &ScriptsType::OnMouseDown : &ScriptsType::OnMouseUp);
        }
        return;
    }
    if (f->mouseInside && !f->scripts.OnLeave.empty()) {
        runHandler(index, &ScriptsType::OnLeave);
        if (!(f = frameAt(index)))
            return;
    }
    f->mouseInside = false;
}

void deliverButtonEvent()
{
    const std::int32_t code = Mouse.buttonCode;
    if (frames.empty() || code == 0)
        return;
    setGlobalNumber("arg1", std::abs(static_cast<std::int64_t>(code)));
    broadcastEvent(code > 0 ? InterfaceEvent::ButtonDown : InterfaceEvent::ButtonUp);
    Mouse.buttonCode = 0;
}
