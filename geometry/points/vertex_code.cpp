// Texts and display bits of the vertex code: kind (low byte) and qualifier (high byte).
#include "geometry/points/vertex.h"

#include <array>
#include <cstdio>

namespace {

// Windows-1252 texts: \xE9 is e acute.
constexpr std::array<const char*, 9> kKindWords = {"Normal",  "Ecriture",   "TalusInt",
                                                   "Raboute", "Oriente",    "D\xE9sabille",
                                                   "Fictif",  "Cour_inter", "Bas_tal"};
constexpr std::array<const char*, 8> kQualifierSuffixes = {"",
                                                           "/Masqu\xE9",
                                                           "/Masqu\xE9"
                                                           "Fort",
                                                           "/AutreMasq.",
                                                           "/Fictif",
                                                           "/Impr\xE9"
                                                           "cisVisi",
                                                           "/Impr\xE9"
                                                           "cisMasqu\xE9",
                                                           "/Zinvalid"};

// Bits added by each qualifier 0 to 7.
constexpr std::array<int, 8> kQualifierBits = {0x00, 0x01, 0x03, 0x07, 0x23, 0x08, 0x09, 0x10};

} // namespace

const char* P_Vertex::tefascii(short code) const {
    static char text[30];
    if (code == -1) code = tefs();
    const int kind = code & 0xFF;
    const int qualifier = code / 256;
    const char* word = kind < static_cast<int>(kKindWords.size()) ? kKindWords[kind] : "Inconnu";
    const char* suffix = qualifier >= 0 && qualifier < static_cast<int>(kQualifierSuffixes.size())
                             ? kQualifierSuffixes[qualifier]
                             : "/Inconnu";
    std::snprintf(text, sizeof text, "%s%s", word, suffix);
    return text;
}

int P_Vertex::tefsbits() const {
    int bits;
    switch (static_cast<unsigned char>(tef1)) {
    case 0:
    case 7:
        bits = 0;
        break;
    case 1:
        bits = 0x40;
        break;
    case 2:
    case 8:
        return 0x33;
    case 6:
        return 0x23;
    default:
        bits = 0x10;
        break;
    }
    if (tef2 >= 0 && tef2 < static_cast<int>(kQualifierBits.size())) bits |= kQualifierBits[tef2];
    return bits;
}
