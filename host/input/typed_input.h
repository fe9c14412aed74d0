#pragma once
// Lines typed into the host's window by another program (zhost --window). A script waits for them with
// "@typed [LINES] [MS]": they answer the prompts that follow as if typed at the keyboard.
#include <functional>
#include <vector>

#include "host/input/input_queue.h"

namespace host {

constexpr int kDefaultTypedWaitMs = 10000;

// Waits at most `waitMs` for `lines` lines typed into the window; the items typed so far (Ctrl+C a cancel).
using TypedLinesSource = std::function<std::vector<InputItem>(int lines, int waitMs)>;
// Where typed lines come from; none without a window.
void setTypedLinesSource(TypedLinesSource source);

InputItem typedWaitItem(int lines, int waitMs);
// Whether a typed item is a whole line: a line, an empty line or a Ctrl+C.
bool isTypedLine(const InputItem& item);
// Puts the lines typed in front of the queue; when they did not all come in time, a cancel after them and
// a note in the transcript.
void takeTypedLines(const InputItem& wait);

} // namespace host
