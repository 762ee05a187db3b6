#include "ui/xml_reader.h"

#include <gtest/gtest.h>

#include <string>

namespace ui {
namespace {

TEST(XmlReaderTest, ReadsElementsAttributesEntitiesAndComments) {
  std::string error;
  auto root = ReadXml(
      "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!-- skin -->\n"
      "<Window size='800,572'>\n  <Label text=\"a &amp; b &lt;&#x4E2D;&#25991;&gt;\" "
      "x=\"\xE9\x80\x80\"/>"
      "<!-- between --><List></List>\n</Window>\n<!-- after -->\n",
      &error);
  ASSERT_TRUE(root) << error;
  EXPECT_EQ(root->name, u"Window");
  EXPECT_EQ(*root->Attribute(u"size"), u"800,572");
  ASSERT_EQ(root->children.size(), 2u);
  EXPECT_EQ(*root->children[0].Attribute(u"text"), u"a & b <\u4E2D\u6587>");
  EXPECT_EQ(*root->children[0].Attribute(u"x"), u"\u9000");
  EXPECT_EQ(root->children[1].name, u"List");
  EXPECT_EQ(root->Attribute(u"missing"), nullptr);
}

TEST(XmlReaderTest, RefusesDamagedAndHostileInputWithAPlace) {
  const char* bad[] = {
      "",
      "<a>",
      "<a></b>",
      "<a x='1' x='2'/>",
      "<a x=1/>",
      "<a x='<'/>",
      "<a>text</a>",
      "<a/><b/>",
      "<a x='&bogus;'/>",
      "<a x='&#0;'/>",
      "<a x='&#x110000;'/>",
      "<a x='&#99999999999;'/>",
      "<a x='\xC0\xAF'/>",      // overlong '/'
      "<a x='\xED\xA0\x80'/>",  // a surrogate
      "<a x='\xE4\xB8'/>",      // cut short
      "<!DOCTYPE a><a/>",
      "<a><![CDATA[x]]></a>",
      "<a><!-- open </a>",
      "<a x='1'y='2'/>",
      "<1a/>",
  };
  for (const char* text : bad) {
    std::string error;
    EXPECT_FALSE(ReadXml(text, &error)) << text;
    EXPECT_NE(error.find("line"), std::string::npos) << text;
  }
}

TEST(XmlReaderTest, LimitsDepthCountAttributesAndSize) {
  std::string deep;
  for (int i = 0; i < 100; ++i) deep += "<a>";
  for (int i = 0; i < 100; ++i) deep += "</a>";
  std::string error;
  EXPECT_FALSE(ReadXml(deep, &error));
  EXPECT_NE(error.find("nested"), std::string::npos);
  XmlReadLimits small;
  small.max_elements = 3;
  EXPECT_FALSE(ReadXml("<a><b/><b/><b/></a>", &error, small));
  small.max_bytes = 4;
  EXPECT_FALSE(ReadXml("<abc/>", &error, small));
  EXPECT_TRUE(ReadXml("<a><b/><b/></a>", &error));
  // Each attribute is checked against those before it, so an element holds a bounded number.
  std::string wide = "<a";
  for (int i = 0; i < 64; ++i) wide += " n" + std::to_string(i) + "=''";
  EXPECT_TRUE(ReadXml(wide + "/>", &error)) << error;
  EXPECT_FALSE(ReadXml(wide + " last=''/>", &error));
  EXPECT_NE(error.find("too many attributes"), std::string::npos) << error;
}

}  // namespace
}  // namespace ui
