// The error display and the working-text conversion of the widgets.
#include <gtest/gtest.h>

#include <stdexcept>
#include <utility>
#include <vector>

#include "text/Errors.h"
#include "widgets/ErrorDisplay.h"
#include "widgets/Messages.h"
#include "widgets/QtText.h"

using sorvanta::widgets::Messages;

namespace {

struct CapturedMessages : ::testing::Test {
  CapturedMessages() {
    Messages::setTestHook(
        [this](const QString& caption, const QString& text) { shown.emplace_back(caption, text); });
  }
  ~CapturedMessages() override { Messages::setTestHook({}); }

  Messages messages{nullptr};
  std::vector<std::pair<QString, QString>> shown;
};

TEST_F(CapturedMessages, RuntimeErrorsEndTheCommandAndShowTheirExactMessage) {
  using sorvanta::text::ConversionError;
  using sorvanta::text::FileCreateError;
  struct Case {
    std::function<void()> command;
    QString expected;
  } cases[] = {
      {[] { throw ConversionError("'x1' is not a valid integer value"); },
       "'x1' is not a valid integer value"},
      {[] { throw FileCreateError("Cannot create file /no/such/out.txt"); },
       "Cannot create file /no/such/out.txt"},
      {[] { throw ConversionError("'caf\xE9' is not a valid integer value"); },
       QString::fromUtf8("'caf\xC3\xA9' is not a valid integer value")},
  };
  for (const Case& c : cases) {
    shown.clear();
    int after = 0;
    EXPECT_FALSE(sorvanta::widgets::runGuarded(messages, [&] {
      c.command();
      ++after;
    }));
    EXPECT_EQ(after, 0);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].first, "Sorvanta Explorer");
    EXPECT_EQ(shown[0].second, c.expected);
  }
}

TEST_F(CapturedMessages, CompletedCommandsAndOtherErrorsShowNothing) {
  EXPECT_TRUE(sorvanta::widgets::runGuarded(messages, [] {}));
  EXPECT_THROW(sorvanta::widgets::runGuarded(messages, [] { throw std::logic_error("bug"); }),
               std::logic_error);
  EXPECT_TRUE(shown.empty());
}

TEST(QtText, EveryWorkingByteRoundTrips) {
  std::string all;
  for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
  EXPECT_EQ(sorvanta::widgets::toWorking(sorvanta::widgets::toQString(all)), all);
  // A character outside the code page becomes '?'.
  EXPECT_EQ(sorvanta::widgets::toWorking(QString::fromUtf8("\xCE\xA9 ok")), "? ok");
}

}  // namespace
