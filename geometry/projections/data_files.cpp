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

WordReader::Result WordReader::next(std::string& word) {
    word.clear();
    int c = 0;
    while ((c = std::fgetc(file_)) != EOF && isSpace(c))
        if (c == '\n') ++line_;
    for (; c != EOF && !isSpace(c); c = std::fgetc(file_)) {
        if (word.size() == maxLength_) return Result::TooLong;
        word.push_back(static_cast<char>(c));
    }
    // The blank that ends a word is read with it: its line end counts from the next word on.
    if (c == '\n') std::ungetc(c, file_);
    return word.empty() ? Result::End : Result::Word;
}

bool readWord(std::FILE* file, std::string& word, std::size_t maxLength) {
    return WordReader(file, maxLength).next(word) == WordReader::Result::Word;
}

bool hasMntExtension(const std::string& path) {
    return path.size() >= 4 && platform::sameNoCase(std::string_view(path).substr(path.size() - 4), ".MNT");
}

void reportNonConforming(const std::string& path, const std::string& place) {
    const std::string text = "Fichier:" + path + " Non Conforme" + (place.empty() ? "" : ", " + place);
    mprintf("\n%s", text.c_str());
    platform::messageBox(0, text.c_str(), text.c_str(), platform::MB_ICONERROR);
}

} // namespace geometry::projections
