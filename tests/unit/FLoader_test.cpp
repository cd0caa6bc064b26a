// The MDX reader and the model cache: a file with every chunk read back
// field by field, the reading rules, and bad input of every kind.
#include "assets/FLoader.h"

#include "../support/MdxSamples.h"
#include "../support/TestSupport.h"
#include "MdxWriter.h"
#include "shell/FLogs.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

using namespace testing_support;

namespace {

std::string parse(const std::vector<std::uint8_t>& bytes, MdxModel& m)
{
    return parseMdx(bytes.data(), bytes.size(), "test.mdx", m, nullptr);
}

// Offset of the first occurrence of a 4-character tag at or after `from`.
std::size_t find(const std::vector<std::uint8_t>& bytes, const char* tag, std::size_t from = 0)
{
    for (std::size_t i = from; i + 4 <= bytes.size(); ++i)
        if (std::memcmp(&bytes[i], tag, 4) == 0)
            return i;
    ADD_FAILURE() << "no " << tag;
    return 0;
}

void putInt(std::vector<std::uint8_t>& bytes, std::size_t at, std::int32_t v)
{
    std::memcpy(&bytes[at], &v, 4);
}

bool logHas(const std::string& text)
{
    for (const std::string& line : readLines("Logs/log.txt"))
        if (line.find(text) != std::string::npos)
            return true;
    return false;
}

}  // namespace

TEST(MdxLoader, EveryChunkReadsBackFieldByField)
{
    const MdxModel original = everyChunkModel();
    MdxModel read;
    ASSERT_EQ(parse(writeMdx(original), read), "");
    // Spot checks first, for readable failures, then the whole record.
    EXPECT_EQ(read.name, "Everything");
    ASSERT_EQ(read.sequences.size(), 2u);
    EXPECT_EQ(read.sequences[1].name, "Walk");
    EXPECT_EQ(read.sequences[0].rarity, 3);
    ASSERT_EQ(read.materials.size(), 2u);
    EXPECT_TRUE(read.materials[1].layers.empty());
    const LayerChunk& layer = read.materials[0].layers[0];
    EXPECT_EQ(layer.alphaTrack.interpolationType, InterpHermite);
    EXPECT_EQ(layer.alphaTrack.keys[0].inTan, 0.25f);
    EXPECT_EQ(layer.alphaTrack.keys[0].outTan, 0.125f);
    EXPECT_EQ(layer.textureIdTrack.keys[1].value, 2.0f);  // ints in the file
    EXPECT_EQ(read.geosets[0].matrixGroups, (std::vector<std::vector<std::int32_t>>{{0}, {0, 1}}));
    EXPECT_EQ(read.geosets[0].workVertices.size(), 6u);
    EXPECT_EQ(read.geosets[0].lastExtent.boundsRadius, 4);
    EXPECT_EQ(read.bones[1].node.rotation.keys[1].outTan, (TQuat{0.5f, 0.6f, 0.7f, 0.8f}));
    EXPECT_EQ(read.lights[0].attenuationEnd, (std::array<std::uint8_t, 4>{5, 6, 7, 8}));
    EXPECT_EQ(read.eventObjects[0].times, (std::vector<std::int32_t>{100, 600}));
    EXPECT_EQ(read.collisionShapes[1].radius, 1.5f);
    EXPECT_EQ(read.highestObjectId, 5);  // the light, emitters and shapes with higher ids do not count
    EXPECT_TRUE(read == original);
    // And the bytes survive a second trip unchanged.
    EXPECT_EQ(writeMdx(read), writeMdx(original));
}

TEST(MdxLoader, NodeTracksInAnyOrderReadTheSame)
{
    MdxModel m;
    m.version = 800;
    m.bones = {everyChunkModel().bones[0]};
    m.highestObjectId = 0;
    std::vector<std::uint8_t> usual = writeMdx(m);
    // Rebuild the node's track block as scaling, rotation, translation.
    const std::size_t t = find(usual, "KGTR"), r = find(usual, "KGRT"), s = find(usual, "KGSC");
    const std::size_t end = usual.size() - 8;  // geoset id and geoset animation id follow the node
    std::vector<std::uint8_t> reordered(usual.begin(), usual.begin() + static_cast<std::ptrdiff_t>(t));
    reordered.insert(reordered.end(), usual.begin() + static_cast<std::ptrdiff_t>(s), usual.begin() + static_cast<std::ptrdiff_t>(end));
    reordered.insert(reordered.end(), usual.begin() + static_cast<std::ptrdiff_t>(r), usual.begin() + static_cast<std::ptrdiff_t>(s));
    reordered.insert(reordered.end(), usual.begin() + static_cast<std::ptrdiff_t>(t), usual.begin() + static_cast<std::ptrdiff_t>(r));
    reordered.insert(reordered.end(), usual.begin() + static_cast<std::ptrdiff_t>(end), usual.end());
    ASSERT_EQ(reordered.size(), usual.size());
    ASSERT_NE(reordered, usual);
    MdxModel a, b;
    ASSERT_EQ(parse(usual, a), "");
    ASSERT_EQ(parse(reordered, b), "");
    EXPECT_TRUE(a == b);
}

