#pragma once
// The data files of the projections (definition file, translation and height grids): opened from the local
// folder's "INI\", read line by line or as a stream of numbers, and the "Non Conforme" report they share.
#include <cstdio>
#include <memory>
#include <string>

namespace geometry::projections {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using DataFile = std::unique_ptr<std::FILE, FileCloser>;

// The local folder's "INI\" followed by `name`, in the system's path grammar.
std::string localIniPath(const std::string& name);
// Opens a path of the system's grammar for reading; null when it cannot be opened.
DataFile openForReading(const std::string& systemPath);

// The next line without its line end; false at the end of the file.
bool readLine(std::FILE* file, std::string& line);
// The next whitespace-separated word; false at the end of the file or when it is longer than `maxLength`.
bool readWord(std::FILE* file, std::string& word, std::size_t maxLength);

// Whether `path` ends with the extension ".MNT", case ignored.
bool hasMntExtension(const std::string& path);

// "Fichier:%s Non Conforme": printed on its own line and shown in an error box.
void reportNonConforming(const std::string& path);

} // namespace geometry::projections
