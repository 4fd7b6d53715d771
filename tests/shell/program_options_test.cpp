// sorvanta-explorer answers --version and --help before any window; every other command line
// goes on to Qt. The about box's free label carries the version.
#include <gtest/gtest.h>

#include <QLabel>
#include <sstream>

#include "shell/ProgramOptions.h"
#include "shell/SVEAbout.h"
#include "text/Version.h"

using sorvanta::shell::answerProgramOption;

TEST(ExplorerOptions, AnswersVersionAndHelpOnly) {
  struct Case {
    std::vector<std::string> args;
    std::optional<int> status;
    std::string outStarts;
  } cases[] = {
      {{"--version"}, 0, std::string("sorvanta-explorer ") + sorvanta::kVersion + "\n"},
      {{"--help"}, 0, "Usage: sorvanta-explorer"},
      {{"-h"}, 0, "Usage: sorvanta-explorer"},
      {{}, std::nullopt, ""},
      {{"-platform", "offscreen"}, std::nullopt, ""},
      // Only the first argument is looked at: Qt's own options come first.
      {{"-platform", "--version"}, std::nullopt, ""},
  };
  for (const Case& c : cases) {
    std::ostringstream out;
    EXPECT_EQ(answerProgramOption(c.args, out), c.status) << c.outStarts;
    EXPECT_EQ(out.str().substr(0, c.outStarts.size()), c.outStarts);
    if (!c.status) {
      EXPECT_EQ(out.str(), "");
    }
  }
  std::ostringstream out;
  answerProgramOption({"--version"}, out);
  EXPECT_EQ(out.str(), std::string("sorvanta-explorer ") + sorvanta::kVersion + "\n");
}

TEST(ExplorerOptions, AboutBoxShowsTheBuildVersionBesideTheDesignedOne) {
  sorvanta::shell::TAboutBox about;
  EXPECT_EQ(about.Version->text(), "Version 2.0");
  EXPECT_TRUE(about.Copyright->text().contains(QString::fromLatin1(sorvanta::kVersion)));
}
