#include "services/output/message_boxes.h"

#include "platform/ui/message_box.h"

#include <cstdarg>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

std::atomic<unsigned> boxGeneration{1};

// Threads of the asynchronous boxes. They are joined, never detached, so that none still runs library code
// when the library is unloaded; finished ones are joined when the next box starts.
struct AsyncBox {
    std::thread thread;
    std::shared_ptr<std::atomic<bool>> closed;
};
std::mutex asyncLock;
std::vector<AsyncBox> asyncBoxes;

void joinClosedBoxes() {
    std::erase_if(asyncBoxes, [](AsyncBox& box) {
        if (!box.closed->load()) return false;
        box.thread.join();
        return true;
    });
}

unsigned iconOfCaptionPrefix(char prefix) {
    switch (prefix) {
    case '*':
        return platform::MB_ICONERROR;
    case '!':
        return platform::MB_ICONWARNING;
    case '?':
        return platform::MB_ICONQUESTION | platform::MB_YESNO;
    default:
        return 0;
    }
}

} // namespace

int mMessageBox(int type, const char* caption, const char* format, ...) {
    if (!format) return 0;
    try {
        char text[1024];
        va_list arguments;
        va_start(arguments, format);
        const int length = std::vsnprintf(text, sizeof text, format, arguments);
        va_end(arguments);
        if (length <= 0) return 0;
        unsigned style = static_cast<unsigned>(type);
        if (style == 0 && caption) {
            style = iconOfCaptionPrefix(caption[0]);
            if (style != 0) ++caption;
        }
        return platform::messageBox(0, text, caption, style);
    } catch (...) {
        return 0;
    }
}

void showAsyncErrorBox(char* text) {
    if (!text) return;
    try {
        auto closed = std::make_shared<std::atomic<bool>>(false);
        std::lock_guard lock(asyncLock);
        joinClosedBoxes();
        asyncBoxes.reserve(asyncBoxes.size() + 1); // so that the push below cannot throw
        std::thread thread([copy = std::string(text), closed] {
            platform::messageBox(0, copy.c_str(), nullptr, platform::MB_SYSTEMMODAL | platform::MB_ICONERROR);
            closed->store(true);
        });
        asyncBoxes.push_back({std::move(thread), std::move(closed)});
    } catch (...) {
        // No thread could be started: no box, as when the box cannot be shown.
    }
}

void waitForAsyncErrorBoxes() {
    std::vector<AsyncBox> open;
    {
        std::lock_guard lock(asyncLock);
        open.swap(asyncBoxes);
    }
    for (AsyncBox& box : open)
        box.thread.join();
}

bool OncePerProcessBox::show(const char* text) {
    const unsigned generation = boxGeneration.load();
    if (shownInGeneration_.exchange(generation) == generation) return false;
    platform::messageBox(0, text, text, platform::MB_ICONERROR);
    return true;
}

void resetOncePerProcessBoxes() {
    ++boxGeneration;
}
