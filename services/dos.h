#pragma once
// The static utility class DOS: files, paths, help, registry, processes, windows and the shell. Its settings
// members forward to the store (settings_store.h) under class names.

class DOS {
public:
    static long Gets_ini(const char* file, const char* section, const char* letters, const char* key,
                         char* buffer, long size);
    static long Geti_ini(const char* file, const char* section, const char* letters, const char* key,
                         int* out);
    static long Getr_ini(const char* file, const char* section, const char* letters, const char* key,
                         double* out);
    static long Sets_ini(const char* file, const char* section, const char* letters, const char* key,
                         const char* value);
    static long Seti_ini(const char* file, const char* section, const char* letters, const char* key,
                         const int* value);
    static long Setr_ini(const char* file, const char* section, const char* letters, const char* key,
                         const double* value);

    // A heap copy (malloc) of the setting of file "ZORTA" (at most 1,999 characters), or of `defaultText`
    // when the setting is absent or empty and the default is not; null when neither exists. The slot's
    // previous text is freed first and the new one stored in it.
    static char* Alloc_ini(char** slot, const char* section, const char* letters, const char* key,
                           const char* defaultText);
    // Frees the slot's text and clears the slot.
    static void Free_ini(char** slot);
};
