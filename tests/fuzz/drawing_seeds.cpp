// Seeds that only this build can make, from the drawings it is given: each drawing's binary drawing, with
// the plug-in's classes registered so that its polylines are filed as the plug-in's own records, and the
// proxy-graphics image of each of its entities.
//   fuzz_seed_drawings DRAWINGS_FOLDER IMAGES_FOLDER DRAWING...
#include "entity/core/poly_classes.h"
#include "host/db/database.h"
#include "host/db/symbol_tables.h"
#include "host/filing/drawing_file.h"
#include "host/filing/file_bytes.h"
#include "host/filing/text_codec.h"
#include "host/graphics/proxy_graphics_writer.h"

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

bool writeSeed(const std::string& path, const std::string& bytes) {
    if (host::writeFileBytes(host::fromUtf8(path), bytes)) return true;
    std::fprintf(stderr, "fuzz_seed_drawings: cannot write %s\n", path.c_str());
    return false;
}

bool writeImages(AcDbDatabase& db, const std::string& folder, const std::string& stem) {
    AcDbBlockTableRecord* space = nullptr;
    if (acdbOpenObject(space, db.modelSpaceId(), AcDb::kForRead) != Acad::eOk) return false;
    bool written = true;
    int count = 0;
    for (const AcDbObjectId id : space->entityIds()) {
        AcDbEntity* entity = nullptr;
        if (acdbOpenObject(entity, id, AcDb::kForWrite) != Acad::eOk) continue;
        const std::vector<std::uint8_t> image = host::proxyGraphicsOf(entity);
        entity->close();
        if (!image.empty())
            written &= writeSeed(folder + "/" + stem + "-" + std::to_string(++count) + ".img",
                                 std::string(image.begin(), image.end()));
    }
    space->close();
    return written;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: fuzz_seed_drawings DRAWINGS_FOLDER IMAGES_FOLDER DRAWING...\n");
        return 2;
    }
    PolyArc3D::rxInit();
    tavro_poly::rxInit();
    int status = 0;
    for (int i = 3; i < argc; ++i) {
        const std::string stem = std::filesystem::path(argv[i]).stem().string();
        AcDbDatabase db(false);
        std::string binary;
        if (host::readDrawing(db, host::fromUtf8(argv[i])) != Acad::eOk ||
            host::writeDrawing(db, binary) != Acad::eOk) {
            // A drawing this host does not open is a seed as it stands; it gives no binary drawing.
            std::fprintf(stderr, "fuzz_seed_drawings: %s is kept as it is: %s\n", argv[i],
                         db.lastFileError().c_str());
            continue;
        }
        if (!writeSeed(std::string(argv[1]) + "/" + stem + ".zdwg", binary) ||
            !writeImages(db, argv[2], stem))
            status = 1;
    }
    return status;
}
