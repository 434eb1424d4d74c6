#include "text/shown_text.h"

#include <gtest/gtest.h>

namespace vorlan {
namespace {

TEST(ShownText, ControlsAndStrayBytesAreShownAsCodes) {
    struct Case {
        std::string text;
        std::string escaped;
        bool controls;  // tab alone is not one
    } cases[] = {
        {"机体005 HP", "机体005 HP", false},
        {"a\x1b]0;owned\x07z", "a\\x1B]0;owned\\x07z", true},
        {"del\x7f", "del\\x7F", true},
        {"c1\xc2\x9b"
         "31m",
         "c1\\x9B31m", true},                     // U+009B, the one-character CSI
        {"nbsp\xc2\xa0", "nbsp\xc2\xa0", false},  // U+00A0 is text
        {"gbk\xb0\xa1", "gbk\\xB0\\xA1", true},   // not UTF-8
        {"tab\tonly", "tab\\x09only", false},
        {"line\r\nnext", "line\\x0D\\x0Anext", true},
        // Bidirectional controls and separators: a name that reads as another, a cut line.
        {"photo\u202Egpj.exe", "photo\\u202Egpj.exe", true},
        {"a\u2066b\u2069\u200F\u202A", "a\\u2066b\\u2069\\u200F\\u202A", true},
        {"one\u2028two\u2029", "one\\u2028two\\u2029", true},
        {"dash\u2014\u201Cq\u201D\u2070", "dash\u2014\u201Cq\u201D\u2070", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(escapeControls(c.text), c.escaped) << c.text;
        EXPECT_EQ(hasControls(c.text), c.controls) << c.text;
    }
    EXPECT_EQ(escapeControls("一\n二\x1b", true), "一\n二\\x1B");
    EXPECT_EQ(escapeControls("a\tb\r\nc\rd\r", true), "a\tb\r\nc\\x0Dd\\x0D");
}

TEST(ShownText, ExcerptCutsByCharacters) {
    EXPECT_EQ(excerpt("短"), "短");
    EXPECT_EQ(excerpt(std::string(100, 'x'), 5), "xxxxx…");
    EXPECT_EQ(excerpt("机体机体机体", 2), "机体…");
    EXPECT_EQ(excerpt("\x1b[2J", 2), "\\x1B[…");
}

}  // namespace
}  // namespace vorlan
