// UTF-8 to UTF-16 and back, and texts cut to a fixed buffer such as the tray tooltip's.
#include "win32/WideText.h"

#include <gtest/gtest.h>

TEST(WideText, JapaneseAndCharactersBeyondTheBasicPlaneSurviveTheRoundTrip)
{
    for (const std::string text :
         {"", "ルペタ", "60分たちました", "a\xF0\x9F\x98\x80z", "ＭＳ Ｐゴシック"}) {
        EXPECT_EQ(narrow(widen(text)), text);
    }
    EXPECT_EQ(widen("ルペタ"), L"\u30eb\u30da\u30bf");
    EXPECT_EQ(widen("\xF0\x9F\x98\x80").size(), 2u); // a surrogate pair
}

TEST(WideText, FitBufferKeepsRoomForTheTerminatingZero)
{
    struct Case
    {
        std::wstring text;
        std::size_t capacity;
        std::wstring expected;
    };
    const Case cases[] = {
        {L"abc", 4, L"abc"},
        {L"abcd", 4, L"abc"},
        {L"abcdef", 4, L"abc"},
        {L"", 4, L""},
        {L"abc", 0, L""},
        {L"abc", 1, L""},
        // The cut would fall between the halves of a surrogate pair: the pair goes whole.
        {L"ab\xD83D\xDE00", 4, L"ab"},
        {L"a\xD83D\xDE00", 4, L"a\xD83D\xDE00"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(fitBuffer(c.text, c.capacity), c.expected)
            << "capacity " << c.capacity << ", length " << c.text.size();
    }
}

TEST(WideText, ALongTooltipFitsTheTrayBuffer)
{
    const std::wstring tip = fitBuffer(std::wstring(300, L'分'), 128);
    EXPECT_EQ(tip.size(), 127u);
}
