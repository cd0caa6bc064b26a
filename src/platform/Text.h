// Text: the engine keeps text as Latin-1 bytes (one byte per glyph in its
// fonts, one code per typed character); the outside world speaks UTF-8.
#pragma once

#include <string>

namespace platform {

std::string latin1ToUtf8(const std::string& text);
// Characters beyond Latin-1 become '?'; malformed sequences are taken byte by byte.
std::string utf8ToLatin1(const std::string& text);
bool isValidUtf8(const std::string& text);

}  // namespace platform
