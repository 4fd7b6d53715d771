// Back and Forward through visited frames and lexical units; names in a relation cell.
#include <gtest/gtest.h>

#include "views/VisitHistory.h"

namespace sorvanta::views {
namespace {

Visit frame(std::string name) { return {Visit::Kind::Frame, std::move(name)}; }

TEST(VisitHistory, BackForwardAndANewVisitDropsWhatWasAhead) {
  VisitHistory history;
  EXPECT_FALSE(history.back());
  history.visit(frame("A"));
  history.visit(frame("A"));  // the same again: no new step
  history.visit({Visit::Kind::LexUnit, "12"});
  history.visit(frame("C"));
  EXPECT_EQ(history.back(), (Visit{Visit::Kind::LexUnit, "12"}));
  EXPECT_EQ(history.back(), frame("A"));
  EXPECT_FALSE(history.back());
  EXPECT_EQ(history.forward(), (Visit{Visit::Kind::LexUnit, "12"}));
  history.visit(frame("D"));
  EXPECT_FALSE(history.canGoForward());
  EXPECT_EQ(history.back(), (Visit{Visit::Kind::LexUnit, "12"}));

  VisitHistory longOne;
  for (size_t i = 0; i < VisitHistory::limit + 5; ++i) longOne.visit(frame(std::to_string(i)));
  size_t steps = 0;
  std::optional<Visit> last;
  while (auto visit = longOne.back()) {
    last = visit;
    ++steps;
  }
  EXPECT_EQ(steps, VisitHistory::limit - 1);
  EXPECT_EQ(last, frame("5"));
}

TEST(VisitHistory, RelatedFrameNames) {
  EXPECT_EQ(relatedFrameNames("Motion; Self_motion;Path"),
            (std::vector<std::string>{"Motion", "Self_motion", "Path"}));
  EXPECT_EQ(relatedFrameNames("Solo"), std::vector<std::string>{"Solo"});
  EXPECT_TRUE(relatedFrameNames("").empty());
  EXPECT_TRUE(relatedFrameNames(" ; ;").empty());
}

}  // namespace
}  // namespace sorvanta::views
