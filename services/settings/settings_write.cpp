// Writing the store: the value goes to every place the letters name.
#include "services/settings/settings_places.h"
#include "services/settings/settings_store.h"
#include "services/str/str.h"

#include <string>

int sets_ini(const char* file, const char* section, const char* letters, const char* key, const char* value) {
    if (!file || !*file) return -2;
    if (letters && !*letters) return -3;
    if (!section || !*section || !key || !*key) return -6;
    std::string order(letters ? letters : "LR");
    STR::Majuscules_ASCII(order.data());
    const bool machine = order.find('M') != std::string::npos;

    // Every place is written even after a failure; callers read the outcome of the last place written, in
    // that place's own terms: a file answers its write's flag (1 written, 0 not), the registry 0 written
    // and -1 not. Letters that name no place leave 0.
    int outcome = 0;
    for (const char letter : order) {
        const auto place = settings::placeOf(letter, file, section, machine);
        if (!place) continue;
        const bool written = settings::writePlace(*place, key, value);
        if (place->isRegistry())
            outcome = written ? 0 : -1;
        else
            outcome = written ? 1 : 0;
    }
    return outcome;
}
