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
// The whitespace-separated words of a file, each with the line it stands on.
class WordReader {
public:
    enum class Result { Word, End, TooLong };
    // `line` is the number of the line the reading starts on.
    WordReader(std::FILE* file, std::size_t maxLength, int line = 1)
        : file_(file), maxLength_(maxLength), line_(line) {}
    // The next word; End at the end of the file, TooLong for a word longer than the limit.
    Result next(std::string& word);
    // The line of the last word read, or of the end of the file.
    int line() const { return line_; }

private:
    std::FILE* file_;
    std::size_t maxLength_;
    int line_;
};

// The next whitespace-separated word; false at the end of the file or when it is longer than `maxLength`.
bool readWord(std::FILE* file, std::string& word, std::size_t maxLength);

// Whether `path` ends with the extension ".MNT", case ignored.
bool hasMntExtension(const std::string& path);

// "Fichier:%s Non Conforme", followed by ", " and `place` when given (where in the file and what is
// wrong there): printed on its own line and shown in an error box.
void reportNonConforming(const std::string& path, const std::string& place = "");

} // namespace geometry::projections
