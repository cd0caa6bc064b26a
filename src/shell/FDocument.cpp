#include "shell/FDocument.h"

#include "platform/Files.h"
#include "platform/Text.h"

#include <cerrno>
#include <climits>
#include <optional>
#include <cstdlib>

namespace {

int lineOfOffset(const std::vector<std::uint8_t>& bytes, std::ptrdiff_t offset)
{
    int line = 1;
    for (std::ptrdiff_t i = 0; i < offset && i < static_cast<std::ptrdiff_t>(bytes.size()); ++i)
        if (bytes[static_cast<std::size_t>(i)] == '\n')
            ++line;
    return line;
}

}  // namespace

// Runs `parse` on the text without its surrounding blanks; true when it
// took all of it and reported no range error.
template <typename Parse>
static bool parseWhole(const std::string& text, Parse parse)
{
    const char* begin = text.c_str();
    while (*begin == ' ' || *begin == '\t')
        ++begin;
    if (*begin == '\0')
        return false;
    errno = 0;
    char* end = nullptr;
    parse(begin, &end);
    while (*end == ' ' || *end == '\t')
        ++end;
    return *end == '\0' && errno == 0;
}

int xmlToInt(const std::string& text)
{
    long value = 0;
    if (!parseWhole(text, [&](const char* b, char** e) { value = std::strtol(b, e, 10); }) || value < INT_MIN ||
        value > INT_MAX)
        throw XmlError("'" + text + "' is not a valid integer value");
    return static_cast<int>(value);
}

double xmlToReal(const std::string& text)
{
    double value = 0;
    if (!parseWhole(text, [&](const char* b, char** e) { value = std::strtod(b, e); }))
        throw XmlError("'" + text + "' is not a valid floating point value");
    return value;
}

std::string TXmlNode::name() const
{
    return node_.type() == pugi::node_element ? node_.name() : "";
}

bool TXmlNode::hasChildNodes() const { return static_cast<bool>(node_.first_child()); }
TXmlNode TXmlNode::firstChild() const { return TXmlNode(node_.first_child()); }
TXmlNode TXmlNode::nextSibling() const { return TXmlNode(node_.next_sibling()); }
bool TXmlNode::hasAttribute(const std::string& name) const { return static_cast<bool>(node_.attribute(name.c_str())); }

// Files are UTF-8; the engine's text is Latin-1.
std::string TXmlNode::attribute(const std::string& name) const
{
    return platform::utf8ToLatin1(node_.attribute(name.c_str()).value());
}

int TXmlNode::attributeInt(const std::string& name) const { return xmlToInt(attribute(name)); }
double TXmlNode::attributeReal(const std::string& name) const { return xmlToReal(attribute(name)); }
// A comment or a CDATA section splits an element's text into several
// pieces; a handler is all of them, in order, not just the first.
std::string TXmlNode::text() const
{
    std::string joined;
    for (pugi::xml_node piece = node_.first_child(); piece; piece = piece.next_sibling())
        if (piece.type() == pugi::node_pcdata || piece.type() == pugi::node_cdata)
            joined += piece.value();
    return platform::utf8ToLatin1(joined);
}

TXmlNode TXmlNode::childByName(const std::string& name) const { return TXmlNode(node_.child(name.c_str())); }
std::string TXmlNode::childValue(const std::string& name) const { return childByName(name).text(); }

TXmlNode TXmlDocument::load(const std::string& path)
{
    std::optional<std::vector<std::uint8_t>> bytes = platform::readBinaryFile(platform::contentPath(path));
    if (!bytes)
        throw XmlError("The file cannot be read");
    auto doc = std::make_unique<pugi::xml_document>();
    pugi::xml_parse_result result = doc->load_buffer(bytes->data(), bytes->size());
    if (!result)
        throw XmlError(std::string(result.description()) + " (line " + std::to_string(lineOfOffset(*bytes, result.offset)) + ")");
    TXmlNode root(doc->document_element());
    loaded_.push_back(std::move(doc));
    return root;
}

void TXmlDocument::clear()
{
    loaded_.clear();
}
