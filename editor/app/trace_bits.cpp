#include "editor/app/trace_bits.h"

#include "editor/app/edit_string_box.h"
#include "services/startup/debug_infos.h"
#include "services/startup/shared_records.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

std::optional<int> parseTraceBits(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return std::nullopt;
    std::string_view digits(text);
    digits = digits.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
    int base = 10;
    if (digits.find('x') != std::string_view::npos) {
        base = 16;
        if (digits.starts_with("0x"))
            digits.remove_prefix(2);
        else if (digits.starts_with("x"))
            digits.remove_prefix(1);
    }
    unsigned value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
    return static_cast<int>(value);
}

std::string traceBitsExplanation(int current) {
    char head[160];
    std::snprintf(head, sizeof head, "Valeure actuelle : %d = 0x%x\n", current,
                  static_cast<unsigned>(current));
    std::string text = head;
    text += "Saisir un nombre ou une valeure HEXA de la forme 0x100\n\n";
    for (const char* const* info = g_DebugInfos; **info; ++info)
        text += std::string(*info) + "\n";
    return text;
}

std::string traceBitsInitialText(int current) {
    char text[24];
    std::snprintf(text, sizeof text, current > 4095 ? "0x%x" : "%d", current);
    return text;
}

bool editTraceBits() {
    if (!pvg) return false;
    std::string text = traceBitsInitialText(pvg->pvDeb);
    const std::string help = traceBitsExplanation(pvg->pvDeb);
    if (EditStringBox(text, 0,
                      "Option de d\xE9"
                      "bugage d\xE9sir\xE9"
                      "es (0)=Rien,Autre = valide\nExemple de saisie : 256 ou 0x100",
                      0, help.c_str(), nullptr, nullptr) <= 0)
        return false;
    const std::optional<int> value = parseTraceBits(text);
    if (!value) return false;
    pvg->pvDeb = *value;
    if (pvg->pvDeb > 0 && g_pTpadG && g_pTpadG->Text(1)) g_pTpadG->TShow(1);
    return true;
}
