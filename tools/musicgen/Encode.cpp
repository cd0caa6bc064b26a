#include "Encode.h"

#include <lame/lame.h>
#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace music {

namespace {

constexpr int Block = 4096;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

bool writePages(std::FILE* out, ogg_stream_state* stream, bool flush)
{
    ogg_page page;
    while (flush ? ogg_stream_flush(stream, &page) : ogg_stream_pageout(stream, &page)) {
        if (std::fwrite(page.header, 1, static_cast<std::size_t>(page.header_len), out) !=
                static_cast<std::size_t>(page.header_len) ||
            std::fwrite(page.body, 1, static_cast<std::size_t>(page.body_len), out) !=
                static_cast<std::size_t>(page.body_len))
            return false;
    }
    return true;
}

// The library's encoder loop: analyse what it holds, packet by packet.
bool drainVorbis(std::FILE* out, vorbis_dsp_state* dsp, vorbis_block* block, ogg_stream_state* stream)
{
    bool ok = true;
    while (vorbis_analysis_blockout(dsp, block) == 1) {
        vorbis_analysis(block, nullptr);
        vorbis_bitrate_addblock(block);
        ogg_packet packet;
        while (vorbis_bitrate_flushpacket(dsp, &packet)) {
            ogg_stream_packetin(stream, &packet);
            ok = writePages(out, stream, false) && ok;
        }
    }
    return ok;
}

void putLittle(std::FILE* out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        std::fputc(static_cast<int>((value >> (8 * i)) & 0xff), out);
}

}  // namespace

bool writeOgg(const std::string& path, const Track& track, const std::string& title)
{
    File out(std::fopen(path.c_str(), "wb"));
    if (!out)
        return false;
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, 2, Rate, 0.4f) != 0) {
        vorbis_info_clear(&info);
        return false;
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_comment_add_tag(&comment, "TITLE", title.c_str());
    vorbis_comment_add_tag(&comment, "ARTIST", "Vrax music generator");
    vorbis_dsp_state dsp;
    vorbis_block block;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 0x56726178);  // any serial number will do: one stream per file

    ogg_packet header, commentHeader, codeHeader;
    vorbis_analysis_headerout(&dsp, &comment, &header, &commentHeader, &codeHeader);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &commentHeader);
    ogg_stream_packetin(&stream, &codeHeader);
    bool ok = writePages(out.get(), &stream, true);

    const std::int64_t frames = track.frames();
    for (std::int64_t at = 0; at < frames; at += Block) {
        const int count = static_cast<int>(std::min<std::int64_t>(Block, frames - at));
        float** buffer = vorbis_analysis_buffer(&dsp, count);
        std::memcpy(buffer[0], track.left.data() + at, sizeof(float) * static_cast<std::size_t>(count));
        std::memcpy(buffer[1], track.right.data() + at, sizeof(float) * static_cast<std::size_t>(count));
        vorbis_analysis_wrote(&dsp, count);
        ok = drainVorbis(out.get(), &dsp, &block, &stream) && ok;
    }
    vorbis_analysis_wrote(&dsp, 0);
    ok = drainVorbis(out.get(), &dsp, &block, &stream) && ok;
    ok = writePages(out.get(), &stream, true) && ok;

    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return ok;
}

bool writeMp3(const std::string& path, const Track& track)
{
    File out(std::fopen(path.c_str(), "wb"));
    if (!out)
        return false;
    lame_global_flags* lame = lame_init();
    if (!lame)
        return false;
    lame_set_in_samplerate(lame, Rate);
    lame_set_out_samplerate(lame, Rate);
    lame_set_num_channels(lame, 2);
    lame_set_VBR(lame, vbr_default);
    lame_set_VBR_quality(lame, 4.0f);
    lame_set_bWriteVbrTag(lame, 1);
    bool ok = lame_init_params(lame) >= 0;

    std::vector<unsigned char> bytes(static_cast<std::size_t>(1.25 * Block + 7200));
    const std::int64_t frames = track.frames();
    for (std::int64_t at = 0; ok && at < frames; at += Block) {
        const int count = static_cast<int>(std::min<std::int64_t>(Block, frames - at));
        const int written = lame_encode_buffer_ieee_float(lame, track.left.data() + at, track.right.data() + at,
                                                          count, bytes.data(), static_cast<int>(bytes.size()));
        ok = written >= 0 && std::fwrite(bytes.data(), 1, static_cast<std::size_t>(written), out.get()) ==
                                 static_cast<std::size_t>(written);
    }
    if (ok) {
        const int written = lame_encode_flush(lame, bytes.data(), static_cast<int>(bytes.size()));
        ok = written >= 0 && std::fwrite(bytes.data(), 1, static_cast<std::size_t>(written), out.get()) ==
                                 static_cast<std::size_t>(written);
    }
    if (ok) {
        // The encoder left room for its tag in the first frame; it is complete only now.
        std::vector<unsigned char> tag(8192);
        const std::size_t size = lame_get_lametag_frame(lame, tag.data(), tag.size());
        ok = size == 0 || (std::fseek(out.get(), 0, SEEK_SET) == 0 &&
                           std::fwrite(tag.data(), 1, size, out.get()) == size);
    }
    lame_close(lame);
    return ok;
}

bool writeWav(const std::string& path, const Track& track)
{
    File out(std::fopen(path.c_str(), "wb"));
    if (!out)
        return false;
    const std::uint32_t bytes = static_cast<std::uint32_t>(track.frames() * 4);
    std::fputs("RIFF", out.get());
    putLittle(out.get(), 36 + bytes, 4);
    std::fputs("WAVEfmt ", out.get());
    putLittle(out.get(), 16, 4);
    putLittle(out.get(), 1, 2);  // PCM
    putLittle(out.get(), 2, 2);
    putLittle(out.get(), Rate, 4);
    putLittle(out.get(), Rate * 4, 4);
    putLittle(out.get(), 4, 2);
    putLittle(out.get(), 16, 2);
    std::fputs("data", out.get());
    putLittle(out.get(), bytes, 4);
    for (std::int64_t i = 0; i < track.frames(); ++i)
        for (float sample : {track.left[static_cast<std::size_t>(i)], track.right[static_cast<std::size_t>(i)]})
            putLittle(out.get(), static_cast<std::uint16_t>(static_cast<std::int16_t>(
                                     std::lround(std::clamp(sample, -1.0f, 1.0f) * 32767.0f))),
                      2);
    return std::ferror(out.get()) == 0;
}

}  // namespace music
