#include "interface/FFrameWalk.h"

#include "interface/FInputRouting.h"
#include "interface/FLayout.h"
#include "interface/FText.h"
#include "script/FLua.h"

namespace {

FrameType* frameAt(int index)
{
    return index >= 0 && static_cast<std::size_t>(index) < frames.size() ? frames[static_cast<std::size_t>(index)].get()
                                                                          : nullptr;
}

}  // namespace

void walkFrame(int index, const TFramePainter& painter)
{
    FrameType* f = frameAt(index);
    if (!f || f->hidden || f->isVirtual)
        return;
    if (!f->scripts.OnUpdate.empty()) {
        setGlobalString("self", f->name);
        const std::string handler = f->scripts.OnUpdate;
        runString(handler);
        f = frameAt(index);  // the handler may have run anything
        if (!f)
            return;
    }
    if (index != 0)
        layout(*f);
    // A frame whose OnEnter hides it still hears this pass's button and is
    // still drawn: the flag is read again only from the next frame on.
    if (f->enableMouse) {
        handleFrameMouse(index);
        if (!(f = frameAt(index)))
            return;
    }
    if (painter.frame)
        painter.frame(*f);
    for (std::int32_t t : f->textureList) {
        TextureType& texture = *textures[static_cast<std::size_t>(t)];
        if (texture.hidden)
            continue;
        layout(texture);
        if (painter.texture)
            painter.texture(texture);
    }
    for (std::int32_t s : f->fontStringList) {
        FontStringType& text = *fontStrings[static_cast<std::size_t>(s)];
        if (text.hidden)
            continue;
        // Measured before it is placed, so a changed text stays centred.
        const TTextExtent extent = textExtent(text.fontIndex, text.text);
        text.width = extent.width;
        text.height = extent.height;
        layout(text);
        if (painter.fontString)
            painter.fontString(text);
    }
    for (std::size_t i = 0; i < f->children.size(); ++i)
        walkFrame(f->children[i], painter);
}
