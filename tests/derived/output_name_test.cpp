// Names that become parts of file names: refused before anything is written, and quoted in
// the refusal with control characters made visible and long names cut.
#include "derived/OutputName.h"

#include <gtest/gtest.h>

#include <string>

namespace sorvanta::derived {
namespace {

TEST(OutputName, RefusesNamesThatCannotNameAFile) {
  // ".eval" (5 bytes) is the longest suffix of a frame file: 250 bytes of name fit, 251 do not.
  const std::string fits(250, 'f');
  const std::string tooLong(251, 'f');
  const std::string wideFits = std::string(125, '\xE9');  // 2 bytes each in UTF-8
  const std::string wideTooLong = std::string(126, '\xE9');
  struct Case {
    std::string name;
    std::string problem;  // empty: accepted
  } cases[] = {
      {"Motion", ""},
      {"Caf\xE9 \x80", ""},  // Windows-1252 letters are fine
      {fits, ""},
      {wideFits, ""},
      {"", "An empty frame name cannot name a file in the data folder."},
      {"a/b", "Frame name \"a/b\" holds a path separator and cannot name a file in the data folder."},
      {"..", "Frame name \"..\" holds \"..\" and cannot name a file in the data folder."},
      {"F\n", "Frame name \"F\\n\" holds a control character and cannot name a file in the data "
              "folder."},
      {"F\x9D", "Frame name \"F\\x9D\" holds a control character and cannot name a file in the "
                "data folder."},
      {"F\x81x", "Frame name \"F\\x81x\" holds a control character and cannot name a file in the "
                 "data folder."},
      {tooLong, "Frame name \"" + std::string(200, 'f') +
                    "...\" is too long: its file names would exceed 255 bytes."},
      {wideTooLong, "Frame name \"" + std::string(126, '\xE9') +
                        "\" is too long: its file names would exceed 255 bytes."},
  };
  for (const Case& c : cases)
    EXPECT_EQ(outputNameProblem("Frame", c.name, 5), c.problem) << c.name.size();
}

}  // namespace
}  // namespace sorvanta::derived
