#pragma once
// Synthetic release documents for benchmarks and tests. A small model (frames, frame elements,
// lexical units, annotated sentences) is drawn from a seed first and then rendered as XML text,
// so the same seed gives the same bytes on every platform and standard library.
#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace sorvanta::tools {

// splitmix64: tiny, fast, and defined bit for bit (unlike std::rand or <random> distributions).
class Rng {
 public:
  explicit Rng(uint64_t seed) : state_(seed) {}
  uint64_t next();
  // An integer in [lo, hi]; lo <= hi.
  int between(int lo, int hi);
  // True with the given probability in percent.
  bool chance(int percent) { return between(0, 99) < percent; }
  // A value in [0, 1).
  double unit() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }
  template <class List>
  const auto& pick(const List& list) {
    return list[static_cast<size_t>(between(0, static_cast<int>(std::size(list)) - 1))];
  }

 private:
  uint64_t state_;
};

// The encoding named by the XML declaration. Characters that ISO-8859-1 cannot hold are
// written as numeric character references.
enum class Encoding { Utf8, Latin1 };

// All texts of the model are UTF-8 as the program reads them (entities already resolved);
// the renderers escape them.

struct FrameElementModel {
  int id = 0;
  std::string name;
  std::string abbrev;
  std::string coreType;  // "Core", "Peripheral", "Extra-Thematic" or "Core-Unexpressed"
  std::string definition;
  std::vector<std::string> semTypes;
};

struct LexUnitModel {
  int id = 0;
  std::string lemma;  // may hold a space ("give up")
  std::string pos;    // suffix of the name: "v", "n", "a", "adv", "prep", ...
  std::string status;
  std::string definition;  // "COD: ...", "SV: ..." or empty
  int annotated = 0;       // annotated sentences; 0 for most
  int total = 0;
  std::string name() const { return lemma + "." + pos; }
};

struct FrameModel {
  int id = 0;
  std::string name;
  std::string cDate;
  std::string definition;
  std::vector<FrameElementModel> frameElements;
  std::vector<LexUnitModel> lexUnits;
  std::vector<std::string> semTypes;
};

// The relation types of the frame-relations document, in the order it lists them.
inline constexpr std::array<std::string_view, 12> kFrameRelationTypes = {
    "Inheritance",       "Subframe",     "Using",    "See_also",
    "ReFraming_Mapping", "CoreSet",      "Excludes", "Requires",
    "Inchoative_of",     "Causative_of", "Precedes", "Perspective_on"};

// Pairs a frame element of the super frame with one of the sub frame (indices into their
// frameElements).
struct FeRelationModel {
  int id = 0;
  size_t superFe = 0;
  size_t subFe = 0;
};

// One relation between two frames (indices into ReleaseModel::frames). CoreSet, Excludes and
// Requires relate frame elements within one frame, so both sides name the same frame.
struct FrameRelationModel {
  int id = 0;
  size_t type = 0;  // index into kFrameRelationTypes
  size_t superFrame = 0;
  size_t subFrame = 0;
  std::vector<FeRelationModel> feRelations;
};

struct ReleaseModel {
  std::vector<FrameModel> frames;
  std::vector<FrameRelationModel> relations;  // grouped by type, in the order of the types
  uint64_t seed = 0;                          // seeds the documents of each lexical unit
};

struct GeneratorOptions {
  int frames = 1200;
  uint64_t seed = 1;
  Encoding encoding = Encoding::Utf8;
};

// Frames with unique names and IDs; about 11 lexical units and 8 frame elements per frame;
// about 1.7 frame relations per frame. The frames are the same with or without relations.
ReleaseModel generateReleaseModel(const GeneratorOptions& options);
// The frames document: frames / frame (definition, fes, lexunits, semTypes).
std::string renderFramesDocument(const ReleaseModel& model, Encoding encoding = Encoding::Utf8);
// About 8.5 KB per frame: 1,200 frames give about 10 MB.
std::string generateFramesDocument(const GeneratorOptions& options);

// One label: start and end are 0-based character (code point) offsets into the sentence text,
// end inclusive; both -1 for a label with an itype (a frame element not expressed).
struct LabelModel {
  std::string name;
  int start = -1;
  int end = -1;
  std::string itype;
};

struct LayerModel {
  std::string name;
  std::vector<LabelModel> labels;
};

struct AnnotationSetModel {
  int id = 0;
  std::string status;
  std::vector<LayerModel> layers;  // "FE", "GF", "PT", "Other", "Sent", "Verb", "Target"
  int sentenceId = 0;
  std::string text;  // single spaces, no leading or trailing white space
};

struct SubcorpusModel {
  std::string name;
  std::vector<AnnotationSetModel> sets;  // empty for some subcorpora
};

struct AnnotationDocumentModel {
  int luId = 0;
  std::string luName;
  std::string frameName;
  Encoding encoding = Encoding::Utf8;
  std::vector<SubcorpusModel> subcorpora;
};

// Annotated sentences of one lexical unit of a frame, labelled with that frame's elements.
AnnotationDocumentModel generateAnnotationModel(const FrameModel& frame,
                                                const LexUnitModel& lexUnit, uint64_t seed,
                                                int sentences);
// The same for a lexical unit of a frame drawn from the seed; about one document in eight is
// declared ISO-8859-1.
AnnotationDocumentModel generateAnnotationModel(uint64_t seed, int luId, int sentences);
// The annotation document: lexunit-annotation / subcorpus / annotationSet (layers, sentence).
std::string renderAnnotationDocument(const AnnotationDocumentModel& model);
std::string generateAnnotationDocument(uint64_t seed, int luId, int sentences);

// ---- Whole releases ------------------------------------------------------------------------

// The frame-relations document: frame-relation-types / frame-relation-type (every known type,
// empty ones included) / frame-relations / frame-relation / fe-relation.
std::string renderRelationsDocument(const ReleaseModel& model);

// The annotated sentences of one lexical unit of the release: exactly lu.annotated sentences,
// the same model for its annotation, subcorpus and lexical-entry documents.
AnnotationDocumentModel releaseAnnotationModel(const ReleaseModel& model, const FrameModel& frame,
                                               const LexUnitModel& lu);
// The subcorpus document: lexunit-annotation / subcorpus / annotationSet, whose layers
// container holds the FE, GF, PT and Target layers, followed by the sentence.
std::string renderSubcorpusDocument(const AnnotationDocumentModel& model);
// The lexical-entry document: how often each frame element is realized with each phrase type
// and grammatical function in the sentences (FERealizations), and each set of them together
// (FEGroupRealizations). A frame element not expressed has its itype as phrase type, no gf.
std::string renderLexicalEntryDocument(const LexUnitModel& lu,
                                       const AnnotationDocumentModel& annotations);

// Number of code points in UTF-8 text (the unit of label offsets).
int codePointCount(std::string_view utf8);

}  // namespace sorvanta::tools
