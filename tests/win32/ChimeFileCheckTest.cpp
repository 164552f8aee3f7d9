// The chime file's check before MCI sees it: well-formed PCM WAVE files pass, every header
// that lies about its sizes or its format is refused with a reason.
#include "win32/ChimeFileCheck.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

void put32(Bytes& b, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void put16(Bytes& b, std::uint16_t v)
{
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}

void tag(Bytes& b, const char* t)
{
    b.insert(b.end(), t, t + 4);
}

struct Wave
{
    std::uint16_t format = 1;
    std::uint16_t channels = 1;
    std::uint32_t rate = 22050;
    std::uint16_t bits = 16;
    std::uint32_t fmtSize = 16;
    std::uint32_t dataBytes = 200;
    std::int64_t dataSizeDelta = 0; // the data chunk's header lying about its size
    bool byteRateWrong = false;
    bool extraChunkBeforeFormat = false;
    bool dataBeforeFormat = false;
    std::uint8_t subFormat = 1; // of WAVE_FORMAT_EXTENSIBLE: 1 is PCM
};

Bytes make(const Wave& w)
{
    Bytes fmt;
    tag(fmt, "fmt ");
    put32(fmt, w.fmtSize);
    const auto align = static_cast<std::uint16_t>(w.channels * w.bits / 8);
    put16(fmt, w.format);
    put16(fmt, w.channels);
    put32(fmt, w.rate);
    put32(fmt, w.rate * align + (w.byteRateWrong ? 1 : 0));
    put16(fmt, align);
    put16(fmt, w.bits);
    if (w.fmtSize >= 40) {
        put16(fmt, 22); // the extension's size
        put16(fmt, w.bits);
        put32(fmt, 0); // channel mask
        // The sub-format GUID: PCM's, or another one.
        fmt.insert(fmt.end(),
                   {w.subFormat, 0, 0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71});
    }
    for (std::uint32_t i = w.fmtSize >= 40 ? 40 : 16; i < w.fmtSize; ++i)
        fmt.push_back(0);
    Bytes data;
    tag(data, "data");
    put32(data, static_cast<std::uint32_t>(w.dataBytes + w.dataSizeDelta));
    data.insert(data.end(), w.dataBytes, 0x40);

    Bytes b;
    tag(b, "RIFF");
    put32(b, 0); // RIFF's own size is not trusted either way
    tag(b, "WAVE");
    if (w.extraChunkBeforeFormat) {
        tag(b, "LIST");
        put32(b, 3);
        b.insert(b.end(), {1, 2, 3, 0}); // odd size, padded
    }
    if (w.dataBeforeFormat) {
        b.insert(b.end(), data.begin(), data.end());
        b.insert(b.end(), fmt.begin(), fmt.end());
    } else {
        b.insert(b.end(), fmt.begin(), fmt.end());
        b.insert(b.end(), data.begin(), data.end());
    }
    return b;
}

struct Case
{
    const char* name;
    Wave wave;
    bool accepted;
};

Wave with(void (*change)(Wave&))
{
    Wave w;
    change(w);
    return w;
}

const Case Cases[] = {
    {"plain 16-bit mono", Wave{}, true},
    {"8-bit stereo", with([](Wave& w) { w.bits = 8, w.channels = 2; }), true},
    {"longer format chunk", with([](Wave& w) { w.fmtSize = 18; }), true},
    {"other chunk first, odd size padded", with([](Wave& w) { w.extraChunkBeforeFormat = true; }),
     true},
    {"data shorter than the file", with([](Wave& w) { w.dataSizeDelta = -10; }), true},
    {"data size beyond the file", with([](Wave& w) { w.dataSizeDelta = 1; }), false},
    {"data size near 4 GB", with([](Wave& w) { w.dataSizeDelta = 0xFFFFFE00LL; }), false},
    {"no samples", with([](Wave& w) { w.dataBytes = 0; }), false},
    {"extensible PCM", with([](Wave& w) { w.format = 0xFFFE, w.fmtSize = 40; }), true},
    {"extensible float", with([](Wave& w) { w.format = 0xFFFE, w.fmtSize = 40, w.subFormat = 3; }),
     false},
    {"extensible, too short for its GUID", with([](Wave& w) { w.format = 0xFFFE, w.fmtSize = 18; }),
     false},
    {"compressed format", with([](Wave& w) { w.format = 2; }), false},
    {"float format", with([](Wave& w) { w.format = 3, w.bits = 32; }), false},
    {"no channels", with([](Wave& w) { w.channels = 0; }), false},
    {"six channels", with([](Wave& w) { w.channels = 6; }), false},
    {"24-bit", with([](Wave& w) { w.bits = 24; }), false},
    {"rate zero", with([](Wave& w) { w.rate = 0; }), false},
    {"rate absurd", with([](Wave& w) { w.rate = 4000000; }), false},
    {"byte rate inconsistent", with([](Wave& w) { w.byteRateWrong = true; }), false},
    {"format chunk too short", with([](Wave& w) { w.fmtSize = 14; }), false},
    {"data before format", with([](Wave& w) { w.dataBeforeFormat = true; }), false},
};

} // namespace

class ChimeFileCheckCases : public ::testing::TestWithParam<Case>
{
};

TEST_P(ChimeFileCheckCases, AcceptsOnlyWellFormedPcm)
{
    const Case& c = GetParam();
    const std::string reason = ChimeFileCheck::checkWave(make(c.wave));
    if (c.accepted)
        EXPECT_EQ(reason, "") << c.name;
    else
        EXPECT_NE(reason, "") << c.name;
}

INSTANTIATE_TEST_SUITE_P(Headers, ChimeFileCheckCases, ::testing::ValuesIn(Cases),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             for (char& ch : name)
                                 if (!std::isalnum(static_cast<unsigned char>(ch)))
                                     ch = '_';
                             return name;
                         });

TEST(ChimeFileCheck, RefusesWhatIsNoWaveAtAll)
{
    const std::string text = "[Timer]\r\nTimer=60\r\n";
    const Bytes cases[] = {
        {},
        Bytes(text.begin(), text.end()),
        {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'A', 'V', 'I', ' '},
        {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'},                // header only
        {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't'}, // cut in a chunk
    };
    for (const Bytes& bytes : cases)
        EXPECT_NE(ChimeFileCheck::checkWave(bytes), "") << bytes.size() << " bytes";
}

TEST(ChimeFileCheck, RefusesFilesBeyondTheBound)
{
    Wave w;
    w.dataBytes = static_cast<std::uint32_t>(ChimeFileCheck::MaxBytes);
    EXPECT_NE(ChimeFileCheck::checkWave(make(w)), "");
    w.dataBytes = 30 * 22050 * 2;
    EXPECT_EQ(ChimeFileCheck::checkWave(make(w)), "");
}
