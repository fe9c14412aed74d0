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

} // namespace platform
