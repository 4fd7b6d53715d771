// Building documents from templates and saving them byte for byte.
#include <gtest/gtest.h>

#include <string>

#include "support/TempDir.h"
#include "text/Errors.h"
#include "xml/XpObjModel.h"

using namespace sorvanta::xml;
using sorvanta::testing::readBytes;
using sorvanta::testing::TempDir;
using sorvanta::testing::testDataPath;

namespace {

const std::string kCorpusTemplate =
    "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\n<corpus lang=\"en\">\n</corpus>\n";
const std::string kDeclaration = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n";

// A saving document object as the program sets one up, holding the corpus template.
struct Built {
  TXpObjModel model;
  TXpElement* root = nullptr;
  explicit Built(const std::string& xml = kCorpusTemplate) {
    model.FormattedOutput = true;
    EXPECT_TRUE(model.LoadMemory(xml.data(), xml.size()));
    root = model.Document()->docGetDocumentElement();
  }
  std::string bytes() {
    std::string out;
    EXPECT_TRUE(model.saveToBytes(out));
    return out;
  }
};

}  // namespace

TEST(Writer, GoldenFiles) {
  TempDir dir;
  Built empty;
  ASSERT_EQ(empty.model.Document()->childNodes().nlGetLength(), 2);
  empty.model.SaveToFile(dir.file("empty.xml"));
  EXPECT_EQ(readBytes(dir.file("empty.xml")), readBytes(testDataPath("golden/empty_corpus.xml")));
  EXPECT_EQ(readBytes(dir.file("empty.xml")).size(), 64u);

  Built eight;
  TXpElement* frame = eight.root->CreateChildElement("frame");
  frame->SetAttribute("name", "Motion");
  TXpElement* instance = frame->CreateChildElement("instance");
  instance->SetAttribute("lexunit", "glide.v");
  instance->SetAttribute("luID", "4182");
  instance->SetAttribute("sentID", "771903");
  instance->CreateChildElement("sentence")->CreateChildText("A & B");
  eight.model.SaveToFile(dir.file("eight.xml"));
  std::string saved = readBytes(dir.file("eight.xml"));
  EXPECT_EQ(saved, readBytes(testDataPath("golden/eight_lines.xml")));
  // Saving does not change the document: a second save writes the same bytes.
  eight.model.SaveToFile(dir.file("eight.xml"));
  EXPECT_EQ(readBytes(dir.file("eight.xml")), saved);
}

TEST(Writer, Layout) {
  struct Case {
    const char* name;
    void (*build)(TXpElement* root);
    std::string body;  // after the declaration line
  } cases[] = {
      {"empty child is one empty tag",
       [](TXpElement* r) { r->CreateChildElement("instance")->SetAttribute("a", "1"); },
       "<corpus lang=\"en\">\r\n  <instance a=\"1\"/>\r\n</corpus>"},
      {"attribute escaping",
       [](TXpElement* r) { r->SetAttribute("v", "q\"a&b<c>d'e\xE9\nf\tg\rh"); },
       "<corpus lang=\"en\" v=\"q&#34;a&amp;b&lt;c>d'e&#233;&#xA;f\tg\rh\"/>"},
      {"text escaping keeps line feeds and >",
       [](TXpElement* r) { r->CreateChildElement("s")->CreateChildText("A>B\nC&<\x80\x01"); },
       "<corpus lang=\"en\">\r\n  <s>A>B\nC&amp;&lt;&#8364;&#1;</s>\r\n</corpus>"},
      {"attributes in the order last set",
       [](TXpElement* r) {
         TXpElement* l = r->CreateChildElement("label");
         l->SetAttribute("start", "1");
         l->SetAttribute("end", "2");
         l->SetAttribute("start", "3");
       },
       "<corpus lang=\"en\">\r\n  <label end=\"2\" start=\"3\"/>\r\n</corpus>"},
      {"two texts run together",
       [](TXpElement* r) {
         TXpElement* s = r->CreateChildElement("s");
         s->CreateChildText("one");
         s->CreateChildText(" two");
       },
       "<corpus lang=\"en\">\r\n  <s>one two</s>\r\n</corpus>"},
      {"text then element",
       [](TXpElement* r) {
         TXpElement* s = r->CreateChildElement("s");
         s->CreateChildText("lead");
         s->CreateChildElement("t")->CreateChildText("x");
       },
       "<corpus lang=\"en\">\r\n  <s>lead\r\n    <t>x</t>\r\n  </s>\r\n</corpus>"},
      {"element then text",
       [](TXpElement* r) {
         TXpElement* s = r->CreateChildElement("s");
         s->CreateChildElement("t");
         s->CreateChildText("tail");
       },
       "<corpus lang=\"en\">\r\n  <s>\r\n    <t/>tail</s>\r\n</corpus>"},
      {"empty text value", [](TXpElement* r) { r->CreateChildElement("s")->CreateChildText(""); },
       "<corpus lang=\"en\">\r\n  <s></s>\r\n</corpus>"},
  };
  for (const Case& c : cases) {
    Built built;
    c.build(built.root);
    EXPECT_EQ(built.bytes(), kDeclaration + c.body) << c.name;
  }
}

