#include "host/filing/file_bytes.h"

#include <cstdio>
#include <fstream>
#include <sstream>

#include "host/filing/text_codec.h"

namespace host {

std::optional<std::string> readFileBytes(const std::wstring& fileName) {
    std::ifstream in(toUtf8(fileName), std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad()) return std::nullopt;
    return content.str();
}

bool writeFileBytes(const std::wstring& fileName, const std::string& bytes) {
    std::string path = toUtf8(fileName);
    std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            std::remove(temporary.c_str());
            return false;
        }
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

} // namespace host
