// Generated release documents load with the shapes the lexicon code relies on, and their label
// offsets point into the sentence text as the reader delivers it.
#include <gtest/gtest.h>

#include <string>

#include "releasegen/ReleaseGenerator.h"
#include "support/TempDir.h"
#include "text/WorkingText.h"
#include "xml/XpObjModel.h"

using namespace sorvanta::xml;
using namespace sorvanta::tools;
using sorvanta::testing::TempDir;
using sorvanta::text::utf8ToWorking;

namespace {

// The model's text as the reader normalises it: white-space runs collapsed, ends trimmed.
std::string collapsed(const std::string& text) {
  std::string out;
  bool pendingSpace = false;
  for (char c : text) {
    if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
      pendingSpace = !out.empty();
      continue;
    }
    if (pendingSpace) out += ' ';
    pendingSpace = false;
    out += c;
  }
  return out;
}

bool isBoundary(const std::string& text, int index) {
  if (index < 0 || index >= static_cast<int>(text.size())) return true;
  const char c = text[static_cast<size_t>(index)];
  return c == ' ' || c == ',' || c == '.' || c == '!' || c == '?';
}

}  // namespace

TEST(GeneratedDocuments, FramesDocumentHasTheFramesOfItsModel) {
  TempDir dir;
  for (const Encoding encoding : {Encoding::Utf8, Encoding::Latin1}) {
    SCOPED_TRACE(encoding == Encoding::Utf8 ? "UTF-8" : "ISO-8859-1");
    const ReleaseModel model = generateReleaseModel({20, 4, encoding});
    TXpObjModel doc;
    ASSERT_TRUE(doc.LoadDataSource(dir.write("frames.xml", renderFramesDocument(model, encoding))))
        << doc.errors().front();
    EXPECT_EQ(doc.OutCharSet, encoding == Encoding::Utf8 ? ceUTF8 : ceISO88591);
    TXpElement* root = doc.Document()->docGetDocumentElement();

    const TXpNodeList frames = root->SelectNodes("//frame");
    ASSERT_EQ(frames.nlGetLength(), 20);
    int lexUnits = 0;
    for (int i = 0; i < frames.nlGetLength(); ++i) {
      const FrameModel& expected = model.frames[static_cast<size_t>(i)];
      const TXpNode* frame = frames.Item(i);
      EXPECT_EQ(attributeText(frame, "name"), utf8ToWorking(expected.name));
      EXPECT_EQ(attributeText(frame, "ID"), std::to_string(expected.id));
      // Children in the order definition, fes, lexunits; the definition's text is the prose.
      const TXpNodeList& children = frame->childNodes();
      ASSERT_GE(children.nlGetLength(), 3);
      EXPECT_EQ(children.Item(0)->nodeName(), "definition");
      EXPECT_EQ(children.Item(1)->nodeName(), "fes");
      EXPECT_EQ(children.Item(2)->nodeName(), "lexunits");
      EXPECT_EQ(children.Item(0)->noGetText(), utf8ToWorking(collapsed(expected.definition)));

      const TXpNodeList fes = frame->SelectNodes("./fes/fe");
      ASSERT_EQ(fes.nlGetLength(), static_cast<int>(expected.frameElements.size()));
      for (int k = 0; k < fes.nlGetLength(); ++k) {
        const FrameElementModel& fe = expected.frameElements[static_cast<size_t>(k)];
        EXPECT_EQ(attributeText(fes.Item(k), "name"), fe.name);
        EXPECT_EQ(attributeText(fes.Item(k), "coreType"), fe.coreType);
        EXPECT_EQ(fes.Item(k)->noGetFirstChild()->textUtf8(), collapsed(fe.definition));
      }

      const TXpNodeList lus = frame->SelectNodes("./lexunits/lexunit");
      ASSERT_EQ(lus.nlGetLength(), static_cast<int>(expected.lexUnits.size()));
      for (int k = 0; k < lus.nlGetLength(); ++k) {
        const LexUnitModel& lu = expected.lexUnits[static_cast<size_t>(k)];
        EXPECT_EQ(attributeText(lus.Item(k), "name"), utf8ToWorking(lu.name()));
        EXPECT_EQ(lus.Item(k)->noGetFirstChild()->textUtf8(), lu.definition);
        EXPECT_EQ(lus.Item(k)->SelectInteger("./annotation/annotated"), lu.annotated);
      }
      lexUnits += lus.nlGetLength();
    }
    EXPECT_EQ(root->SelectNodes("//lexunit").nlGetLength(), lexUnits);
  }
}

