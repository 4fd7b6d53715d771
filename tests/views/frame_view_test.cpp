// The frames tab: a frame's name, description, frame elements, lexemes and relations.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "views/FrameView.h"
#include "xml/XpObjModel.h"

using namespace sorvanta;

namespace {

const std::string kFrames =
    "<frames><frame name='Motion' ID='1'><definition>Something  moves.</definition><fes>"
    "<fe name='Theme' coreType='Core'><definition>What moves.</definition></fe>"
    "<fe name='Path' coreType='Peripheral'><definition/></fe></fes><lexunits>"
    "<lexunit name='go.v'/><lexunit name='move.v'/><lexunit name='travel.n'/></lexunits></frame>"
    "<frame name='Lone' ID='2'><definition>Alone.</definition><fes/>"
    "<lexunits><lexunit name='alone.a'/></lexunits></frame>"
    "<frame name='Bare' ID='3'><definition>No children after this.</definition></frame>"
    "<frame ID='4'/></frames>";

const std::string kRelations =
    "<frame-relations><frame-relation-type name='Inheritance'>"
    "<frame-relation superFrameName='Event' subFrameName='Motion'/>"
    "<frame-relation superFrameName='Change' subFrameName='Motion'/>"
    "</frame-relation-type></frame-relations>";

struct Documents {
  xml::TXpObjModel frames, relations;
  Documents() {
    EXPECT_TRUE(frames.LoadMemory(kFrames.data(), kFrames.size()));
    EXPECT_TRUE(relations.LoadMemory(kRelations.data(), kRelations.size()));
  }
  const xml::TXpNode* frame(const std::string& id) {
    return frames.Document()->SelectSingleNode("//frame[@ID='" + id + "']");
  }
  const xml::TXpNode* relationsRoot() { return relations.Document()->docGetDocumentElement(); }
};

TEST(FrameView, ShowsEveryPartOfAFrame) {
  Documents docs;
  const views::FrameView view = views::frameView(docs.frame("1"), docs.relationsRoot());
  EXPECT_EQ(view.name, "Motion");
  EXPECT_EQ(view.description, "Something moves.");
  ASSERT_EQ(view.elements.size(), 2u);
  EXPECT_EQ(view.elements[0].nameAndType, "Theme (Core)");
  EXPECT_EQ(view.elements[0].definition, "What moves.");
  EXPECT_EQ(view.elements[1].nameAndType, "Path (Peripheral)");
  EXPECT_EQ(view.elements[1].definition, "");
  EXPECT_EQ(view.lexemes, "go.v; move.v; travel.n");
  ASSERT_EQ(view.relations.size(), 1u);
  EXPECT_EQ(view.relations[0].label, "Inherits From");
  EXPECT_EQ(view.relations[0].names, "Event; Change");
}

TEST(FrameView, SparseFramesGiveEmptyPartsAndNoneRelation) {
  Documents docs;
  struct Case {
    const xml::TXpNode* frame;
    const xml::TXpNode* relationsRoot;
    std::string name, description, lexemes;
    size_t elements;
  };
  for (const Case& c : std::vector<Case>{
           {docs.frame("2"), docs.relationsRoot(), "Lone", "Alone.", "alone.a", 0},
           {docs.frame("3"), docs.relationsRoot(), "Bare", "No children after this.", "", 0},
           {docs.frame("4"), docs.relationsRoot(), "", "", "", 0},
           {docs.frame("1"), nullptr, "Motion", "Something moves.", "go.v; move.v; travel.n", 2},
           {nullptr, docs.relationsRoot(), "", "", "", 0}}) {
    SCOPED_TRACE(c.name);
    const views::FrameView view = views::frameView(c.frame, c.relationsRoot);
    EXPECT_EQ(view.name + "|" + view.description + "|" + view.lexemes,
              c.name + "|" + c.description + "|" + c.lexemes);
    EXPECT_EQ(view.elements.size(), c.elements);
    ASSERT_EQ(view.relations.size(), 1u);
    EXPECT_EQ(view.relations[0].label + "|" + view.relations[0].names, "None|");
  }
}

}  // namespace

TEST(FrameView, KeepsTheDocumentsTextWhereWorkingTextCannotHoldIt) {
  const std::string frames =
      "<frames><frame name='\xCE\xB2_decay'><definition>Gives off a \xCE\xB2 particle.</definition>"
      "<fes><fe name='Half-life' coreType='Core'><definition>Often t\xC2\xBD.</definition></fe>"
      "<fe name='\xCE\xB2_particle' coreType='Core'/></fes><lexunits><lexunit name='decay.v'/>"
      "<lexunit name='\xC5\x8B.n'/><lexunit name='caf\xC3\xA9.n'/></lexunits></frame>"
      "<frame name='Nasal'><definition>Plain.</definition><fes/><lexunits>"
      "<lexunit name='hum.v'/></lexunits></frame></frames>";
  const std::string relations =
      "<r><frame-relation-type name='Inheritance'>"
      "<frame-relation superFrameName='Nasal' subFrameName='Hum'/>"
      "<frame-relation superFrameName='Nasal' subFrameName='\xC5\x8B_sound'/>"
      "<frame-relation superFrameName='Nasal' subFrameName='Caf\xC3\xA9'/>"
      "</frame-relation-type></r>";
  xml::TXpObjModel framesDoc, relationsDoc;
  ASSERT_TRUE(framesDoc.LoadMemory(frames.data(), frames.size()));
  ASSERT_TRUE(relationsDoc.LoadMemory(relations.data(), relations.size()));
  const xml::TXpNode* relationsRoot = relationsDoc.Document()->docGetDocumentElement();

  const views::FrameView decay =
      views::frameView(framesDoc.Document()->SelectSingleNode("//frame"), relationsRoot);
  EXPECT_EQ(decay.name, "?_decay");
  EXPECT_EQ(decay.nameUnicode, "\xCE\xB2_decay");
  EXPECT_EQ(decay.descriptionUnicode, "Gives off a \xCE\xB2 particle.");
  // "½" is held by working text: nothing kept beside it.
  EXPECT_EQ(decay.elements[0].definition, "Often t\xBD.");
  EXPECT_EQ(decay.elements[0].definitionUnicode, "");
  EXPECT_EQ(decay.elements[1].nameAndType, "?_particle (Core)");
  EXPECT_EQ(decay.elements[1].nameAndTypeUnicode, "\xCE\xB2_particle (Core)");
  EXPECT_EQ(decay.lexemes, "decay.v; ?.n; caf\xE9.n");
  EXPECT_EQ(decay.lexemesUnicode, "decay.v; \xC5\x8B.n; caf\xC3\xA9.n");

  const views::FrameView nasal =
      views::frameView(framesDoc.Document()->SelectSingleNode("//frame[@name='Nasal']"),
                       relationsRoot);
  EXPECT_EQ(nasal.lexemesUnicode, "");
  ASSERT_EQ(nasal.relations.size(), 1u);
  EXPECT_EQ(nasal.relations[0].names, "Hum; ?_sound; Caf\xE9");
  EXPECT_EQ(nasal.relations[0].namesUnicode, "Hum; \xC5\x8B_sound; Caf\xC3\xA9");
}
