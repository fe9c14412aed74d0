// Opens a drawing and saves it again and again over one file, as DXF when the file ends in .dxf: one of the
// writers racing each other in the save tests.
#include <charconv>
#include <cstdio>
#include <cstring>

#include "host/db/database.h"
#include "host/filing/dxf_file.h"
#include "host/filing/text_codec.h"

int main(int argc, char** argv) {
    int count = 0;
    if (argc != 4 || std::from_chars(argv[3], argv[3] + std::strlen(argv[3]), count).ec != std::errc()) {
        std::fprintf(stderr, "usage: save_loop DRAWING TARGET COUNT\n");
        return 2;
    }
    AcDbDatabase db;
    if (db.readDwgFile(host::fromUtf8(argv[1]).c_str()) != Acad::eOk) {
        std::fprintf(stderr, "cannot open %s: %s\n", argv[1], db.lastFileError().c_str());
        return 1;
    }
    const std::wstring target = host::fromUtf8(argv[2]);
    const bool dxf = std::string_view(argv[2]).ends_with(".dxf");
    for (int i = 0; i < count; ++i)
        if ((dxf ? host::writeDxfFile(db, target) : db.saveAs(target.c_str())) != Acad::eOk) {
            std::fprintf(stderr, "cannot save %s: %s\n", argv[2], db.lastFileError().c_str());
            return 1;
        }
    return 0;
}
