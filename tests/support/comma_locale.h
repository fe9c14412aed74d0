#pragma once
// A locale that writes numbers with a decimal comma, to prove that numbers are read and written without it.
#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace testing_support {

// fr_FR when the machine has it, else one made in `folder` from the system's locale sources.
inline bool useCommaLocale(const std::string& folder) {
    if (std::setlocale(LC_ALL, "fr_FR.UTF-8")) return true;
    const std::string command = "localedef -i fr_FR -f UTF-8 " + folder + "/fr_FR.UTF-8 >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0 && !std::filesystem::exists(folder + "/fr_FR.UTF-8")) return false;
    setenv("LOCPATH", folder.c_str(), 1);
    return std::setlocale(LC_ALL, "fr_FR.UTF-8") != nullptr;
}

inline void restoreCLocale() {
    std::setlocale(LC_ALL, "C");
    unsetenv("LOCPATH");
}

} // namespace testing_support
