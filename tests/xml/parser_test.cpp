// Loading documents: decoding, normalisation, markup, and the failures that make a load false.
#include <gtest/gtest.h>

#include <string>

#include "support/SpecialFiles.h"
#include "support/TempDir.h"
#include "xml/XpObjModel.h"

using namespace sorvanta::xml;
using sorvanta::testing::TempDir;

namespace {

TXpElement* load(TXpObjModel& model, const std::string& xml) {
  EXPECT_TRUE(model.LoadMemory(xml.data(), xml.size()))
      << xml << "\n"
      << (model.errors().empty() ? "" : model.errors().front());
  return model.Document()->docGetDocumentElement();
}

std::string rootText(const std::string& xml) {
  TXpObjModel model;
  TXpElement* root = load(model, xml);
  return root ? root->noGetText() : "<no root>";
}

std::string utf16(const std::string& ascii, bool bigEndian) {
  std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (char c : ascii) {
    out += bigEndian ? '\0' : c;
    out += bigEndian ? c : '\0';
  }
  return out;
}

}  // namespace

TEST(Parser, TextIsNormalisedAndReferencesReplaced) {
  struct Case {
    const char* xml;
    const char* text;
  } cases[] = {
      {"<a>  two   words\n</a>", "two words"},
      {"<a>x &amp; y</a>", "x & y"},
      {"<a>&#65;&#x42;&lt;&gt;&apos;&quot;</a>", "AB<>'\""},
      {"<a>\t line\r\n break \r end </a>", "line break end"},
      {"<a>A <b>bold</b> word</a>", "A bold word"},
      {"<a><b>A.</b></a>", "A."},
      {"<a><!-- note --><b>A.</b></a>", "A."},
      {"<a><?pi data?>x</a>", "x"},
      {"<a><![CDATA[ <kept> & \r\n ]]></a>", " <kept> & \n "},
      {"<a>caf\xC3\xA9</a>", "caf\xE9"},
      {"<a>\xE2\x82\xAC \xE4\xB8\xAD</a>", "\x80 ?"},
      {"<a>a &#32; b&#10;c</a>", "a b c"},
      {"<a>x<b/>  </a>", "x"},
      {"<a xml:space='preserve'>  x  <b> y </b><c xml:space='default'> z </c></a>", "  x    y  z"},
  };
  for (const Case& c : cases) EXPECT_EQ(rootText(c.xml), c.text) << c.xml;
}

TEST(Parser, WhiteSpaceBetweenElementsLeavesNoNodes) {
  TXpObjModel model;
  TXpElement* root = load(model, "<a>\n  <b/>\n</a>");
  ASSERT_EQ(root->childNodes().nlGetLength(), 1);
  EXPECT_EQ(root->noGetFirstChild()->nodeName(), "b");
  EXPECT_EQ(root->noGetFirstChild(), root->noGetLastChild());
}

TEST(Parser, ByteOrderMarksAndEncodings) {
  const std::string body = "<?xml version=\"1.0\"?><a n=\"v\">t</a>";
  struct Case {
    std::string bytes;
    TCharEncoding encoding;
  } cases[] = {
      {body, ceUTF8},
      {"\xEF\xBB\xBF" + body, ceUTF8},
      {utf16(body, false), ceUTF16LE},
      {utf16(body, true), ceUTF16BE},
      {"<?xml version='1.0' encoding='iso-8859-1'?><a n='v'>t</a>", ceISO88591},
  };
  TempDir dir;
  for (const Case& c : cases) {
    TXpObjModel model;
    ASSERT_TRUE(model.LoadDataSource(dir.write("doc.xml", c.bytes)));
    TXpElement* root = model.Document()->docGetDocumentElement();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->noGetText(), "t");
    EXPECT_EQ(attributeText(root, "n"), "v");
    EXPECT_EQ(model.OutCharSet, c.encoding);
  }
  // LoadMemory leaves the output encoding alone.
  TXpObjModel model;
  model.OutCharSet = ceUTF16BE;
  load(model, body);
  EXPECT_EQ(model.OutCharSet, ceUTF16BE);
}

TEST(Parser, Latin1DeclarationDecodesHighBytesAsOneCharacter) {
  TXpObjModel model;
  TXpElement* root = load(model, "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?><a>caf\xE9</a>");
  EXPECT_EQ(root->noGetText(), "caf\xE9");
  // Without the declaration the same byte is malformed UTF-8.
  std::string utf8 = "<a>caf\xE9</a>";
  EXPECT_FALSE(model.LoadMemory(utf8.data(), utf8.size()));
}

