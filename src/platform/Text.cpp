#include "platform/Text.h"

namespace platform {

std::string latin1ToUtf8(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (unsigned char c : text) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// Length of the well-formed UTF-8 sequence at text[i], or 0.
static std::size_t sequenceLength(const std::string& text, std::size_t i, unsigned* code)
{
    unsigned char c = static_cast<unsigned char>(text[i]);
    std::size_t n;
    unsigned value;
    if (c < 0x80) {
        *code = c;
        return 1;
    } else if ((c & 0xE0) == 0xC0 && c >= 0xC2) {
        n = 2;
        value = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
        n = 3;
        value = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0 && c <= 0xF4) {
        n = 4;
        value = c & 0x07;
    } else {
        return 0;
    }
    if (i + n > text.size())
        return 0;
    for (std::size_t k = 1; k < n; ++k) {
        unsigned char d = static_cast<unsigned char>(text[i + k]);
        if ((d & 0xC0) != 0x80)
            return 0;
        value = (value << 6) | (d & 0x3F);
    }
    if ((n == 3 && value < 0x800) || (n == 4 && (value < 0x10000 || value > 0x10FFFF)))
        return 0;
    *code = value;
    return n;
}

std::string utf8ToLatin1(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        unsigned code = 0;
        std::size_t n = sequenceLength(text, i, &code);
        if (n == 0) {
            out += text[i];
            ++i;
            continue;
        }
        out += code < 256 ? static_cast<char>(code) : '?';
        i += n;
    }
    return out;
}

bool isValidUtf8(const std::string& text)
{
    for (std::size_t i = 0; i < text.size();) {
        unsigned code = 0;
        std::size_t n = sequenceLength(text, i, &code);
        if (n == 0)
            return false;
        i += n;
    }
    return true;
}

}  // namespace platform
