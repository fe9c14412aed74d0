// Proxy-graphics images as files give them: each replay draws what the image holds and no more entries than
// it has room for, and a second replay draws the same (nothing depends on memory the image does not hold).
#include "host/db/database.h"
#include "host/graphics/graphics_recorder.h"
#include "host/graphics/proxy_graphics_reader.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

struct Replay {
    host::ProxyGraphicsReplay counts;
    std::vector<host::Primitive> primitives;
};

Replay replay(const std::uint8_t* data, std::size_t size, const AcDbDatabase& db) {
    host::GraphicsRecorder recorder;
    const host::ProxyGraphicsReplay counts = host::drawProxyGraphics(data, size, recorder.worldDraw(), &db);
    return {counts, recorder.primitives()};
}

bool samePrimitives(const std::vector<host::Primitive>& a, const std::vector<host::Primitive>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].kind != b[i].kind || a[i].points.size() != b[i].points.size() || a[i].color != b[i].color ||
            a[i].text != b[i].text)
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const AcDbDatabase db;
    const Replay first = replay(data, size, db);
    // Every entry, drawn or skipped, takes its 8-byte size and operation after the image's own 8 bytes.
    const std::size_t room = size / 8;
    fuzz::check(first.counts.drawn >= 0 && first.counts.skipped >= 0, "a negative count of entries");
    fuzz::check(static_cast<std::size_t>(first.counts.drawn + first.counts.skipped) <= room,
                "more entries walked than the image has room for");
    const Replay second = replay(data, size, db);
    fuzz::check(second.counts.drawn == first.counts.drawn && second.counts.skipped == first.counts.skipped &&
                    samePrimitives(first.primitives, second.primitives),
                "two replays of one image draw differently");
    return 0;
}
