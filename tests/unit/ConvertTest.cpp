#include <gtest/gtest.h>

#include <climits>

#include "platform/Convert.h"
#include "platform/Types.h"

using platform::StrToInt;
using platform::TryStrToInt;

namespace {

struct TAccepted {
  const char* Text;
  std::int32_t Value;
};

const TAccepted kAccepted[] = {
    {"0", 0},
    {"42", 42},
    {"007", 7},
    {"   42", 42},
    {"+7", 7},
    {"-7", -7},
    {"$FF", 255},
    {"$ff", 255},
    {"-$10", -16},
    {"x1A", 26},
    {"X1a", 26},
    {"0x10", 16},
    {"0X10", 16},
    {"  -0x10", -16},
    {"0x7fffffff", INT_MAX},
    {"$FFFFFFFF", -1},
    {"$80000000", INT_MIN},
    {"2147483647", INT_MAX},
    {"-2147483648", INT_MIN},
};

TEST(ConvertTest, StrToIntAcceptsBlanksSignDecimalAndEveryHexPrefix) {
  for (const TAccepted& row : kAccepted) {
    SCOPED_TRACE(row.Text);
    EXPECT_EQ(StrToInt(row.Text), row.Value);
    std::int32_t value = 12345;
    EXPECT_TRUE(TryStrToInt(row.Text, value));
    EXPECT_EQ(value, row.Value);
  }
}

const char* const kRejected[] = {
    "",    " ",   "+",   "-",  "$",          "x",           "0x",         "12a",         "1 ",
    "1.5", "--1", "+-1", "$G", "2147483648", "-2147483649", "$100000000", "0x1FFFFFFFF",
};

TEST(ConvertTest, StrToIntRejectsWithTheOriginalTextInTheMessage) {
  for (const char* text : kRejected) {
    SCOPED_TRACE(std::string("'") + text + "'");
    try {
      StrToInt(text);
      ADD_FAILURE() << "no EConvertError";
    } catch (const platform::EConvertError& e) {
      EXPECT_STREQ(e.what(), (std::string("'") + text + "' is not a valid integer value").c_str());
    }
    std::int32_t value = 0;
    EXPECT_FALSE(TryStrToInt(text, value));
  }
}

}  // namespace
