#include "cadutil/database/tef_color_tables.h"

#include <charconv>
#include <memory>

namespace {

constexpr std::size_t kListedEntries = 255; // entries 1 to 255: code 0 keeps the polyline's colour
constexpr int kHighestColor = 256;

std::unique_ptr<TefColorTable>& table(int row) {
    static std::unique_ptr<TefColorTable> tables[2];
    return tables[row];
}

bool validRow(int row) {
    return row == 0 || row == 1;
}

// A list item as "atoi" reads it: blanks, then an optional sign and digits; 0 when there are none.
int listNumber(std::string_view item) {
    std::size_t start = item.find_first_not_of(" \t");
    if (start == std::string_view::npos) return 0;
    item.remove_prefix(start);
    if (item.front() == '+') item.remove_prefix(1);
    int value = 0;
    std::from_chars(item.data(), item.data() + item.size(), value);
    return value;
}

// The table filled from a list, or null when a number is out of range.
std::unique_ptr<TefColorTable> parsedList(std::string_view text) {
    auto parsed = std::make_unique<TefColorTable>();
    parsed->fill(0);
    std::size_t entry = 1;
    while (!text.empty() && entry <= kListedEntries) {
        std::size_t comma = text.find(',');
        std::string_view item = text.substr(0, comma);
        text.remove_prefix(comma == std::string_view::npos ? text.size() : comma + 1);
        const int value = listNumber(item);
        if (value < 0 || value > kHighestColor) return nullptr;
        (*parsed)[entry++] = static_cast<std::uint16_t>(value);
    }
    return parsed;
}

} // namespace

const TefColorTable* tefColorTable(int row) {
    return validRow(row) ? table(row).get() : nullptr;
}

void setTefColorList(int row, const char* text) {
    if (!validRow(row)) return;
    table(row).reset();
    if (text && *text) table(row) = parsedList(text);
}

std::string tefColorText(int row) {
    const TefColorTable* colors = tefColorTable(row);
    if (!colors) return {};
    std::size_t last = kListedEntries;
    while (last > 0 && (*colors)[last] == 0)
        --last;
    std::string text;
    for (std::size_t i = 1; i <= last; ++i)
        text += std::to_string((*colors)[i]) + ",";
    return text;
}

void resetTefColors() {
    table(0).reset();
    table(1).reset();
}
