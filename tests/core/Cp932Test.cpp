// Conversion between the files' code page 932 bytes and UTF-8.
#include "core/Cp932.h"

#include <gtest/gtest.h>

TEST(Cp932, RoundTripsTheCharactersShiftJisGetsWrong)
{
    // Why: trail byte 0x5C, backslashes and half-width katakana must survive both ways.
    struct Case
    {
        std::string_view cp932;
        std::string_view utf8;
    };
    const Case cases[] = {
        {"\x83\x5C", "ソ"},
        {"\x95\x5C", "表"},
        {"C:\\rupeta\\beep.wav", "C:\\rupeta\\beep.wav"},
        {"\xB7\xAC\xDD\xBE\xD9", "ｷｬﾝｾﾙ"},
        {"\x83\x8B\x83\x79\x83\x5E", "ルペタ"},
        {"\x87\x40", "①"},
        {"\xFA\x40", "ⅰ"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cp932ToUtf8(c.cp932), c.utf8);
        EXPECT_EQ(utf8ToCp932(c.utf8), c.cp932);
    }
}

TEST(Cp932, BytesThatDoNotConvertBecomeReplacementCharacters)
{
    // Why: a damaged file must still display, without swallowing the characters after it.
    EXPECT_EQ(cp932ToUtf8("A\x81"), "A\xEF\xBF\xBD");
    EXPECT_EQ(cp932ToUtf8("\x81\x20"
                          "B"),
              "\xEF\xBF\xBD B");
    EXPECT_EQ(cp932ToUtf8("\xA0Z"), "\xEF\xBF\xBDZ");
    EXPECT_EQ(cp932ToUtf8(std::string_view("a\0b", 3)), std::string_view("a\0b", 3));
}

TEST(Cp932, CharactersOutsideTheCodePageBecomeQuestionMarks)
{
    // Why: text typed on a UTF-8 desktop may hold characters the file cannot store.
    EXPECT_EQ(utf8ToCp932("a😀b"), "a?b");
    EXPECT_EQ(utf8ToCp932("한"), "?");
    EXPECT_EQ(utf8ToCp932("x\xFFy"), "x?y");
    EXPECT_EQ(utf8ToCp932("x\xE3\x81"), "x?");
}
