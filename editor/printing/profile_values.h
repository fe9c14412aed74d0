#pragma once
// Integers and texts of a section of the program's profile file, read with a default and written as text.
#include <string>
#include <string_view>

struct ProfileFile {
    std::string path;

    int readInt(std::string_view section, std::string_view key, int fallback) const;
    std::string readString(std::string_view section, std::string_view key, std::string_view fallback) const;
    bool writeInt(std::string_view section, const char* key, int value) const;
    bool writeString(std::string_view section, const char* key, const std::string& value) const;
};
