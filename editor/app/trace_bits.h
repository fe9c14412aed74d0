#pragma once
// The trace-bits command: edits the library's `pvDeb` through the string input dialog, and opens the global
// text screen when tracing is on.
#include <optional>
#include <string>

// The value of an entry: lower-cased and trimmed, hexadecimal when it holds an "x" ("0x100", "x100"), else
// decimal; nothing for a text that is not a number.
std::optional<int> parseTraceBits(std::string text);
// The help text that lists the bits and the current value, and the dialog's initial text.
std::string traceBitsExplanation(int current);
std::string traceBitsInitialText(int current);
// Runs the command; true when a value was stored.
bool editTraceBits();
