// Documents written while they grow: the bytes equal those of the finished tree saved whole,
// whatever the layout, the encoding, the start document and where the pieces are cut.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "text/WorkingText.h"
#include "xml/XpDocumentStream.h"
#include "xml/XpObjModel.h"
#include "xml/XpWriter.h"

using namespace sorvanta::xml;
using sorvanta::text::workingToUtf8;

namespace {

// An element to append, names and values in working text.
struct Element {
  std::string name;
  std::vector<std::pair<std::string, std::string>> attributes = {};
  std::optional<std::string> text = {};  // a text child before the children
  std::vector<Element> children = {};
  std::optional<std::string> tail = {};  // a text child after them
};

void build(TXpElement* parent, const Element& e) {
  TXpElement* element = parent->CreateChildElement(e.name);
  for (const auto& [name, value] : e.attributes) element->SetAttribute(name, value);
  if (e.text) element->CreateChildText(*e.text);
  for (const Element& child : e.children) build(element, child);
  if (e.tail) element->CreateChildText(*e.tail);
}

// Written with the working-text calls, or with the UTF-8 ones on converted values.
void write(XpMarkupWriter& writer, const Element& e, bool working) {
  writer.startElement(workingToUtf8(e.name));
  for (const auto& [name, value] : e.attributes) {
    if (working)
      writer.workingAttribute(workingToUtf8(name), value);
    else
      writer.attribute(workingToUtf8(name), workingToUtf8(value));
  }
  const auto text = [&](const std::string& value) {
    if (working)
      writer.workingText(value);
    else
      writer.text(workingToUtf8(value));
  };
  if (e.text) text(*e.text);
  for (const Element& child : e.children) write(writer, child, working);
  if (e.tail) text(*e.tail);
  writer.endElement();
}

const std::string kCorpus =
    "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\n<corpus lang=\"en\">\n</corpus>\n";

struct Settings {
  const char* what;
  bool formatted;
  TCharEncoding encoding;
  bool signature;
};

const Settings kSettings[] = {
    {"formatted, ISO-8859-1", true, ceUnknown, true},
    {"unformatted, ISO-8859-1", false, ceISO88591, true},
    {"formatted, UTF-8 with signature", true, ceUTF8, true},
    {"formatted, UTF-8 without signature", true, ceUTF8, false},
    {"formatted, UTF-16LE", true, ceUTF16LE, true},
    {"unformatted, UTF-16BE", false, ceUTF16BE, true},
};

void apply(TXpObjModel& model, const Settings& settings) {
  model.FormattedOutput = settings.formatted;
  model.OutCharSet = settings.encoding;
  model.WriteUTF8Signature = settings.signature;
}

// The bytes saveToBytes gives for start with the elements appended to its document element.
std::string savedWhole(const std::string& start, const Settings& settings,
                       const std::vector<Element>& elements, bool& encoded) {
  TXpObjModel model;
  EXPECT_TRUE(model.LoadMemory(start.data(), start.size()));
  apply(model, settings);
  for (const Element& e : elements) build(model.Document()->docGetDocumentElement(), e);
  std::string bytes;
  encoded = model.saveToBytes(bytes);
  return bytes;
}

// The same written through a stream, the pieces taken after every `every`-th element (0: only
// at the end). With `apart`, the elements are first written one after the other by a writer of
// their own, then inserted whole.
std::string streamed(const std::string& start, const Settings& settings,
                     const std::vector<Element>& elements, size_t every, bool working, bool apart,
                     bool& encoded) {
  TXpObjModel model;
  EXPECT_TRUE(model.LoadMemory(start.data(), start.size()));
  apply(model, settings);
  XpDocumentStream stream(model);
  std::string bytes, piece;
  std::string markup;
  std::vector<size_t> ends;
  XpMarkupWriter alone(markup, settings.formatted, stream.markup().openElements());
  for (const Element& element : elements) {
    write(alone, element, working);
    ends.push_back(markup.size());
  }
  encoded = true;
  for (size_t i = 0; i < elements.size(); ++i) {
    if (apart) {
      const size_t begin = i == 0 ? 0 : ends[i - 1];
      stream.markup().markup(std::string_view(markup).substr(begin, ends[i] - begin));
    } else {
      write(stream.markup(), elements[i], working);
    }
    if (every != 0 && (i + 1) % every == 0) {
      encoded = stream.take(piece) && encoded;
      bytes += piece;
    }
  }
  stream.finish();
  encoded = stream.take(piece) && encoded;
  return bytes + piece;
}

}  // namespace