TEST(GeneratedDocuments, AnnotationLabelsPointIntoTheSentenceText) {
  int latin1Documents = 0;
  for (uint64_t seed = 1; seed <= 40; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    const AnnotationDocumentModel model =
        generateAnnotationModel(seed, 500 + static_cast<int>(seed), 3 + static_cast<int>(seed % 9));
    latin1Documents += model.encoding == Encoding::Latin1;
    const std::string bytes = renderAnnotationDocument(model);
    TXpObjModel doc;
    ASSERT_TRUE(doc.LoadMemory(bytes.data(), bytes.size())) << doc.errors().front();
    TXpElement* root = doc.Document()->docGetDocumentElement();
    EXPECT_EQ(attributeText(root, "name"), utf8ToWorking(model.luName));

    const TXpNodeList subcorpora = root->SelectNodes("//subcorpus");
    ASSERT_EQ(subcorpora.nlGetLength(), static_cast<int>(model.subcorpora.size()));
    const TXpNodeList sentences = root->SelectNodes("//sentence");
    int index = 0;
    for (int s = 0; s < subcorpora.nlGetLength(); ++s) {
      const SubcorpusModel& subcorpus = model.subcorpora[static_cast<size_t>(s)];
      // An empty subcorpus has no child nodes at all; a filled one one per annotation set.
      EXPECT_EQ(subcorpora.Item(s)->childNodes().nlGetLength(),
                static_cast<int>(subcorpus.sets.size()));
      for (const AnnotationSetModel& set : subcorpus.sets) {
        const TXpNode* sentence = sentences.Item(index++);
        ASSERT_NE(sentence, nullptr);
        EXPECT_EQ(attributeText(sentence, "ID"), std::to_string(set.sentenceId));
        EXPECT_EQ(sentence->textUtf8(), set.text);
        // One byte per character in working text, so offsets index it directly.
        const std::string text = sentence->noGetText();
        ASSERT_EQ(static_cast<int>(text.size()), codePointCount(set.text));

        const TXpNode* layers = sentence->noGetPreviousSibling();
        ASSERT_NE(layers, nullptr);
        EXPECT_EQ(layers->nodeName(), "layers");
        EXPECT_EQ(layers->SelectNodes(".//label[@name='Target']").nlGetLength(), 1);
        const TXpNodeList labels = layers->SelectNodes(".//label");
        int k = 0;
        for (const LayerModel& layer : set.layers) {
          for (const LabelModel& expected : layer.labels) {
            const TXpNode* label = labels.Item(k++);
            ASSERT_NE(label, nullptr);
            EXPECT_EQ(attributeText(label, "name"), utf8ToWorking(expected.name));
            EXPECT_EQ(attributeText(label->parentNode()->parentNode(), "name"), layer.name);
            EXPECT_EQ(attributeText(label, "itype"), expected.itype);
            if (!expected.itype.empty()) continue;
            const int start = std::stoi(attributeText(label, "start"));
            const int end = std::stoi(attributeText(label, "end"));
            EXPECT_EQ(start, expected.start);
            EXPECT_EQ(end, expected.end);
            ASSERT_TRUE(start >= 0 && start <= end && end < static_cast<int>(text.size()))
                << start << ".." << end << " in " << text;
            // Spans cover whole words: no white space inside their ends, word edges outside.
            EXPECT_NE(text[static_cast<size_t>(start)], ' ');
            EXPECT_NE(text[static_cast<size_t>(end)], ' ');
            EXPECT_TRUE(isBoundary(text, start - 1) && isBoundary(text, end + 1))
                << text.substr(static_cast<size_t>(start), static_cast<size_t>(end - start + 1));
          }
        }
        EXPECT_EQ(labels.nlGetLength(), k);
      }
    }
    EXPECT_EQ(sentences.nlGetLength(), index);
  }
  EXPECT_GT(latin1Documents, 0);
}

TEST(GeneratedDocuments, OutputDependsOnlyOnTheSeed) {
  EXPECT_EQ(generateFramesDocument({20, 9}), generateFramesDocument({20, 9}));
  EXPECT_NE(generateFramesDocument({20, 9}), generateFramesDocument({20, 10}));
  EXPECT_EQ(generateAnnotationDocument(3, 77, 10), generateAnnotationDocument(3, 77, 10));
  EXPECT_NE(generateAnnotationDocument(3, 77, 10), generateAnnotationDocument(4, 77, 10));
}
