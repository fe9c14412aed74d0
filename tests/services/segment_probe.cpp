// A second program of the system for the start-up tests: it loads the library, does one thing and reports on
// standard output.
//   report                 the segment sizes, the exchange buffer's first word, the folders
//   messages               the four registered message identifiers
//   mark WORD              writes WORD into the exchange buffer, then reports
//   hold                   reports, then keeps the library loaded until standard input ends
//   hold-mutex             takes "vb_mutex", says "held", and waits to be killed
//   hold-busy              claims the busy word for i_mode, says "held", and waits to be killed
//   writer ROUNDS BYTE     writes whole buffers of BYTE + round under the mutex
//   reader ROUNDS          reads whole buffers under the mutex; exit code 3 when one was mixed
//   fill SEED              writes every shared field (folders, trace bits, screen metrics, the global editor
//                          link, the exchange buffer, the other family's words) from SEED
//   dump                   both segments, byte by byte in hexadecimal
//   try-mutex MS           waits at most MS for "vb_mutex": "acquired", "abandoned" or "timed out"
//   try-busy               "busy" when the busy word for i_mode cannot be claimed, else "free"
#include "platform/ipc/named_mutex.h"
#include "services/startup/busy_word.h"
#include "services/startup/exchange_buffer.h"
#include "services/startup/shared_records.h"
#include "services/startup/window_messages.h"

#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <unistd.h>

namespace {

int number(const char* text) {
    int value = 0;
    std::from_chars(text, text + std::strlen(text), value);
    return value;
}

void report() {
    std::uint64_t word = 0;
    vbbuf_read(&word, 0, sizeof word, 1);
    if (!g_pZortaGenSeg) {
        std::printf("no segment\n");
    } else {
        std::printf("sizes %d %lld %d\n", g_pZortaGenSeg->size, static_cast<long long>(pvg->size),
                    g_pSZortaTAVRO ? g_pSZortaTAVRO->size : -1);
        std::printf("word %llx\n", static_cast<unsigned long long>(word));
        std::printf("install %s\nlocal %s\n", pvg->installFolder, pvg->localFolder);
    }
    std::fflush(stdout);
}

void sayHeldAndWait() {
    std::printf("held\n");
    std::fflush(stdout);
    pause();
}

int write(int rounds, int byte) {
    unsigned char buffer[1024];
    for (int round = 0; round < rounds; ++round) {
        std::memset(buffer, (byte + round) & 0xFF, sizeof buffer);
        if (vbbuf_write(buffer, 0, sizeof buffer, 1) != 1024) return 2;
    }
    return 0;
}

int read(int rounds) {
    unsigned char buffer[1024];
    for (int round = 0; round < rounds; ++round) {
        if (vbbuf_read(buffer, 0, sizeof buffer, 1) != 1024) return 2;
        for (unsigned char byte : buffer)
            if (byte != buffer[0]) return 3;
    }
    return 0;
}

void fill(int seed) {
    std::snprintf(pvg->installFolder, sizeof pvg->installFolder, "C:\\INSTALL%d\\", seed);
    std::snprintf(pvg->localFolder, sizeof pvg->localFolder, "D:\\LOCAL%d\\", seed);
    pvg->pvDeb = seed * 3 + 1;
    auto pattern = [seed](void* record, std::size_t size, int step) {
        auto* bytes = static_cast<unsigned char*>(record);
        for (std::size_t i = 0; i < size; ++i)
            bytes[i] = static_cast<unsigned char>(seed + static_cast<int>(i) * step);
    };
    pattern(g_pSystemVar, sizeof *g_pSystemVar, 3);
    pattern(g_pTpadG, sizeof *g_pTpadG, 5);
    unsigned char buffer[1024];
    pattern(buffer, sizeof buffer, 7);
    vbbuf_write(buffer, 0, sizeof buffer, 1);
    g_pSZortaTAVRO->flags = seed;
    g_pSZortaTAVRO->cadWindow = 0x0102030405060708u * static_cast<std::uint64_t>(seed);
    for (int i = 0; i < 4; ++i)
        g_pSZortaTAVRO->otherFamily[i] = -seed * (i + 1);
}

void dump(const void* record, std::size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(record);
    for (std::size_t i = 0; i < size; ++i)
        std::printf("%02x", bytes[i]);
    std::printf("\n");
}

const char* resultText(platform::LockResult result) {
    switch (result) {
    case platform::LockResult::Acquired:
        return "acquired";
    case platform::LockResult::Abandoned:
        return "abandoned";
    case platform::LockResult::TimedOut:
        return "timed out";
    default:
        return "failed";
    }
}

} // namespace

int main(int argc, char** argv) {
    const std::string_view command = argc > 1 ? argv[1] : "report";
    if (command == "report") {
        report();
    } else if (command == "messages") {
        std::printf("%u %u %u %u\n", wm_Tavro, wm_TavroMem, wm_ZortaMouse, wm_ZortaPalet);
    } else if (command == "mark" && argc > 2) {
        const std::uint64_t word = static_cast<std::uint64_t>(number(argv[2]));
        vbbuf_write(&word, 0, sizeof word, 1);
        report();
    } else if (command == "hold") {
        report();
        char rest[64];
        while (::read(0, rest, sizeof rest) > 0) {
        }
    } else if (command == "hold-mutex") {
        platform::NamedMutex mutex("vb_mutex");
        mutex.wait();
        sayHeldAndWait();
    } else if (command == "hold-busy") {
        const auto claim = services::BusyClaim::tryClaim(services::kBusyOutputMode);
        if (!claim) return 4;
        sayHeldAndWait();
    } else if (command == "writer" && argc > 3) {
        return write(number(argv[2]), number(argv[3]));
    } else if (command == "reader" && argc > 2) {
        return read(number(argv[2]));
    } else if (command == "fill" && argc > 2) {
        if (!g_pZortaGenSeg || !g_pSZortaTAVRO) return 5;
        fill(number(argv[2]));
    } else if (command == "dump") {
        if (!g_pZortaGenSeg || !g_pSZortaTAVRO) return 5;
        dump(g_pZortaGenSeg, sizeof *g_pZortaGenSeg);
        dump(g_pSZortaTAVRO, sizeof *g_pSZortaTAVRO);
    } else if (command == "try-mutex" && argc > 2) {
        platform::NamedMutex mutex("vb_mutex");
        const platform::LockResult result = mutex.wait(std::chrono::milliseconds(number(argv[2])));
        std::printf("%s\n", resultText(result));
        if (platform::holds(result)) mutex.release();
    } else if (command == "try-busy") {
        std::printf("%s\n", services::BusyClaim::tryClaim(services::kBusyOutputMode) ? "free" : "busy");
    } else {
        std::fprintf(stderr, "segment_probe: unknown command\n");
        return 64;
    }
    return 0;
}
