#pragma once
// Runs a program of the build (ZortaPad, the link probe) as a separate process, and finds the editor's
// windows on the bus.
#include "platform/system/process.h"
#include "platform/windows/message_bus.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace testing_support {

// Starts `program` of the build's bin folder; -1 when it does not start.
inline pid_t startProgram(const std::string& program, std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), std::string(BIN_DIR) + "/" + program);
    const pid_t pid = platform::spawnProcess(arguments, false);
    return pid > 0 ? pid : -1;
}

// Runs `program` to its end and answers its standard output.
inline std::string runProgram(const std::string& program, const std::string& arguments) {
    std::string output;
    FILE* pipe = popen((std::string(BIN_DIR) + "/" + program + " " + arguments).c_str(), "r");
    if (!pipe) return output;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe))
        output += buffer;
    pclose(pipe);
    return output;
}

// The main frames of ZortaPad on the bus.
inline std::vector<platform::Hwnd> editorFrames() {
    std::vector<platform::Hwnd> frames;
    for (platform::Hwnd window : platform::window_table::topLevelWindows())
        if (platform::window_table::className(window) == "ZortaPad") frames.push_back(window);
    return frames;
}

// Waits at most 20 s for `condition`.
template <typename Condition> bool eventually(Condition condition) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

// The windows below `frame` of class `className`.
inline std::vector<platform::Hwnd> windowsOfClass(platform::Hwnd frame, const std::string& className) {
    std::vector<platform::Hwnd> found;
    for (platform::Hwnd window : platform::window_table::descendants(frame))
        if (platform::window_table::className(window) == className) found.push_back(window);
    return found;
}

inline std::string textOf(platform::Hwnd edit) {
    return platform::sendMessage(platform::Message{edit, platform::WM_GETTEXT, 1u << 20, 0, {}}).text;
}

// Closes every editor and waits for its windows to go.
inline void closeEditors() {
    for (platform::Hwnd frame : editorFrames())
        platform::postMessage(frame, platform::WM_CLOSE);
    eventually([] { return editorFrames().empty(); });
}

} // namespace testing_support
