#include "services/dos/dos.h"
#include "services/settings/settings_store.h"
#include "services/settings/settings_store_internal.h"

#include <climits>
#include <cstdlib>
#include <cstring>

long DOS::Gets_ini(const char* file, const char* section, const char* letters, const char* key, char* buffer,
                   long size) {
    return gets_ini(file, section, letters, key, buffer, size > INT_MAX ? INT_MAX : static_cast<int>(size));
}

long DOS::Geti_ini(const char* file, const char* section, const char* letters, const char* key, int* out) {
    return geti_ini(file, section, letters, key, out);
}

long DOS::Getr_ini(const char* file, const char* section, const char* letters, const char* key, double* out) {
    return getr_ini(file, section, letters, key, out);
}

long DOS::Sets_ini(const char* file, const char* section, const char* letters, const char* key,
                   const char* value) {
    return sets_ini(file, section, letters, key, value);
}

long DOS::Seti_ini(const char* file, const char* section, const char* letters, const char* key,
                   const int* value) {
    return seti_ini(file, section, letters, key, value);
}

long DOS::Setr_ini(const char* file, const char* section, const char* letters, const char* key,
                   const double* value) {
    return setr_ini(file, section, letters, key, value);
}

char* DOS::Alloc_ini(char** slot, const char* section, const char* letters, const char* key,
                     const char* defaultText) {
    Free_ini(slot);
    char text[2000];
    const char* chosen = text;
    if (settings::readSetting("ZORTA", section, letters, key, text, sizeof text) <= 0) {
        if (!defaultText || !*defaultText) return nullptr;
        chosen = defaultText;
    }
    const size_t length = std::strlen(chosen);
    char* copy = static_cast<char*>(std::malloc(length + 2));
    if (!copy) return nullptr;
    std::memcpy(copy, chosen, length + 1);
    if (slot) *slot = copy;
    return copy;
}

void DOS::Free_ini(char** slot) {
    if (!slot || !*slot) return;
    std::free(*slot);
    *slot = nullptr;
}