TEST(DocumentStream, WritesTheBytesOfTheWholeTree) {
  const Element instance{
      .name = "instance",
      .attributes = {{"lexunit", "caf\xE9.n"}, {"luID", "12"}, {"sentID", "7"}},
      .children = {
          {.name = "sentence", .text = "He said \"A & B < C\"\n\ttwice \x80\x81\x01"},
          {.name = "target", .attributes = {{"start", "3"}, {"end", "6"}}, .text = "said"},
          {.name = "frame_elements",
           .children = {
               {.name = "frame_element",
                .attributes = {{"name", "Agent"}, {"start", "0"}, {"end", "1"}},
                .text = "He"},
               {.name = "frame_element",
                .attributes = {{"name", "Theme"}, {"start", "0"}, {"end", "0"}, {"itype", "DNI"}}},
               {.name = "frame_element", .attributes = {{"name", "q\"\n<&"}}, .text = ""}}}}};
  const Element mixed{.name = "s", .text = "lead", .children = {{.name = "t"}}, .tail = "tail"};
  const Element empty{.name = "frame", .attributes = {{"name", "Empty"}}};
  const Element frame{
      .name = "frame", .attributes = {{"name", "Motion"}}, .children = {instance, instance}};

  const struct Start {
    const char* what;
    std::string xml;
  } starts[] = {
      {"the corpus template", kCorpus},
      {"nodes around the root",
       "<?xml version=\"1.0\"?><!--before--><r a=\"1\"/><!--after--><?pi x?>"},
      {"a root with children", "<r><old>text</old><old/></r>"},
  };
  const std::vector<std::vector<Element>> contents = {
      {}, {empty}, {frame, empty, frame}, {mixed, frame}};
  for (const Settings& settings : kSettings) {
    for (const Start& start : starts) {
      for (size_t c = 0; c < contents.size(); ++c) {
        bool wholeEncoded = false;
        const std::string whole = savedWhole(start.xml, settings, contents[c], wholeEncoded);
        ASSERT_TRUE(wholeEncoded);
        for (const size_t every : {size_t{0}, size_t{1}, size_t{2}}) {
          for (const bool working : {true, false}) {
            for (const bool apart : {false, true}) {
              bool encoded = false;
              EXPECT_EQ(streamed(start.xml, settings, contents[c], every, working, apart, encoded),
                        whole)
                  << settings.what << "; " << start.what << "; contents " << c << "; every "
                  << every << (working ? "; working text" : "; UTF-8")
                  << (apart ? "; written apart" : "");
              EXPECT_TRUE(encoded);
            }
          }
        }
      }
    }
  }
}

// A name that the output encoding cannot hold fails the piece that holds it, as saving the
// whole tree fails.
TEST(DocumentStream, NamesOutsideTheEncodingAreRefused) {
  const Element euro{.name = "\x80name"};
  for (const Settings& settings : kSettings) {
    bool wholeEncoded = true, streamEncoded = true;
    const std::string whole = savedWhole(kCorpus, settings, {euro}, wholeEncoded);
    const std::string stream = streamed(kCorpus, settings, {euro}, 1, true, false, streamEncoded);
    EXPECT_EQ(streamEncoded, wholeEncoded) << settings.what;
    if (wholeEncoded) {
      EXPECT_EQ(stream, whole) << settings.what;
    }
  }
  bool encoded = true;
  savedWhole(kCorpus, kSettings[0], {euro}, encoded);
  EXPECT_FALSE(encoded);  // ISO-8859-1 cannot hold U+20AC
}

// Every byte of working text escapes as its UTF-8 does, in text and in attributes.
TEST(DocumentStream, WorkingTextEscapesLikeItsUtf8) {
  for (int byte = 0; byte < 256; ++byte) {
    const std::string value = std::string("a") + static_cast<char>(byte) + "z";
    std::string fromWorking, fromUtf8;
    XpMarkupWriter working(fromWorking, true);
    working.startElement("e");
    working.workingAttribute("v", value);
    working.workingText(value);
    working.endElement();
    XpMarkupWriter utf8(fromUtf8, true);
    utf8.startElement("e");
    utf8.attribute("v", workingToUtf8(value));
    utf8.text(workingToUtf8(value));
    utf8.endElement();
    EXPECT_EQ(fromWorking, fromUtf8) << byte;
  }
}
