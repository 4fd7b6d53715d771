#include "releasegen/ReleaseFolder.h"

#include <fstream>
#include <stdexcept>
#include <string>
#include <system_error>

namespace sorvanta::tools {

namespace fs = std::filesystem;

namespace {

void createFolder(const fs::path& folder) {
  std::error_code error;
  fs::create_directories(folder, error);
  if (error) {
    throw std::runtime_error("cannot create folder " + folder.string() + ": " + error.message());
  }
}

void writeFile(const fs::path& path, const std::string& bytes, ReleaseSummary& summary) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw std::runtime_error("cannot write " + path.string());
  ++summary.files;
  summary.bytes += bytes.size();
}

}  // namespace

ReleaseSummary writeReleaseFolder(const ReleaseModel& model, const fs::path& folder) {
  ReleaseSummary summary;
  summary.frames = static_cast<int>(model.frames.size());
  summary.relations = static_cast<int>(model.relations.size());
  createFolder(folder / "frXML");
  writeFile(folder / "frXML" / "frames.xml", renderFramesDocument(model), summary);
  writeFile(folder / "frXML" / "frRelation.xml", renderRelationsDocument(model), summary);

  for (const char* name : {"luXML", "xml", "leXML"}) createFolder(folder / name);
  for (const FrameModel& frame : model.frames) {
    for (const LexUnitModel& lu : frame.lexUnits) {
      ++summary.lexUnits;
      if (lu.annotated <= 0) continue;
      ++summary.annotatedUnits;
      const AnnotationDocumentModel annotations = releaseAnnotationModel(model, frame, lu);
      const std::string id = std::to_string(lu.id);
      writeFile(folder / "luXML" / ("lu" + id + ".xml"), renderAnnotationDocument(annotations),
                summary);
      writeFile(folder / "xml" / ("lu" + id + ".xml"), renderSubcorpusDocument(annotations),
                summary);
      writeFile(folder / "leXML" / ("le" + id + ".xml"),
                renderLexicalEntryDocument(lu, annotations), summary);
    }
  }
  return summary;
}

}  // namespace sorvanta::tools