TEST(Parser, DeclarationIsRebuiltAsProcessingInstruction) {
  TXpObjModel model;
  load(model, "<?xml  version='1.0'\n encoding = 'utf-8'   standalone=\"yes\" ?>\n<!-- c --><r/>");
  TXpNode* pi = model.Document()->noGetFirstChild();
  ASSERT_EQ(pi->nodeType(), PROCESSING_INSTRUCTION_NODE);
  EXPECT_EQ(pi->nodeName(), "xml");
  EXPECT_EQ(pi->nodeValue(), "version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\"");
  EXPECT_EQ(pi->noGetNextSibling()->nodeType(), COMMENT_NODE);
  EXPECT_EQ(pi->noGetNextSibling()->nodeValue(), " c ");
}

TEST(Parser, MarkupKindsBecomeNodes) {
  TXpObjModel model;
  TXpElement* root = load(model,
                          "<!DOCTYPE r SYSTEM 'x>y' [ <!ENTITY e '>'> <!-- ] > --> ]>"
                          "<r a='1' b=\"t&#9;u\nv&#10;\"><?target  some data ?><!--c-->"
                          "<![CDATA[d]]>text</r>");
  const TXpNodeList& children = root->childNodes();
  ASSERT_EQ(children.nlGetLength(), 4);
  EXPECT_EQ(children.Item(0)->nodeType(), PROCESSING_INSTRUCTION_NODE);
  EXPECT_EQ(children.Item(0)->nodeName(), "target");
  EXPECT_EQ(children.Item(0)->nodeValue(), "some data ");
  EXPECT_EQ(children.Item(1)->nodeType(), COMMENT_NODE);
  EXPECT_EQ(children.Item(2)->nodeType(), CDATA_SECTION_NODE);
  EXPECT_EQ(children.Item(3)->nodeType(), TEXT_NODE);
  EXPECT_EQ(children.Item(4), nullptr);
  EXPECT_EQ(children.Item(-1), nullptr);
  // Literal white space in attribute values becomes a space; references stay.
  EXPECT_EQ(attributeText(root, "b"), "t\tu v\n");
  EXPECT_EQ(root->noGetText(), "d text");
}

TEST(Parser, AttributesAndNavigation) {
  TXpObjModel model;
  TXpElement* root = load(model, "<r id='x' b='2'><p/><q/>mid<s/></r>");
  EXPECT_EQ(root->attributeMap().GetNamedItem("ID"), nullptr);
  EXPECT_EQ(root->attributeMap().GetNamedItem("id")->nodeValue(), "x");
  EXPECT_EQ(root->attributeMap().GetNamedItem("*")->nodeName(), "id");
  EXPECT_EQ(attributeText(root, "missing"), "");
  // Whole names only: neither a prefix nor an extension of a name finds it.
  TXpObjModel similar;
  TXpElement* names = load(similar, "<r nam='1' name='2' names='3' n='4'/>");
  for (auto [wanted, value] : {std::pair{"name", "2"}, {"nam", "1"}, {"names", "3"}, {"n", "4"},
                               {"na", ""}, {"namesake", ""}, {"", ""}})
    EXPECT_EQ(attributeText(names, wanted), value) << wanted;
  EXPECT_EQ(attributeText(nullptr, "id"), "");
  EXPECT_TRUE(root->HasAttributes());
  EXPECT_FALSE(root->noGetFirstChild()->HasAttributes());
  TXpNode* p = root->noGetFirstChild();
  EXPECT_EQ(p->noGetPreviousSibling(), nullptr);
  EXPECT_EQ(p->noGetNextSibling()->noGetNextSibling()->nodeValue(), "mid");
  EXPECT_EQ(root->noGetLastChild()->noGetPreviousSibling()->nodeType(), TEXT_NODE);
  EXPECT_EQ(root->noGetLastChild()->noGetNextSibling(), nullptr);
  EXPECT_EQ(p->noGetFirstChild(), nullptr);
  EXPECT_EQ(p->noGetLastChild(), nullptr);
  EXPECT_FALSE(p->HasChildNodes());
  EXPECT_EQ(root->noGetNextSibling(), nullptr);
  EXPECT_EQ(p->ownerDocument(), model.Document());
  EXPECT_EQ(root->parentNode(), model.Document());
}

