// Writes the example links file "url.ini": the program's own default captions and targets,
// in code page 932 like every file the program reads.
#include "core/LinksFile.h"

#include "core/Cp932.h"
#include "core/ProfileFile.h"

#include <string>

int main(int argc, char* argv[])
{
    if (argc != 2) {
        return 2;
    }
    const Links links = LinksFile::defaults();
    ProfileFile file = ProfileFile::parse("");
    for (std::size_t i = 0; i < links.names.size(); ++i) {
        file.set("URLs", "Name" + std::to_string(i + 1), utf8ToCp932(links.names[i]));
    }
    for (std::size_t i = 0; i < links.urls.size(); ++i) {
        file.set("URLs", "URL" + std::to_string(i + 1), utf8ToCp932(links.urls[i]));
    }
    return file.saveAtomically(argv[1]) ? 0 : 1;
}
