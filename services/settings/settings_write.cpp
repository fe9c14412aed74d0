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

    // Every place is written even after a failure, and the failure is reported.
    int written = 0, failed = 0;
    for (const char letter : order) {
        const auto place = settings::placeOf(letter, file, section, machine);
        if (!place) continue;
        if (settings::writePlace(*place, key, value))
            ++written;
        else
            ++failed;
    }
    return written > 0 && failed == 0 ? 1 : 0;
}