TEST(Parser, MalformedInputFailsWithItsStatusAndPlace) {
  using S = XpParseStatus;
  struct Case {
    std::string xml;
    S status;
    int line, column;
    size_t offset;
  } cases[] = {
      {"", S::NoDocumentElement, 1, 1, 0},
      {"   ", S::NoDocumentElement, 1, 4, 3},
      {"<a>", S::UnclosedElement, 1, 4, 3},
      {"<a></b>", S::MismatchedEndTag, 1, 4, 3},
      {"<a></ab>", S::MismatchedEndTag, 1, 4, 3},
      {"<a", S::UnclosedElement, 1, 3, 2},
      {"<a b='1' b='2'/>", S::DuplicateAttribute, 1, 15, 14},
      {"<a b='1'c='2'/>", S::BadAttribute, 1, 9, 8},
      {"<a b=1/>", S::BadAttribute, 1, 6, 5},
      {"<a b='x/>", S::BadAttribute, 1, 10, 9},
      {"<a b='<'/>", S::BadAttribute, 1, 7, 6},
      {"<a>\n  <b>&undefined;</b></a>", S::UndefinedEntity, 2, 6, 9},
      {"<a>&#0;</a>", S::BadCharacterReference, 1, 4, 3},
      {"<a>&#xD800;</a>", S::BadCharacterReference, 1, 4, 3},
      {"<a>&#x110000;</a>", S::BadCharacterReference, 1, 4, 3},
      {"<a>&#;</a>", S::BadCharacterReference, 1, 4, 3},
      {"<a>&amp</a>", S::UndefinedEntity, 1, 4, 3},
      {"<a>\x01</a>", S::BadCharacter, 1, 4, 3},
      // after a CR LF, a lone CR and a two-byte character: lines and characters, not bytes
      {"<a>\r\n\r\xC3\xA9\xC3\x28</a>", S::BadEncoding, 3, 2, 8},
      {"<a>\xC0\xAF</a>", S::BadEncoding, 1, 4, 3},
      {"<a>\xED\xA0\x80</a>", S::BadCharacter, 1, 4, 3},
      {"<a>\xEF\xBF\xBE</a>", S::BadCharacter, 1, 4, 3},
      {std::string("<a>\0</a>", 8), S::BadCharacter, 1, 4, 3},
      {"<?xml version=\"1.1\"?><a/>", S::BadDeclaration, 1, 16, 15},
      {"<?xml encoding=\"UTF-8\"?><a/>", S::BadDeclaration, 1, 7, 6},
      {"<a/><?xml version='1.0'?>", S::BadDeclaration, 1, 5, 4},
      {"<a/><b/>", S::OutsideDocumentElement, 1, 6, 5},
      {"text<a/>", S::OutsideDocumentElement, 1, 1, 0},
      {"<a/>text", S::OutsideDocumentElement, 1, 5, 4},
      {"</a>", S::UnexpectedEndTag, 1, 1, 0},
      {"<a><![CDATA[x</a>", S::BadCData, 1, 4, 3},
      {"<![CDATA[x]]><a/>", S::OutsideDocumentElement, 1, 1, 0},
      {"<a><!-- a -- b --></a>", S::BadComment, 1, 11, 10},
      {"<a><!-- open</a>", S::BadComment, 1, 4, 3},
      {"<a><?pi open</a>", S::BadProcessingInstruction, 1, 4, 3},
      {"<a/><!DOCTYPE a>", S::BadDoctype, 1, 5, 4},
      {"<!DOCTYPE a [ <!ENTITY e 'x'> ]><a>&e;</a>", S::UndefinedEntity, 1, 36, 35},
      {"<a><!ELEMENT x></a>", S::BadMarkup, 1, 4, 3},
      {"<1a/>", S::BadMarkup, 1, 2, 1},
      // UTF-16: offsets count two bytes a character, after the byte-order mark
      {std::string("\xFF\xFE<\0a\0", 6), S::UnclosedElement, 1, 3, 6},
      {std::string("\xFF\xFE<\0a\0\n\0\x00\xD8", 10), S::BadEncoding, 2, 1, 8},
      {std::string("\xFE\xFF\0<\0a\0", 7), S::BadEncoding, 1, 3, 6},
      // ISO-8859-1: one byte a character
      {"<?xml version='1.0' encoding='ISO-8859-1'?><a>\xE9&x;</a>", S::UndefinedEntity, 1, 48, 47},
  };
  for (const Case& c : cases) {
    TXpObjModel model;
    EXPECT_FALSE(model.LoadMemory(c.xml.data(), c.xml.size())) << c.xml;
    const XpParseResult& result = model.parseResult();
    EXPECT_EQ(result.status, c.status) << c.xml << ": " << result.message();
    EXPECT_EQ(result.line, c.line) << c.xml << ": " << result.message();
    EXPECT_EQ(result.column, c.column) << c.xml << ": " << result.message();
    EXPECT_EQ(result.offset, c.offset) << c.xml << ": " << result.message();
    ASSERT_EQ(model.errors().size(), 1u) << c.xml;
    EXPECT_EQ(model.errors().front(), result.message()) << c.xml;
    EXPECT_EQ(model.Document()->docGetDocumentElement(), nullptr) << c.xml;
  }
}

