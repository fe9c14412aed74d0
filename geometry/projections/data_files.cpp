#include "geometry/projections/data_files.h"

#include "platform/base/ascii.h"
#include "platform/files/path_map.h"
#include "platform/ui/message_box.h"
#include "services/output/output.h"
#include "services/settings/folders.h"

namespace geometry::projections {

namespace {

bool isSpace(int c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

} // namespace

std::string localIniPath(const std::string& name) {
    return localFolder() + "INI\\" + name;
}

DataFile openForReading(const std::string& systemPath) {
    return DataFile(std::fopen(platform::hostPath(systemPath).c_str(), "rb"));
}

bool readLine(std::FILE* file, std::string& line) {
    line.clear();
    int c = 0;
    while ((c = std::fgetc(file)) != EOF && c != '\n')
        line.push_back(static_cast<char>(c));
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return c != EOF || !line.empty();
}

bool readWord(std::FILE* file, std::string& word, std::size_t maxLength) {
    word.clear();
    int c = 0;
    while ((c = std::fgetc(file)) != EOF && isSpace(c))
        ;
    for (; c != EOF && !isSpace(c); c = std::fgetc(file)) {
        if (word.size() == maxLength) return false;
        word.push_back(static_cast<char>(c));
    }
    return !word.empty();
}

bool hasMntExtension(const std::string& path) {
    return path.size() >= 4 && platform::sameNoCase(std::string_view(path).substr(path.size() - 4), ".MNT");
}

void reportNonConforming(const std::string& path) {
    const std::string text = "Fichier:" + path + " Non Conforme";
    mprintf("\n%s", text.c_str());
    platform::messageBox(0, text.c_str(), text.c_str(), platform::MB_ICONERROR);
}

} // namespace geometry::projections
