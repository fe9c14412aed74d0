#pragma once
// The encoding a file is read in, and written back in: UTF-16 when it starts with a byte order mark, UTF-8
// when it starts with one or is valid UTF-8 holding non-ASCII bytes, Windows-1252 for the rest (every byte
// is a character there, so any file comes back byte for byte). A file keeps its byte order mark.
#include <QString>

#include <string>
#include <string_view>

enum class TextEncoding { Windows1252, Utf8, Utf8Bom, Utf16Le, Utf16Be };

// The encoding of a file's bytes.
TextEncoding detectEncoding(std::string_view bytes);
// The byte order mark that starts a file of `encoding` (empty for Windows-1252 and UTF-8 without one).
std::string_view byteOrderMark(TextEncoding encoding);
// The text of a file's bytes after its byte order mark.
QString decodeText(std::string_view bytes, TextEncoding encoding);
// The bytes of `text`, without a byte order mark. Only for text that `holdsText` accepts: a character the
// encoding cannot hold would be lost.
std::string encodeText(const QString& text, TextEncoding encoding);
// The index in `text` of the first character the encoding cannot hold, or -1 when it holds them all.
qsizetype firstUnheldCharacter(const QString& text, TextEncoding encoding);
inline bool holdsText(const QString& text, TextEncoding encoding) {
    return firstUnheldCharacter(text, encoding) < 0;
}
// The name users know the encoding by ("UTF-8", "Windows-1252").
const char* encodingName(TextEncoding encoding);
