#pragma once
// The one scripted input of the host: script lines waiting to be read as commands or as answers to
// prompts. An empty queue is what a cancel is made of, so nothing can wait for input forever.
#include <optional>
#include <string>

namespace host {
void queueInput(const std::wstring& line);
std::optional<std::wstring> nextInput();
bool inputPending();
void clearInput();
} // namespace host
