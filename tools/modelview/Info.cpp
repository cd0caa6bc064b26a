#include "Info.h"

#include "assets/FLoader.h"
#include "platform/Files.h"

#include <cstdio>
#include <sstream>

namespace {

std::string quoted(const std::string& s)
{
    std::string out = "\"";
    for (char c : s) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + "\"";
}

std::string number(float f)
{
    std::ostringstream o;
    o.precision(9);
    o << f;
    return o.str();
}

}  // namespace

namespace {

std::string readModel(const std::string& path, MdxModel& m)
{
    std::optional<std::vector<std::uint8_t>> bytes = platform::readBinaryFile(path);
    if (!bytes)
        return "File does not exist : " + path;
    return parseMdx(bytes->data(), bytes->size(), path, m, nullptr);
}

}  // namespace

std::string modelError(const std::string& path)
{
    MdxModel m;
    return readModel(path, m);
}

int printModelInfo(const std::string& path, bool json)
{
    MdxModel m;
    const std::string error = readModel(path, m);
    if (!error.empty()) {
        std::printf("%s\n", error.c_str());
        return 1;
    }
    std::size_t vertices = 0, triangles = 0;
    for (const GeosetChunk& g : m.geosets) {
        vertices += g.vertices.size();
        triangles += g.triangles.size();
    }
    if (!json) {
        std::printf("Model %s (version %d)\nSequences:\n", m.name.c_str(), m.version);
        for (const SequenceChunk& s : m.sequences)
            std::printf("  %-16s %6d - %6d  rarity %g\n", s.name.c_str(), s.intervalStart, s.intervalEnd, s.rarity);
        std::printf("Geosets %zu, vertices %zu, triangles %zu, materials %zu, textures %zu, bones %zu, helpers %zu, "
                    "highest object id %d\n",
                    m.geosets.size(), vertices, triangles, m.materials.size(), m.textures.size(), m.bones.size(),
                    m.helpers.size(), m.highestObjectId);
        return 0;
    }
    std::string out = "{\"name\":" + quoted(m.name) + ",\"sequences\":[";
    for (std::size_t i = 0; i < m.sequences.size(); ++i) {
        const SequenceChunk& s = m.sequences[i];
        out += (i ? "," : "") + std::string("[") + quoted(s.name) + "," + std::to_string(s.intervalStart) + "," +
               std::to_string(s.intervalEnd) + "," + number(s.rarity) + "]";
    }
    out += "],\"geosets\":" + std::to_string(m.geosets.size()) + ",\"vertices\":" + std::to_string(vertices) +
           ",\"triangles\":" + std::to_string(triangles) + ",\"materials\":" + std::to_string(m.materials.size()) +
           ",\"textures\":" + std::to_string(m.textures.size()) + ",\"highestObjectId\":" +
           std::to_string(m.highestObjectId);
    auto nodes = [&](const char* key, auto&& list, auto&& nodeOf) {
        out += std::string(",\"") + key + "\":[";
        for (std::size_t i = 0; i < list.size(); ++i) {
            const NodeChunk& n = nodeOf(list[i]);
            out += (i ? "," : "") + std::string("[") + quoted(n.name) + "," + std::to_string(n.objectId) + "," +
                   std::to_string(n.parentId) + "]";
        }
        out += "]";
    };
    nodes("bones", m.bones, [](const BoneChunk& b) -> const NodeChunk& { return b.node; });
    nodes("helpers", m.helpers, [](const NodeChunk& n) -> const NodeChunk& { return n; });
    out += ",\"pivots\":[";
    for (std::size_t i = 0; i < m.pivotPoints.size(); ++i) {
        const TVec3& p = m.pivotPoints[i];
        out += (i ? "," : "") + std::string("[") + number(p.x) + "," + number(p.y) + "," + number(p.z) + "]";
    }
    out += "]}";
    std::printf("%s\n", out.c_str());
    return 0;
}
