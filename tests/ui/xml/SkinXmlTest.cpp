#include "ui/xml/SkinXml.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "platform/Text.h"

namespace {

using Vellum::CSkinXml;
using Vellum::CSkinXmlNode;
using Vellum::SkinTextEncoding;

std::wstring Text(const wchar_t* text) {
  return text != nullptr ? std::wstring(text) : std::wstring(L"<null>");
}

std::wstring Attribute(const CSkinXmlNode& node, std::wstring_view name) {
  wchar_t buffer[256] = {};
  if (!node.FindAttribute(name, buffer, 255)) return L"<missing>";
  return buffer;
}

std::vector<std::uint8_t> Bytes(std::string_view text) {
  return {text.begin(), text.end()};
}

struct ParseCase {
  const char* name;
  const wchar_t* text;
  bool parses;
  const wchar_t* message;
};

void PrintTo(const ParseCase& c, std::ostream* os) {
  *os << c.name;
}

class SkinXmlParseTest : public testing::TestWithParam<ParseCase> {};

TEST_P(SkinXmlParseTest, ParsesOrFailsWithItsMessage) {
  const ParseCase& c = GetParam();
  CSkinXml document;
  EXPECT_EQ(document.ParseText(c.text), c.parses) << c.name;
  EXPECT_EQ(document.ErrorMessage(), c.message) << c.name;
  if (!c.parses) {
    EXPECT_FALSE(document.Root().IsValid()) << "a failure leaves the document cleared";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Documents, SkinXmlParseTest,
    testing::Values(ParseCase{"MissingEndTagOfTheTopElement", L"<Window><Label name=\"a\"/>", true, L""},
                    ParseCase{"MissingEndTagOfRowOneAndItsChild", L"<Window><Label>text", true, L""},
                    ParseCase{"MissingEndTagOneLevelDeeper", L"<Window><Container><Label/>", false,
                              L"Expected start tag"},
                    ParseCase{"TextOneLevelDeeperWithoutEndTag", L"<Window><Container><Label>text", false,
                              L"Expected end-tag start"},
                    ParseCase{"EndTagInOtherLetterCase", L"<A></a>", false, L"Unmatched closing tag"},
                    ParseCase{"EndTagWithoutClosingBracket", L"<A></A", false, L"Unmatched closing tag"},
                    ParseCase{"EndTagWithBlanks", L"<A></ A >", true, L""},
                    ParseCase{"SingleQuotedValue", L"<A x='1'/>", false, L"Expected attribute value"},
                    ParseCase{"AttributeWithoutValue", L"<A x/>", false, L"Error while parsing attributes"},
                    ParseCase{"TextEndsInsideAValue", L"<A x=\"1", false, L"Error while parsing attribute string"},
                    ParseCase{"TextEndsInsideAName", L"<Window", false, L"Error parsing element name"},
                    ParseCase{"TextEndsAfterTheAttributes", L"<A x=\"1\"", false, L"Expected start-tag closing"},
                    ParseCase{"SlashNotFollowedByBracket", L"<A x=\"1\"/ >", false, L"Expected start-tag closing"},
                    ParseCase{"TextBeforeTheFirstElement", L"hello <A/>", false, L"Expected start tag"},
                    ParseCase{"TextAfterTheLastElement", L"<A>x</A>y", false, L"Expected start tag"},
                    ParseCase{"OnlyADeclaration", L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>", true, L""},
                    ParseCase{"OnlyAComment", L"<!-- nothing -->", true, L""},
                    ParseCase{"OnlyWhitespace", L" \r\n\t ", true, L""}, ParseCase{"Empty", L"", true, L""}),
    [](const testing::TestParamInfo<ParseCase>& param) { return std::string(param.param.name); });

TEST(SkinXmlTest, DocumentsWithoutElementsHaveNoRoot) {
  for (const wchar_t* text : {L"", L"  ", L"<?xml version=\"1.0\"?>", L"<!-- c -->\n<?x?>"}) {
    CSkinXml document;
    ASSERT_TRUE(document.ParseText(text));
    EXPECT_FALSE(document.Root().IsValid()) << Text(text);
  }
}

TEST(SkinXmlTest, ElementsFormATreeInDocumentOrder) {
  CSkinXml document(L"<?xml version=\"1.0\"?>\n<!-- skin -->\n<W a=\"1\"><A/><B>\n  <C/>\n</B><D x=\"2\" /></W>");
  const CSkinXmlNode root = document.Root();
  ASSERT_TRUE(root.IsValid());
  EXPECT_EQ(Text(root.Name()), L"W");
  EXPECT_TRUE(root.HasChildren());
  const CSkinXmlNode a = root.FirstChild();
  const CSkinXmlNode b = a.NextSibling();
  const CSkinXmlNode d = b.NextSibling();
  EXPECT_EQ(Text(a.Name()), L"A");
  EXPECT_EQ(Text(b.Name()), L"B");
  EXPECT_EQ(Text(b.FirstChild().Name()), L"C");
  EXPECT_FALSE(b.FirstChild().NextSibling().IsValid());
  EXPECT_EQ(Text(d.Name()), L"D");
  EXPECT_EQ(Attribute(d, L"x"), L"2");
  EXPECT_FALSE(d.NextSibling().IsValid());
  EXPECT_FALSE(a.HasChildren());
  EXPECT_FALSE(a.FirstChild().IsValid());
  EXPECT_EQ(Attribute(root, L"a"), L"1");
  EXPECT_EQ(document.ElementCount(), 6u) << "five elements and the unused row 0";
}

TEST(SkinXmlTest, NamesEndAtTheirTagsEvenWithoutEndTag) {
  CSkinXml document(L"<Window>some text");
  ASSERT_TRUE(document.Root().IsValid());
  EXPECT_EQ(Text(document.Root().Name()), L"Window");
}

TEST(SkinXmlTest, EndTagsAreCaseSensitiveButAttributeLookupIsNot) {
  CSkinXml document;
  ASSERT_FALSE(document.ParseText(L"<Window></window>"));
  ASSERT_TRUE(document.ParseText(L"<Window Caption=\"0,0,0,172\"></Window>"));
  EXPECT_EQ(Attribute(document.Root(), L"caption"), L"0,0,0,172");
  EXPECT_EQ(Attribute(document.Root(), L"CAPTION"), L"0,0,0,172");
  EXPECT_EQ(Attribute(document.Root(), L"captio"), L"<missing>");
}

struct EntityCase {
  const wchar_t* written;
  const wchar_t* read;
};

TEST(SkinXmlTest, NamedEntitiesAreDecodedAndOthersKeptAsWritten) {
  const EntityCase cases[] = {
      {L"&amp;&lt;&gt;&quot;&apos;", L"&<>\"'"},
      {L"a&nbsp;b", L"a&nbsp;b"},
      {L"&#65;", L"&#65;"},
      {L"&AMP;", L"&AMP;"},
      {L"&amp", L"&amp"},
      {L"&&amp;", L"&&"},
      {L"x & y", L"x & y"},
      {L"file=&apos;picRes\\btn_blue.png&apos; source=&apos;0,36,115,72&apos;",
       L"file='picRes\\btn_blue.png' source='0,36,115,72'"},
  };
  for (const EntityCase& c : cases) {
    CSkinXml document(std::wstring(L"<A v=\"") + c.written + L"\" next=\"after\"/>");
    ASSERT_TRUE(document.Root().IsValid()) << Text(c.written) << ": " << Text(document.ErrorMessage().c_str());
    EXPECT_EQ(Attribute(document.Root(), L"v"), c.read) << Text(c.written);
    EXPECT_EQ(Attribute(document.Root(), L"next"), L"after") << "decoding leaves the following attribute intact";
    EXPECT_EQ(document.Root().AttributeCount(), 2);
  }
}

TEST(SkinXmlTest, AttributesAreMappedInOrderUpToSixtyFour) {
  std::wstring text = L"<A";
  for (int i = 0; i < 70; ++i) text += L" a" + std::to_wstring(i) + L"=\"v" + std::to_wstring(i) + L"\"";
  text += L"/>";
  CSkinXml document(text);
  const CSkinXmlNode root = document.Root();
  ASSERT_EQ(root.AttributeCount(), Vellum::MAX_NODE_ATTRIBUTES);
  EXPECT_EQ(Text(root.AttributeName(0)), L"a0");
  EXPECT_EQ(Text(root.AttributeValue(63)), L"v63");
  EXPECT_EQ(Attribute(root, L"a63"), L"v63");
  EXPECT_EQ(Attribute(root, L"a64"), L"<missing>") << "attributes past the 64th are invisible";
}

TEST(SkinXmlTest, AttributeIndexOutsideTheCountGivesTheEmptyText) {
  CSkinXml document(L"<A x=\"1\" y=\"\"/>");
  const CSkinXmlNode root = document.Root();
  ASSERT_EQ(root.AttributeCount(), 2);
  EXPECT_TRUE(root.HasAttributes());
  EXPECT_EQ(Text(root.AttributeName(-1)), L"");
  EXPECT_EQ(Text(root.AttributeValue(2)), L"");
  EXPECT_EQ(Text(root.AttributeValue(1)), L"");
  EXPECT_EQ(Text(root.AttributeName(1)), L"y");

  const CSkinXmlNode invalid;
  EXPECT_EQ(invalid.Name(), nullptr);
  EXPECT_EQ(invalid.AttributeName(0), nullptr);
  EXPECT_EQ(invalid.AttributeValue(0), nullptr);
  EXPECT_EQ(invalid.AttributeCount(), 0);
  EXPECT_FALSE(invalid.HasChildren());
  wchar_t buffer[4] = {};
  EXPECT_FALSE(invalid.FindAttribute(L"x", buffer, 3));
}

TEST(SkinXmlTest, ElementWithoutAttributesHasNone) {
  for (const wchar_t* text : {L"<A/>", L"<A />", L"<A></A>", L"<A >x</A>", L"<A>"}) {
    CSkinXml document(text);
    ASSERT_TRUE(document.Root().IsValid()) << Text(text);
    EXPECT_EQ(document.Root().AttributeCount(), 0) << Text(text);
    EXPECT_FALSE(document.Root().HasAttributes()) << Text(text);
  }
}

TEST(SkinXmlTest, FindAttributeCopiesAtMostTheCapacity) {
  CSkinXml document(L"<A name=\"abcdef\"/>");
  wchar_t buffer[8] = {};
  ASSERT_TRUE(document.Root().FindAttribute(L"name", buffer, 3));
  EXPECT_EQ(std::wstring(buffer), L"abc");
  EXPECT_EQ(buffer[3], L'\0') << "nothing written past the capacity";
  wchar_t whole[16];
  std::fill(std::begin(whole), std::end(whole), L'#');
  ASSERT_TRUE(document.Root().FindAttribute(L"NAME", whole, 15));
  EXPECT_EQ(std::wstring(whole), L"abcdef");
}

TEST(SkinXmlTest, FailuresReportTheirLocation) {
  CSkinXml document;
  ASSERT_FALSE(document.ParseText(L"<A x='1'/>"));
  EXPECT_EQ(document.ErrorLocation(), L"1'/>") << "just after the character that is not a quote";
  ASSERT_FALSE(document.ParseText(L"<A>text</B>"));
  EXPECT_EQ(document.ErrorLocation(), L"B>");
  ASSERT_FALSE(document.ParseText(L"<A>" + std::wstring(100, L'x') + L"</A> oops"));
  EXPECT_EQ(document.ErrorMessage(), L"Expected start tag");
  EXPECT_EQ(document.ErrorLocation(), L"oops");
  ASSERT_FALSE(document.ParseText(L"<A/>" + std::wstring(80, L'y')));
  EXPECT_EQ(document.ErrorLocation(), std::wstring(49, L'y')) << "at most 49 characters are kept";
  ASSERT_TRUE(document.ParseText(L"<A/>"));
  EXPECT_EQ(document.ErrorMessage(), L"");
  EXPECT_EQ(document.ErrorLocation(), L"");
}

TEST(SkinXmlTest, TheElementTableGrowsByHalfPlusFiveHundred) {
  const auto rowsFor = [](int elements) {
    std::wstring text = L"<W>";
    for (int i = 1; i < elements; ++i) text += L"<L/>";
    CSkinXml document(text + L"</W>");
    EXPECT_EQ(document.ElementCount(), static_cast<std::uint32_t>(elements + 1));
    return document.ReservedRows();
  };
  EXPECT_EQ(rowsFor(1), 500u);
  EXPECT_EQ(rowsFor(499), 500u);
  EXPECT_EQ(rowsFor(500), 1250u);
  EXPECT_EQ(rowsFor(1250), 2375u);
}

TEST(SkinXmlTest, DeepNestingParsesWithoutExhaustingTheStack) {
  constexpr int kDepth = 200000;
  std::wstring text;
  for (int i = 0; i < kDepth; ++i) text += L"<a>";
  for (int i = 0; i < kDepth; ++i) text += L"</a>";
  CSkinXml document(text);
  ASSERT_TRUE(document.Root().IsValid());
  EXPECT_EQ(document.ElementCount(), static_cast<std::uint32_t>(kDepth + 1));
}

TEST(SkinXmlTest, Utf8WithAndWithoutByteOrderMarkReadTheSame) {
  const std::string body = "<Window text=\"露摩游戏中心\"/>";
  for (const std::string& bytes : {body, "\xEF\xBB\xBF" + body}) {
    CSkinXml document;
    ASSERT_TRUE(document.ParseBytes(Bytes(bytes), SkinTextEncoding::Utf8));
    EXPECT_EQ(Text(document.Root().Name()), L"Window");
    EXPECT_EQ(Attribute(document.Root(), L"text"), L"露摩游戏中心");
  }
}

TEST(SkinXmlTest, InvalidUtf8BecomesReplacementCharacters) {
  CSkinXml document;
  ASSERT_TRUE(document.ParseBytes(Bytes("<A v=\"\xFF\"/>"), SkinTextEncoding::Utf8));
  EXPECT_EQ(Attribute(document.Root(), L"v"), L"\uFFFD");
}

std::string Utf16(std::u16string_view text, bool bigEndian) {
  std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (const char16_t unit : text) {
    const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
    bytes += bigEndian ? std::string{high, low} : std::string{low, high};
  }
  return bytes;
}

TEST(SkinXmlTest, Utf16NeedsAByteOrderMark) {
  for (const bool bigEndian : {false, true}) {
    CSkinXml document;
    ASSERT_TRUE(document.ParseBytes(Bytes(Utf16(u"<A v=\"中\U0001F600\"/>", bigEndian)), SkinTextEncoding::Utf16));
    EXPECT_EQ(Attribute(document.Root(), L"v"), L"中\U0001F600") << "big endian: " << bigEndian;
  }
  std::string withoutMark = Utf16(u"<A/>", false).substr(2);
  CSkinXml document;
  EXPECT_FALSE(document.ParseBytes(Bytes(withoutMark), SkinTextEncoding::Utf16));
  EXPECT_FALSE(document.Root().IsValid());
  EXPECT_FALSE(document.ParseBytes(Bytes("\xFF"), SkinTextEncoding::Utf16));
}

TEST(SkinXmlTest, TruncatedUtf16DropsTheOddByteAndLoneSurrogates) {
  std::string bytes = Utf16(u"<A v=\"\xD800\"/>", false) + "\x41";
  CSkinXml document;
  ASSERT_TRUE(document.ParseBytes(Bytes(bytes), SkinTextEncoding::Utf16));
  EXPECT_EQ(Attribute(document.Root(), L"v"), L"\uFFFD");
}

TEST(SkinXmlTest, AnsiUsesTheLocaleEncoding) {
  platform::InitProcessLocale();
  CSkinXml document;
  ASSERT_TRUE(document.ParseBytes(Bytes(platform::WideToMultiByte(L"<A v=\"安装\"/>")), SkinTextEncoding::Ansi));
  EXPECT_EQ(Attribute(document.Root(), L"v"), L"安装");
}

TEST(SkinXmlTest, ParsingAgainStartsAFreshElementTable) {
  CSkinXml document;
  ASSERT_TRUE(document.ParseBytes(Bytes("<First><X/></First>"), SkinTextEncoding::Utf8));
  ASSERT_TRUE(document.ParseBytes(Bytes("<Second/>"), SkinTextEncoding::Utf8));
  EXPECT_EQ(Text(document.Root().Name()), L"Second");
  EXPECT_EQ(document.ElementCount(), 2u);
}

TEST(SkinXmlTest, ClearForgetsEverything) {
  CSkinXml document(L"<A x=\"1\"/>");
  const CSkinXmlNode old = document.Root();
  document.Clear();
  EXPECT_FALSE(document.Root().IsValid());
  EXPECT_EQ(document.ElementCount(), 0u);
  EXPECT_EQ(old.Name(), nullptr) << "a node of a cleared document reads nothing";
}

}  // namespace
