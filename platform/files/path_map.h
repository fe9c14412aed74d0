#pragma once
// The one place where a path of the system's own grammar ("C:\ZORTA\INI\ZORTA.ini": backslashes, drive
// letters, names in any case) becomes a path of this file system.
//
// Backslashes become slashes. A drive letter "X:" maps to the folder in the environment variable
// ZORTA_DRIVE_X when it is set, else to the root. Each component that exists is looked up without regard
// to ASCII case, as Windows does; from the first component that does not exist on, the path is kept as
// given (so a new file gets the name it was asked for). Names keep their bytes (code page 1252).
#include <string>
#include <string_view>

namespace platform {

std::string hostPath(std::string_view systemPath);

// The way back, for folders the platform names (the current folder, the temporary folder, a folder on PATH):
// an absolute host path in the system's grammar. The drive is the one whose ZORTA_DRIVE_X folder holds the
// path most closely; when none does, the first drive from "C:" on that maps to the root. A relative path only
// has its slashes turned into backslashes.
std::string systemPath(std::string_view hostPath);

// The process's current folder in the system's grammar, ending without a backslash ("C:\work").
std::string currentSystemFolder();

} // namespace platform
