// Finding the data folder at start-up, and the release's relative paths.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "lexicon/DataFolder.h"
#include "lexicon/ReleaseLayout.h"

using namespace sorvanta::lexicon;

namespace {

struct MemorySettings : SettingsStore {
  std::string readString(std::string_view name) const override {
    const auto found = values.find(std::string(name));
    return found == values.end() ? std::string() : found->second;
  }
  void writeString(std::string_view name, std::string_view value) override {
    values[std::string(name)] = value;
    ++writes;
  }
  std::map<std::string, std::string> values;
  int writes = 0;
};

}  // namespace

TEST(DataFolder, PriorityAndMessages) {
  const std::string exe = "/opt/sv/";
  const std::string locateFrames =
      "Please close the program, start again, and locate \"frames.xml\".";
  const std::string locateFrXml =
      "Please close the program, start again, and locate \"frXML\\frames.xml\".";
  const std::nullopt_t none = std::nullopt;
  // clang-format off
  const struct {
    bool besideExe;
    const char* stored;                 // nullptr: never written
    std::optional<std::string> chosen;  // none: the dialog is cancelled
    std::optional<std::string> folder;  // none: start-up stops
    std::string storedAfter;
    std::string message;
  } cases[] = {
      {true, "/old/", none, exe, exe, ""},
      {false, "/gone/", none, "/gone/", "/gone/", ""},  // not checked for the frames document
      {false, "/bare", none, "/bare/", "/bare", ""},     // the separator is added once
      {false, "", "/d/rel/frXML/frames.xml", "/d/rel/", "/d/rel/", ""},
      {false, nullptr, "/r/frXML/frames.xml", "/r/", "/r/", ""},
      {false, "", "/a/frXML/frames.xml/frXML/frames.xml", "/a//frXML/frames.xml/",
       "/a//frXML/frames.xml", ""},
      {false, "", none, none, "", locateFrames},
      {false, "", "/rel/FRXML/frames.xml", none, "", locateFrXml},
      {false, "", "C:\\rel\\frXML\\frames.xml", none, "", locateFrXml}};
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.chosen.value_or(c.stored ? c.stored : "(nothing)"));
    MemorySettings settings;
    if (c.stored) settings.values["SVLoc"] = c.stored;
    std::vector<std::string> messages;
    const DataFolderPlatform platform{
        exe, settings,
        [&](std::string_view path) { return c.besideExe && path == exe + "frXML/frames.xml"; },
        [&] { return c.chosen; },
        [&](std::string_view caption, std::string_view text) {
          EXPECT_EQ(caption, "Sorvanta Explorer");
          messages.emplace_back(text);
        }};
    const std::optional<ReleaseFolder> result = resolveDataFolder(platform);
    ASSERT_EQ(result.has_value(), c.folder.has_value());
    if (result) {
      EXPECT_EQ(result->path(), *c.folder);
      EXPECT_EQ(result->frames(), *c.folder + "frXML/frames.xml");
    }
    EXPECT_EQ(settings.readString("SVLoc"), c.storedAfter);
    EXPECT_EQ(settings.writes, c.storedAfter != (c.stored ? c.stored : "") ? 1 : 0);
    EXPECT_EQ(messages,
              c.message.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.message});
  }
}

TEST(ReleaseLayout, PathsBelowTheDataFolder) {
  EXPECT_EQ(framesDocumentPath("/r/"), "/r/frXML/frames.xml");
  EXPECT_EQ(relationsDocumentPath("/r/"), "/r/frXML/frRelation.xml");
  EXPECT_EQ(annotationDocumentPath("/r/", "12"), "/r/luXML/lu12.xml");
  EXPECT_EQ(subcorpusDocumentPath("/r/", "12"), "/r/xml/lu12.xml");
  EXPECT_EQ(lexicalEntryDocumentPath("/r/", "12"), "/r/leXML/le12.xml");
}

TEST(ReleaseFolder, AddsTheSeparatorOnceAndResolvesTheLayout) {
  for (const char* given : {"/r", "/r/"}) {
    const ReleaseFolder folder(given);
    EXPECT_EQ(folder.path(), "/r/");
    EXPECT_EQ(folder.frames(), "/r/frXML/frames.xml");
    EXPECT_EQ(folder.relations(), "/r/frXML/frRelation.xml");
    EXPECT_EQ(folder.annotation("12"), "/r/luXML/lu12.xml");
    EXPECT_EQ(folder.subcorpus("12"), "/r/xml/lu12.xml");
    EXPECT_EQ(folder.lexicalEntry("12"), "/r/leXML/le12.xml");
    EXPECT_EQ(folder.file("pp-on.txt"), "/r/pp-on.txt");
  }
  EXPECT_TRUE(ReleaseFolder("").empty());
  EXPECT_EQ(ReleaseFolder("").path(), "");
  MemorySettings settings;
  EXPECT_TRUE(storedDataFolder(settings).empty());
  settings.values["SVLoc"] = "/kept";
  EXPECT_EQ(storedDataFolder(settings), ReleaseFolder("/kept/"));
}