TEST(Writer, UnformattedKeepsBreaksOnlyBetweenDocumentChildren) {
  Built built("<?xml version=\"1.0\"?><!--c--><r><a><b>t</b></a></r>");
  built.model.FormattedOutput = false;
  EXPECT_EQ(built.bytes(), "<?xml version=\"1.0\"?>\r\n<!--c-->\r\n<r><a><b>t</b></a></r>");
}

TEST(Writer, CharactersBeyondSixteenBitsBecomeTwoReferences) {
  Built built("<r>\xF0\x9F\x98\x80</r>");
  EXPECT_EQ(built.bytes(), "<r>&#55357;&#56832;</r>");
}

TEST(Writer, OutputEncodingFollowsTheLastLoadedFile) {
  struct Case {
    TCharEncoding encoding;
    std::string prefix;
    int bytesPerChar;
  } cases[] = {
      {ceUnknown, "<r", 1},
      {ceISO88591, "<r", 1},
      {ceUTF8, "\xEF\xBB\xBF<r", 1},
      {ceUTF16LE, std::string("\xFF\xFE<\0r\0", 6), 2},
      {ceUTF16BE, std::string("\xFE\xFF\0<\0r", 6), 2},
  };
  for (const Case& c : cases) {
    Built built("<r a='\xC3\xA9'/>");
    built.model.OutCharSet = c.encoding;
    std::string bytes = built.bytes();
    EXPECT_EQ(bytes.substr(0, c.prefix.size()), c.prefix) << c.encoding;
    size_t body = std::string("<r a=\"&#233;\"/>").size();
    EXPECT_EQ(bytes.size(), c.prefix.size() - 2 * c.bytesPerChar + body * c.bytesPerChar);
  }
  Built plain("<r/>");
  plain.model.WriteUTF8Signature = false;
  plain.model.OutCharSet = ceUTF8;
  EXPECT_EQ(plain.bytes(), "<r/>");
}

TEST(Writer, NamesOutsideTheEncodingAreRefused) {
  Built built("<r\xC4\x80/>");
  std::string out;
  EXPECT_FALSE(built.model.saveToBytes(out));
  built.model.OutCharSet = ceUTF8;
  EXPECT_TRUE(built.model.saveToBytes(out));
}

TEST(Writer, SavedDocumentLoadsBackToTheSameTree) {
  TempDir dir;
  Built built;
  TXpElement* s = built.root->CreateChildElement("sentence");
  s->SetAttribute("text", "He said \"caf\xE9 & <b>\"\n");
  s->CreateChildText("caf\xE9 \x80 & <b> 'q'");
  built.model.SaveToFile("file://" + dir.file("round.xml"));
  TXpObjModel again;
  ASSERT_TRUE(again.LoadDataSource(dir.file("round.xml")));
  TXpNode* sentence = again.Document()->docGetDocumentElement()->noGetFirstChild();
  EXPECT_EQ(attributeText(sentence, "text"), "He said \"caf\xE9 & <b>\"\n");
  EXPECT_EQ(sentence->noGetText(), "caf\xE9 \x80 & <b> 'q'");
}

TEST(Writer, FileThatCannotBeCreatedRaisesTheError) {
  TempDir dir;
  Built built;
  std::string path = dir.file("no/such/folder/out.xml");
  try {
    built.model.SaveToFile(path);
    FAIL() << "no error raised";
  } catch (const sorvanta::text::FileCreateError& error) {
    EXPECT_EQ(std::string(error.what()), "Cannot create file " + path);
  }
}
