// FDocument: XML input for the interface loader and the definition files.
// One shared TXmlDocument keeps every file it has loaded alive, so node
// handles taken from an outer file stay valid while an "Include" loads
// another file into the same object.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <pugixml.hpp>

// A malformed file (the parser's text and line) or a bad number in an attribute.
class XmlError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TXmlNode {
public:
    TXmlNode() = default;
    explicit TXmlNode(pugi::xml_node node) : node_(node) {}

    explicit operator bool() const { return static_cast<bool>(node_); }

    // Tag name of an element; text and comment nodes answer an empty name.
    std::string name() const;
    bool hasChildNodes() const;
    TXmlNode firstChild() const;
    TXmlNode nextSibling() const;
    bool hasAttribute(const std::string& name) const;
    std::string attribute(const std::string& name) const;
    // Attribute as a number; throws XmlError when the text is not one.
    int attributeInt(const std::string& name) const;
    double attributeReal(const std::string& name) const;
    // All the text and CDATA pieces of the element, joined in order.
    std::string text() const;
    TXmlNode childByName(const std::string& name) const;
    std::string childValue(const std::string& name) const;

private:
    pugi::xml_node node_;
};

class TXmlDocument {
public:
    // Parses the whole file and returns its document element; throws
    // XmlError with the parser's message for a malformed or unreadable file.
    TXmlNode load(const std::string& path);
    // Frees every loaded file; handles taken before become invalid.
    void clear();

private:
    // Never moved once made: nodes point into them.
    std::vector<std::unique_ptr<pugi::xml_document>> loaded_;
};

// Parses a whole number or a real the way attribute values are read.
int xmlToInt(const std::string& text);
double xmlToReal(const std::string& text);
