#pragma once
// The layered settings store: a setting is named by a settings file, a section and a key, and looked for in
// the places that a string of store letters names, in order:
//   L  the install folder's "INI\<file>" (".ini" added to a name without a dot)
//   R  the local folder's "INI\<file>" (".def" added to a name without a dot)
//   S  the local "INI\DefLocal.DEF", in the section "<file>_<section>"
//   B  the registry key "<g_RegZORTA>\INI\<file>\<section>" of the current user (of the machine with M)
//   +  merge: every place is read and the answers are joined as one ";" list without duplicates
// Other letters are skipped; no letters means "LR"; case does not matter. A null or empty section asks for
// the list of sections, a null or empty key for the list of the section's keys, each item followed by ";"
// (keys starting with "'" are comments and left out). Text is code page 1252.
//
// Results: the length of the text found (0: present but empty); -1 nothing found; -2 no file name; -3 empty
// letter string; -5 no buffer; -6 (writers) no section or key.
//
// Counted-string mode (Mode[2] == 1, set by i_mode) applies to callers from outside the library: their
// buffer's size is then the 32-bit count stored just before it. The library's own callers use the
// functions of settings_store_internal.h, which never read it.

// The registry root of the store, "Software\ZORTA_32" at load.
extern char g_RegZORTA[24];

int gets_ini(const char* file, const char* section, const char* letters, const char* key, char* buffer,
             int size);
// The text read as a decimal integer or a real number (its leading numeric part): *out is 0 when nothing
// was found; -1 when `out` is null.
int geti_ini(const char* file, const char* section, const char* letters, const char* key, int* out);
int getr_ini(const char* file, const char* section, const char* letters, const char* key, double* out);

// Writes to every place the letters name, in order, and answers the outcome of the last one: a file 1 when
// written and 0 when not, the registry 0 when written and -1 when not (0 when no letter names a place).
// A null value removes the key from the files; the registry needs a value.
int sets_ini(const char* file, const char* section, const char* letters, const char* key, const char* value);
// The value as decimal text, or as a real with 16 significant digits; -1 without a value.
int seti_ini(const char* file, const char* section, const char* letters, const char* key, const int* value);
int setr_ini(const char* file, const char* section, const char* letters, const char* key,
             const double* value);
