#pragma once
// Reading the texts of the cartographic styles: which style an entity carries, the "key=value" fields of a
// style, their numbers, and the layer names they give.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/rx/adesk.h"

class AcDbObject;

enum class StyleKind { None, Hatch, Symbols };

struct EntityStyle {
    StyleKind kind = StyleKind::None;
    std::string spec; // the text after "*H=" or "*I="
};

// The first text (group 1000) of the entity's "ZORTA" extended data that begins with "*H=" or "*I=" (in any
// case); no other text counts.
EntityStyle entityStyle(const AcDbObject& entity);

struct StyleField {
    char key;
    std::string_view value;
    std::string_view item; // the whole "k=value"
};

// One comma-separated item list: the leading item, the "k=value" fields in their order, and the items that
// are neither (no "=" in second place, or no value), which are skipped.
struct StyleFields {
    std::string_view lead;
    std::vector<StyleField> fields;
    std::vector<std::string_view> skipped;
};
StyleFields splitStyleFields(std::string_view text);

// A whole value read as a finite real or an integer; none otherwise.
std::optional<double> styleReal(std::string_view value);
std::optional<int> styleInt(std::string_view value);

// ASCII letters upper-cased, other bytes as they stand.
std::string upperCased(std::string_view text);

// The layer a style names: "_z_NAME" (any case) becomes the entity's layer up to and including its first "$"
// (when that is not its first character), then NAME; without such a "$", NAME alone. Other names stand.
std::string styleLayerName(std::string_view value, const ACHAR* entityLayer);

// "\nStyle <spec> : champ ignoré <item>" through msgprintf (Windows code page).
void reportSkippedField(std::string_view spec, std::string_view item);
