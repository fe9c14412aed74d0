// zorta_show_listing FILE: prints a listing into the global text screen, as any program of the system
// does with "$G$", starting the editor when none carries the screen yet. The listing is a terminal's text
// (UTF-8); the library's text is in the Windows code page.
#include "platform/base/code_page.h"
#include "services/output/output.h"

#include <cstdio>
#include <fstream>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: zorta_show_listing FILE\n");
        return 2;
    }
    std::ifstream file(argv[1], std::ios::binary);
    if (!file) {
        std::fprintf(stderr, "zorta_show_listing: cannot read %s\n", argv[1]);
        return 1;
    }
    std::string line;
    while (std::getline(file, line))
        if (!mprintf("$G$%s\n", platform::utf8ToCp1252(line).c_str())) return 1;
    return 0;
}
