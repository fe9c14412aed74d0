#pragma once
// Windows command lines ("\"C:\Program Files\x.exe\" /a \"b c\""), split into a program and its arguments by
// the rules of the Windows C run-time, so that a program started from such a line gets the arguments it
// would get on Windows.
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The program (the first item, quoted or ended by a blank, with no escapes) followed by the arguments:
// blanks separate them outside quotes; 2n backslashes before a quote give n backslashes and the quote opens
// or closes; 2n+1 give n backslashes and a literal quote; "" inside quotes is a literal quote; other
// backslashes stay as they are. Empty for a blank line.
std::vector<std::string> splitCommandLine(std::string_view line);

} // namespace platform
