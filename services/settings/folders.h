#pragma once
// Folder names in the system's path grammar ("C:\dir\file": backslashes, drive letters), the folder tokens
// that settings values carry, and the search for the install and local folders.
#include <cstddef>
#include <string>

// Normalises a folder name in place: "/" become "\" (the first three characters, a drive such as "C:\", are
// never touched), a last component with a "." is taken as a file name and cut off, and a final "\" is added
// (`withSlash` non-zero) or removed. Answers the new length; 0 for a null or empty text. The caller
// guarantees room for one more character.
int directory(char* path, int withSlash);
// The same in a buffer of `size` bytes: -1, with the text unchanged, when the final "\" does not fit.
int directory(char* path, int withSlash, std::size_t size);

// Expands the folder tokens "..L\" (install folder), "..N\" and "..R\" (local folder) and "...\" (the local
// folder when `mode` is the store letter "R" or "r", else the install folder), from the end of the text to
// its start, in a buffer of `size` bytes. Answers the number of tokens expanded; -1, with the text unchanged,
// when an expansion does not fit. Other tokens "..X\" stay as they are.
int ReplaceStdDir(char* text, int mode, int size);

// Finds the install folder, then the local folder, and writes them into the general record; 2 when the
// install folder holds a "DLL" folder, 0 otherwise.
int get_env();

// The install and local folders of the general record, each ending with a backslash; "" while the general
// segment is not mapped.
std::string installFolder();
std::string localFolder();
