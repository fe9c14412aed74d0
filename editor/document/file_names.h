#pragma once
// A file's name is the file system's bytes (UTF-8 under a UTF-8 locale), whatever the text of the system
// is: it is turned into characters only to be shown, and back only where a person chose it on the screen,
// so that "fichier à accents ç.txt" opens, lists and saves under its own name.
#include <QString>

#include <string>

// The path as characters, for titles, menus and dialogs.
QString shownPath(const std::string& path);
// The characters of a path chosen on the screen (a dialog, a drop) as the file system's bytes.
std::string fileSystemPath(const QString& shown);
// The last component of the path, as characters.
QString shownFileName(const std::string& path);
// The path in the code page of the system's messages ('?' for a character it lacks).
std::string messagePath(const std::string& path);
