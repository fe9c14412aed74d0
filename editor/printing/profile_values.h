#pragma once
// Integers and texts of the editor's profile file, read with a default and written as text.
#include <string>
#include <string_view>

struct ProfileFile {
    // The program's own profile, "ZortaPad.ini" in its folder of the user's configuration, made when missing.
    static ProfileFile program();

    std::string path;

    int readInt(std::string_view section, std::string_view key, int fallback) const;
    std::string readString(std::string_view section, std::string_view key, std::string_view fallback) const;
    bool writeInt(std::string_view section, const char* key, int value) const;
    bool writeString(std::string_view section, const char* key, const std::string& value) const;
};
