#include "shell/FDocument.h"

#include "../support/TestSupport.h"

#include <gtest/gtest.h>

using namespace testing_support;

TEST(XmlDocument, WalksChildrenInDocumentOrderWithAttributesAndText)
{
    ScratchDir dir;
    writeFile("a.xml",
              "<Ui>\n  <!-- note -->\n  <Frame name=\"One\" width=\"12\" alpha=\"0.5\"/>\n"
              "  <Frame name=\"Two\"><OnLoad>Log(\"hi\")</OnLoad></Frame>\n</Ui>\n");
    TXmlDocument doc;
    TXmlNode root = doc.load("a.xml");
    EXPECT_EQ(root.name(), "Ui");
    ASSERT_TRUE(root.hasChildNodes());
    std::vector<std::string> names;
    for (TXmlNode n = root.firstChild(); n; n = n.nextSibling())
        names.push_back(n.name());
    ASSERT_EQ(names.size(), 2u);  // comments are not elements
    EXPECT_EQ(names[0], "Frame");

    TXmlNode one = root.childByName("Frame");
    EXPECT_TRUE(one.hasAttribute("width"));
    EXPECT_FALSE(one.hasAttribute("height"));
    EXPECT_EQ(one.attributeInt("width"), 12);
    EXPECT_DOUBLE_EQ(one.attributeReal("alpha"), 0.5);
    EXPECT_EQ(one.attribute("name"), "One");
    EXPECT_EQ(one.attribute("missing"), "");
    TXmlNode two = one.nextSibling();
    EXPECT_EQ(two.childValue("OnLoad"), "Log(\"hi\")");
    EXPECT_EQ(two.childByName("OnLoad").text(), "Log(\"hi\")");
    EXPECT_FALSE(two.childByName("Nope"));
    EXPECT_FALSE(two.nextSibling());
}

TEST(XmlDocument, NodesOfAnOuterFileSurviveANestedLoad)
{
    ScratchDir dir;
    writeFile("outer.xml", "<Ui><Include file=\"inner.xml\"/><Frame name=\"After\"/></Ui>");
    writeFile("inner.xml", "<Ui><Frame name=\"Inner\"/></Ui>");
    TXmlDocument doc;
    TXmlNode include = doc.load("outer.xml").firstChild();
    TXmlNode inner = doc.load("inner.xml");
    EXPECT_EQ(inner.firstChild().attribute("name"), "Inner");
    EXPECT_EQ(include.nextSibling().attribute("name"), "After");
}

TEST(XmlDocument, MalformedFileRaisesTheParsersTextWithItsLine)
{
    ScratchDir dir;
    writeFile("bad.xml", "<Ui>\n<Frame>\n</Ui>\n");
    writeFile("empty.xml", "");
    TXmlDocument doc;
    try {
        doc.load("bad.xml");
        FAIL();
    } catch (const XmlError& e) {
        EXPECT_STREQ(e.what(), "Start-end tags mismatch (line 3)");
    }
    try {
        doc.load("empty.xml");
        FAIL();
    } catch (const XmlError& e) {
        EXPECT_STREQ(e.what(), "No document element found (line 1)");
    }
    EXPECT_THROW(doc.load("absent.xml"), XmlError);
}

TEST(XmlDocument, NumbersAreCheckedAndTextBecomesLatin1)
{
    ScratchDir dir;
    writeFile("n.xml", "<Frame x=\"-5\" y=\"1O\" z=\"\" big=\"99999999999\" t=\"Caf\xc3\xa9\"/>");
    TXmlDocument doc;
    TXmlNode f = doc.load("n.xml");
    EXPECT_EQ(f.attributeInt("x"), -5);
    EXPECT_THROW(f.attributeInt("y"), XmlError);
    EXPECT_THROW(f.attributeInt("z"), XmlError);
    EXPECT_THROW(f.attributeInt("big"), XmlError);
    EXPECT_EQ(f.attribute("t"), "Caf\xe9");
}

TEST(XmlDocument, BackslashPathsInAnyCaseFindTheFile)
{
    ScratchDir dir;
    writeFile("Interface/Menu/Interface.xml", "<Ui/>");
    TXmlDocument doc;
    EXPECT_EQ(doc.load("Interface\\Menu\\Interface.xml").name(), "Ui");
    EXPECT_EQ(doc.load("interface\\MENU\\interface.XML").name(), "Ui");
}
