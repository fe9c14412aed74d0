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
#include "platform/ipc/named_mutex.h"
#include "services/startup/busy_word.h"
#include "services/startup/exchange_buffer.h"
#include "services/startup/shared_records.h"
#include "services/startup/window_messages.h"

#include <charconv>
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
    } else {
        std::fprintf(stderr, "segment_probe: unknown command\n");
        return 64;
    }
    return 0;
}
