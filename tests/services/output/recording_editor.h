#pragma once
// A stand-in for the editor program, in a child process: a frame of class "ZortaPad", its MDI client, a child
// frame and an edit window, which record what an editor link sends them and answer as the editor does.
#include "platform/windows/message_bus.h"
#include "platform/windows/process_memory.h"
#include "services/output/pad_mem_record.h"
#include "services/startup/window_messages.h"
#include "tests/platform/windows/window_bus_support.h"

#include <string>

namespace testing_support {

class RecordingEditor {
public:
    static constexpr std::uint32_t kReport = platform::WM_USER + 10;   // answers the record as text
    static constexpr std::uint32_t kSetLines = platform::WM_USER + 11; // the edit window's line count
    static constexpr std::uint32_t kSetLimit = platform::WM_USER + 12; // its line limit

    explicit RecordingEditor(const std::string& title) : child_([title] { return serve(title); }) {
        frame = waitForWindow(title);
        const std::vector<platform::Hwnd> below = platform::window_table::descendants(frame);
        if (below.size() == 3) edit = below[2];
    }

    std::string report() const {
        return platform::sendMessage(platform::Message{frame, kReport, 0, 0, {}}).text;
    }
    void set(std::uint32_t what, std::int64_t value) const { platform::sendMessage(edit, what, 0, value); }
    void kill() {
        if (!killed_) child_.kill(SIGKILL);
        killed_ = true;
    }

    platform::Hwnd frame = 0;
    platform::Hwnd edit = 0;

private:
    static std::string titleFrom(const platform::Message& message) {
        PadMemRecord record{};
        const auto sender = static_cast<pid_t>(message.wParam);
        if (!platform::readProcessMemory(sender, static_cast<std::uint64_t>(message.lParam), &record,
                                         sizeof record))
            return "?";
        std::string text(static_cast<std::size_t>(record.length), '\0');
        platform::readProcessMemory(sender, record.address, text.data(), text.size());
        return text;
    }

    static int serve(const std::string& title) {
        std::string log;
        std::int64_t lines = 1;
        std::int64_t limit = 5001;
        platform::Hwnd edit = 0;
        const auto frame = platform::createWindow(
            {"ZortaPad", "", 0, 0, platform::WS_VISIBLE}, [&](platform::Message& message) -> std::int64_t {
                if (message.id == kReport) message.text = log;
                if (message.id == wm_Tavro && message.wParam == 1) return static_cast<std::int64_t>(edit);
                if (message.id == wm_Tavro && message.wParam == 2) log += "clear screen\n";
                if (message.id == wm_TavroMem) log += "frame title " + titleFrom(message) + "\n";
                return message.id == wm_Tavro && message.wParam == 2 ? 1 : 0;
            });
        if (!frame) return 3;
        const auto client =
            platform::createWindow({"MDICLIENT", "", *frame, 0, platform::WS_VISIBLE},
                                   [&](platform::Message& message) -> std::int64_t {
                                       if (message.id == platform::WM_MDIACTIVATE)
                                           log += "activate " + std::to_string(message.wParam) + "\n";
                                       return 0;
                                   });
        const auto child =
            platform::createWindow({"ZortaPadChild", "Ecran", *client, 0, platform::WS_VISIBLE}, {});
        const auto made = platform::createWindow(
            {"Edit", "", *child, 0, platform::WS_VISIBLE}, [&](platform::Message& message) -> std::int64_t {
                using namespace platform;
                const std::string w = std::to_string(message.wParam);
                switch (message.id) {
                case kSetLines:
                    lines = message.lParam;
                    return 0;
                case kSetLimit:
                    limit = message.lParam;
                    return 0;
                case EM_GETLINECOUNT:
                    return lines;
                case WM_GETTEXTLENGTH:
                    return 7;
                case EM_LINEINDEX:
                    log += "line index " + w + "\n";
                    return static_cast<std::int64_t>(message.wParam) * 10;
                case EM_SETREADONLY:
                    log += "read-only " + w + "\n";
                    return 1;
                case EM_SETSEL:
                    log += "select " + w + " " + std::to_string(message.lParam) + "\n";
                    return 0;
                case WM_CLEAR:
                    log += "clear selection\n";
                    return 0;
                case EM_REPLACESEL:
                    log += "piece " + std::to_string(message.text.size()) + " " + message.text.substr(0, 8) +
                           "\n";
                    return 0;
                default:
                    if (message.id == wm_Tavro) return message.wParam == 1 ? limit : 0;
                    if (message.id == wm_TavroMem) log += "view title " + titleFrom(message) + "\n";
                    return 0;
                }
            });
        if (!client || !child || !made) return 3;
        edit = *made;
        platform::window_table::setText(*frame, title); // found by its title once whole
        for (;;)
            platform::pumpMessages(1000);
    }

    ChildProcess child_;
    bool killed_ = false;
};

} // namespace testing_support