TEST(MdxLoader, UnknownTopLevelChunksAreSkippedBySize)
{
    const MdxModel original = everyChunkModel();
    std::vector<std::uint8_t> bytes = writeMdx(original);
    const std::size_t at = find(bytes, "SEQS");
    const std::uint8_t sound[] = {'S', 'N', 'D', 'S', 6, 0, 0, 0, 'G', 'E', 'O', 'S', 1, 2};
    bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(at), std::begin(sound), std::end(sound));
    MdxModel read;
    ASSERT_EQ(parse(bytes, read), "");
    EXPECT_TRUE(read == original);
}

TEST(MdxLoader, BadInputGivesTheErrorAndAnEmptyModel)
{
    const std::vector<std::uint8_t> good = writeMdx(everyChunkModel());
    MdxModel m;
    EXPECT_EQ(parse({'M', 'D', 'L'}, m), "Not a Warcraft 3 Mdx : test.mdx");

    std::vector<std::uint8_t> bytes = good;
    putInt(bytes, find(bytes, "VRTX") + 4, -1);
    EXPECT_EQ(parse(bytes, m), "Range check error in GEOS : test.mdx");
    EXPECT_TRUE(m == MdxModel{});

    bytes = good;
    putInt(bytes, find(bytes, "SEQS") + 4, -132);
    EXPECT_EQ(parse(bytes, m), "Range check error in SEQS : test.mdx");

    bytes = good;
    putInt(bytes, find(bytes, "PVTX") + 4, 1 << 30);
    EXPECT_EQ(parse(bytes, m), "Unexpected end of file in GEOS : test.mdx");

    // An unexpected sub-chunk tag in each chunk that names its tracks.
    for (auto [chunk, track] : {std::pair{"MTLS", "KMTA"}, {"TXAN", "KTAT"}, {"GEOA", "KGAO"}, {"LITE", "KLAV"},
                                {"PRE2", "KP2V"}, {"RIBB", "KRVS"}, {"CAMS", "KCTR"}}) {
        bytes = good;
        std::memcpy(&bytes[find(bytes, track, find(bytes, chunk))], "XXXX", 4);
        EXPECT_EQ(parse(bytes, m), std::string("Error on loading ") + chunk + " : test.mdx");
        EXPECT_TRUE(m == MdxModel{});
    }

    // A triangle naming a vertex that is not there would be drawn from outside the array.
    bytes = good;
    bytes[find(bytes, "PVTX") + 8] = 200;
    EXPECT_EQ(parse(bytes, m), "Range check error in GEOS : test.mdx");

    // Every truncation: an error and an empty model, or a clean stop between chunks.
    for (std::size_t n = 0; n < good.size(); ++n) {
        std::vector<std::uint8_t> cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n));
        const std::string error = parse(cut, m);
        if (!error.empty()) {
            EXPECT_TRUE(m == MdxModel{}) << n;
        }
    }
}

TEST(MdxLoader, MoreThan255EntriesIsARangeError)
{
    MdxModel m;
    m.version = 800;
    for (int i = 0; i < 256; ++i) {
        NodeChunk n;
        n.name = "H" + std::to_string(i);
        n.objectId = i;
        m.helpers.push_back(n);
    }
    MdxModel read;
    EXPECT_EQ(parse(writeMdx(m), read), "Range check error in HELP : test.mdx");
    m.helpers.pop_back();
    ASSERT_EQ(parse(writeMdx(m), read), "");
    EXPECT_EQ(read.helpers.size(), 255u);
    EXPECT_EQ(read.highestObjectId, 254);
}

class ModelCache : public ::testing::Test {
protected:
    ScratchDir dir;
    void SetUp() override
    {
        startLog();
        resetModelCache();
    }
    void TearDown() override { resetModelCache(); }
};

TEST_F(ModelCache, OnePathInTwoLetterCasesIsParsedOnce)
{
    writeModel("Models/Unit.mdx", everyChunkModel());
    const int first = GetModelIndex("Models/Unit.mdx");
    std::filesystem::remove("Models/Unit.mdx");  // a second parse would find nothing
    EXPECT_EQ(GetModelIndex("MODELS/unit.MDX"), first);
    EXPECT_EQ(modelCount(), 1);
    EXPECT_EQ(modelAt(first).name, "Everything");
}

TEST_F(ModelCache, MissingAndBrokenFilesAreLoggedAndStayEmpty)
{
    const int missing = GetModelIndex("Models/Nothing.mdx");
    EXPECT_TRUE(logHas("Debug: File does not exist : Models/Nothing.mdx"));
    writeFile("Models/Text.mdx", "hello");
    const int text = GetModelIndex("Models/Text.mdx");
    EXPECT_TRUE(logHas("Not a Warcraft 3 Mdx : Models/Text.mdx"));
    std::vector<std::uint8_t> bytes = writeMdx(everyChunkModel());
    std::memcpy(&bytes[find(bytes, "KGAO")], "KXXX", 4);
    writeFile("Models/Broken.mdx", std::string(bytes.begin(), bytes.end()));
    int broken = -1;
    EXPECT_NO_THROW(broken = GetModelIndex("Models/Broken.mdx"));
    EXPECT_TRUE(logHas("Warning: Error on loading GEOA : Models/Broken.mdx"));
    EXPECT_EQ(modelCount(), 3);
    for (int index : {missing, text, broken}) {
        EXPECT_TRUE(modelAt(index).geosets.empty());
        EXPECT_TRUE(modelAt(index).sequences.empty());
    }
    EXPECT_EQ(GetModelIndex("models/broken.mdx"), broken);  // listed, so not read again
}