TEST(Parser, FailureMessagesNameTheFileLineAndColumn) {
  TempDir dir;
  dir.write("lu1001.xml", "<a>\r\n  <b x='1'>&foo;</b></a>");
  TXpObjModel model;
  EXPECT_FALSE(model.LoadDataSource(dir.file("lu1001.xml")));
  EXPECT_EQ(model.parseResult().offset, 16u);
  EXPECT_EQ(model.parseResult().messageFor("luXML/lu1001.xml"),
            "Cannot read luXML/lu1001.xml: undefined entity '&foo;' at line 2, column 12");
  EXPECT_TRUE(model.LoadMemory("<a/>", 4));
  EXPECT_TRUE(model.parseResult().ok());
}

TEST(Parser, MissingFileEmptiesTheDocument) {
  TXpObjModel model;
  load(model, "<a/>");
  TempDir dir;
  EXPECT_FALSE(model.LoadDataSource(dir.file("missing.xml")));
  EXPECT_EQ(model.Document()->docGetDocumentElement(), nullptr);
  ASSERT_EQ(model.errors().size(), 1u);
  EXPECT_NE(model.errors()[0].find("missing.xml"), std::string::npos);
  EXPECT_EQ(model.parseResult().status, XpParseStatus::CannotOpen);
  EXPECT_EQ(model.parseResult().line, 0);
}

TEST(Parser, DeepNestingAndManyAttributesStayLinear) {
  constexpr int kDepth = 100000;
  std::string deep;
  for (int i = 0; i < kDepth; ++i) deep += "<e>";
  deep += "core";
  for (int i = 0; i < kDepth; ++i) deep += "</e>";
  TXpObjModel model;
  TXpElement* root = load(model, deep);
  EXPECT_EQ(root->noGetText(), "core");
  std::string saved;
  ASSERT_TRUE(model.saveToBytes(saved));
  EXPECT_EQ(saved, deep);

  constexpr int kAttributes = 200000;
  std::string wide = "<e";
  for (int i = 0; i < kAttributes; ++i)
    wide += " a" + std::to_string(i) + "='" + std::to_string(i) + "'";
  root = load(model, wide + "/>");
  EXPECT_EQ(root->attributeMap().nlGetLength(), kAttributes);
  EXPECT_EQ(attributeText(root, "a199999"), "199999");
  std::string duplicate = wide + " a12345='again'/>";
  EXPECT_FALSE(model.LoadMemory(duplicate.data(), duplicate.size()));
}

TEST(Parser, NormalisationCanBeSwitchedOff) {
  TXpObjModel model;
  model.NormalizeData = false;
  TXpElement* root = load(model, "<a>\n  <b> x  y </b>\n</a>");
  EXPECT_EQ(root->childNodes().nlGetLength(), 3);
  EXPECT_EQ(root->noGetFirstChild()->noGetNextSibling()->noGetText(), " x  y ");
}

TEST(Parser, SpecialFilesNamedLikeDocumentsFailWithoutBlocking) {
  TempDir dir;
  for (const auto& special : sorvanta::testing::makeSpecialFiles(dir)) {
    TXpObjModel model;
    bool loaded = true;
    EXPECT_TRUE(sorvanta::testing::returnsWithoutBlocking(
        special.path, [&] { return model.LoadDataSource(special.path); }, loaded))
        << special.kind;
    EXPECT_FALSE(loaded) << special.kind;
    EXPECT_EQ(model.errors().front(), "Cannot open file " + special.path) << special.kind;
  }
}
