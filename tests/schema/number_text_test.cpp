#include <gtest/gtest.h>

#include "schema/number_text.h"

namespace vorlan {
namespace {

TEST(TextToNumber, SignsBlanksAndHalfToEvenRounding) {
    EXPECT_EQ(textToNumber("100000"), 100000);
    EXPECT_EQ(textToNumber("  -10 "), -10);
    EXPECT_EQ(textToNumber("+7"), 7);
    EXPECT_EQ(textToNumber("2.5"), 2);
    EXPECT_EQ(textToNumber("3.5"), 4);
    EXPECT_EQ(textToNumber("2.51"), 3);
    EXPECT_EQ(textToNumber("-2.5"), -2);
    EXPECT_EQ(textToNumber("-3.5"), -4);
    EXPECT_EQ(textToNumber("0.49"), 0);
    EXPECT_EQ(textToNumber(".5"), 0);
    EXPECT_EQ(textToNumber("4."), 4);
}

TEST(TextToNumber, AnythingElseHasNoValue) {
    for (const char* bad :
         {"", " ", "-", "abc", "12a", "1 2", "0x10", "1e3", "--1", ".", "1.2.3"}) {
        EXPECT_FALSE(textToNumber(bad).has_value()) << bad;
    }
    EXPECT_FALSE(textToNumber("99999999999999999999").has_value());
}

}  // namespace
}  // namespace vorlan
