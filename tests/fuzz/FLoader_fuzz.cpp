// Any bytes given to the MDX reader: refused with an error text and an empty
// model, or read into a model whose indices all point inside its arrays.
#include "assets/FLoader.h"
#include "assets/FTga.h"
#include "FuzzLog.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

// The texture cache without its GL upload: every name a model lists is turned
// into a file name and read as the cache would read it.
unsigned readTextureFile(const std::string& path)
{
    const std::string tga = path.size() < 3 ? "tga" : path.substr(0, path.size() - 3) + "tga";
    return readTga(tga) ? 1 : 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzzing::keepLogSmall();
    MdxModel model;
    const std::string error = parseMdx(data, size, "fuzz.mdx", model, readTextureFile);
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
