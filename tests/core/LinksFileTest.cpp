// The related links read from "url.ini": defaults, code page 932 captions, separators, empty
// captions and targets that must reach the opener unchanged.
#include "core/LinksFile.h"
#include "tests/core/Utf8Path.h"

#include "BuildConfig.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

std::filesystem::path writeFile(const std::string& name, const std::string& bytes)
{
    const auto path = std::filesystem::temp_directory_path() / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

// Without a file every item shows its default caption and opens its default page.
TEST(LinksFile, MissingFileGivesTheDefaults)
{
    const Links links =
        LinksFile::load(utf8Path(std::filesystem::temp_directory_path() / "no-such-url.ini"));
    const std::string maker = std::string("http://") + BuildConfig::MakerHost;
    const std::array<std::string, 5> names{
        "Microsoft - ヘルシー コンピューティング ガイド", "IBM - VDT作業を快適に",
        "PALVENE - 座ったままで簡単ストレッチ", "作者のサイト", "ルペタのサイト"};
    const std::array<std::string, 5> urls{
        std::string("http://") + BuildConfig::Link1Host + "/japan/hardware/hcg/default.htm",
        std::string("http://") + BuildConfig::Link2Host + "/jp/vdtwork/",
        maker + BuildConfig::StretchArticlePath, maker + "/blog/", maker + "/rupeta/"};
    EXPECT_EQ(links.names, names);
    EXPECT_EQ(links.urls, urls);
    EXPECT_EQ(links.urls[2].rfind(maker + "/blog/", 0), 0u) << "the article lives on the web log";
}

// Each key is read on its own: what the file holds wins, what it lacks keeps its default, and
// targets are taken byte for byte (after the code page conversion), never interpreted.
TEST(LinksFile, FileValuesOverrideKeyByKey)
{
    const auto path = writeFile("rupeta-links-test.ini",
                                "; distributor's links\r\n"
                                "[urls]\r\n"
                                "Name1=\x83\x5c\x83\x74\x83\x67 & \x95\x5c\r\n" // "ソフト & 表"
                                "name2=-\r\n"
                                "Name3=\r\n"
                                "URL1=C:\\Docs\\My File.txt\r\n"
                                "URL2=http://x/?a=1;b=$(touch pwned)\r\n"
                                "URL3=\r\n"
                                "URL5=\x83\x8b\x83\x79\x83\x5e.html\r\n" // "ルペタ.html"
                                "[Other]\r\n"
                                "Name4=not this one\r\n");
    const Links links = LinksFile::load(utf8Path(path));
    const Links defaults = LinksFile::defaults();
    struct Row
    {
        std::string name;
        std::string url;
    };
    const Row expected[5] = {
        {"ソフト & 表", "C:\\Docs\\My File.txt"}, {"-", "http://x/?a=1;b=$(touch pwned)"}, {"", ""},
        {defaults.names[3], defaults.urls[3]},    {defaults.names[4], "ルペタ.html"},
    };
    for (std::size_t i = 0; i < 5; ++i) {
        SCOPED_TRACE("item " + std::to_string(i + 1));
        EXPECT_EQ(links.names[i], expected[i].name);
        EXPECT_EQ(links.urls[i], expected[i].url);
    }
    std::filesystem::remove(path);
}

} // namespace
