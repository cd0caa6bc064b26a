// Any bytes given to the MDX reader: refused with an error text and an empty
// model, or read into a model whose indices all point inside its arrays.
#include "assets/FLoader.h"
#include "shell/FLogs.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    startLog();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    MdxModel model;
    const std::string error = parseMdx(data, size, "fuzz.mdx", model, nullptr);
    if (!error.empty()) {
        if (!(model == MdxModel{}))
            __builtin_trap();
        return 0;
    }
    for (const GeosetChunk& g : model.geosets) {
        for (const TTriangle& t : g.triangles)
            if (t.a >= g.vertices.size() || t.b >= g.vertices.size() || t.c >= g.vertices.size())
                __builtin_trap();
        for (std::uint8_t group : g.vertexGroups)
            if (group >= g.matrixGroups.size())
                __builtin_trap();
    }
    return 0;
}
