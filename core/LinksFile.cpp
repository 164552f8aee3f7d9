// The related links of the tray menu.
#include "core/LinksFile.h"

#include "core/Cp932.h"
#include "core/ProfileFile.h"

#include "BuildConfig.h"

#include <string_view>

namespace {
std::string http(std::string_view host, std::string_view path)
{
    return "http://" + std::string(host) + std::string(path);
}
} // namespace

Links LinksFile::defaults()
{
    return Links{{"Microsoft - ヘルシー コンピューティング ガイド", "IBM - VDT作業を快適に",
                  "PALVENE - 座ったままで簡単ストレッチ", "作者のサイト", "ルペタのサイト"},
                 {http(BuildConfig::Link1Host, "/japan/hardware/hcg/default.htm"),
                  http(BuildConfig::Link2Host, "/jp/vdtwork/"),
                  http(BuildConfig::MakerHost, BuildConfig::StretchArticlePath),
                  http(BuildConfig::MakerHost, "/blog/"),
                  http(BuildConfig::MakerHost, "/rupeta/")}};
}

Links LinksFile::load(const std::string& path)
{
    const ProfileFile file = ProfileFile::load(path);
    Links links = defaults();
    // The file is code page 932; defaults are already UTF-8.
    const auto read = [&file](const std::string& key, std::string& value) {
        if (const auto stored = file.get("URLs", key)) {
            value = cp932ToUtf8(*stored);
        }
    };
    for (std::size_t i = 0; i < links.names.size(); ++i) {
        read("Name" + std::to_string(i + 1), links.names[i]);
    }
    for (std::size_t i = 0; i < links.urls.size(); ++i) {
        read("URL" + std::to_string(i + 1), links.urls[i]);
    }
    return links;
}
