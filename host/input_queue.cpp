#include "host/input_queue.h"

#include <deque>

namespace host {
namespace {
std::deque<std::wstring>& queue() {
    static std::deque<std::wstring> lines;
    return lines;
}
} // namespace

void queueInput(const std::wstring& line) {
    queue().push_back(line);
}

std::optional<std::wstring> nextInput() {
    if (queue().empty()) return std::nullopt;
    std::wstring line = std::move(queue().front());
    queue().pop_front();
    return line;
}

bool inputPending() {
    return !queue().empty();
}
void clearInput() {
    queue().clear();
}

} // namespace host
