// Integer conversion: accepted forms, range limits and the error message.
#include <gtest/gtest.h>

#include "text/Errors.h"
#include "text/IntegerText.h"

using namespace sorvanta::text;

TEST(StrToInt, AcceptsEveryForm) {
  // clang-format off
  const struct {
    const char* text;
    int32_t value;
  } cases[] = {
      {"0", 0}, {"42", 42}, {"  7", 7}, {"+5", 5}, {"-5", -5}, {" -0", 0}, {"$1F", 31},
      {"x1f", 31}, {"X10", 16}, {"0x10", 16}, {"0XaB", 171}, {"-$10", -16}, {"+0x7", 7},
      {"007", 7}, {"2147483647", INT32_MAX}, {"-2147483648", INT32_MIN},
      {"$7FFFFFFF", INT32_MAX}, {"-$80000000", INT32_MIN}, {"000000000000000000000000012", 12}};
  // clang-format on
  for (const auto& c : cases) {
    EXPECT_EQ(strToInt(c.text), c.value) << c.text;
  }
}

TEST(StrToInt, RefusesBadFormsAndOverflow) {
  const char* cases[] = {
      "",    " ",          "+",           "-",         "$",         "0x",
      "-x",  "12 ",        "\t3",         "1.5",       "1e3",       "--1",
      "+-1", "- 1",        "$G",          "0x-1",      "12abc",     "$$1",
      "0b1", "2147483648", "-2147483649", "$80000000", "$FFFFFFFF", "99999999999999999999999"};
  for (const char* text : cases) {
    EXPECT_FALSE(tryStrToInt(text).has_value()) << '"' << text << '"';
  }
}

TEST(StrToInt, MessageQuotesTheWholeText) {
  try {
    strToInt("  12x");
    FAIL() << "no error";
  } catch (const ConversionError& error) {
    EXPECT_STREQ(error.what(), "'  12x' is not a valid integer value");
  }
}
