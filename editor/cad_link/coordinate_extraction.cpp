#include "editor/cad_link/coordinate_extraction.h"

#include "editor/link/bus_window.h"
#include "services/str/str.h"

#include <QPlainTextEdit>
#include <QTextBlock>

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>

namespace {

constexpr std::size_t kLineLimit = 1499;
constexpr std::string_view kNumberCharacters = "0123456789.+-";

bool isNumberCharacter(char c) {
    return c != '\0' && kNumberCharacters.find(c) != std::string_view::npos;
}

struct Marker {
    std::string_view text;
    bool threeDimensional;
};

constexpr std::array<Marker, 6> kMarkers{
    {{"X,Y,Z", true}, {"XYZ", true}, {"X,Y", false}, {"XY", false}, {"X=", false}, {"X =", false}}};

// A run of number characters; `value` empty when it holds no digit or reads as no number ("-", ".", "+-").
struct NumberRun {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::optional<double> value;
};

NumberRun runAt(std::string_view text, std::size_t begin) {
    NumberRun run{begin, begin, std::nullopt};
    while (run.end < text.size() && isNumberCharacter(text[run.end]))
        ++run.end;
    std::string_view digits = text.substr(begin, run.end - begin);
    if (digits.find_first_of("0123456789") == std::string_view::npos) return run;
    if (digits.starts_with('+')) digits.remove_prefix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error == std::errc() && end != digits.data()) run.value = value;
    return run;
}

// The first run from `from` that is a number; runs that are none are passed over like other characters.
std::optional<NumberRun> nextNumber(std::string_view text, std::size_t from) {
    for (std::size_t i = from; i < text.size();) {
        if (!isNumberCharacter(text[i])) {
            ++i;
            continue;
        }
        NumberRun run = runAt(text, i);
        if (run.value) return run;
        i = run.end;
    }
    return std::nullopt;
}

std::optional<double> numberAfter(std::string_view text, std::string_view label) {
    const std::size_t at = text.find(label);
    if (at == std::string_view::npos) return std::nullopt;
    const std::optional<NumberRun> run = nextNumber(text, at + label.size());
    return run ? run->value : std::nullopt;
}

void appendFixed(std::string& out, double value) {
    std::array<char, 64> buffer{};
    const auto [end, error] =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed, 2);
    if (error == std::errc()) out.append(buffer.data(), end);
}

// Where the number under the column begins: left from the column over number characters, then one right.
std::size_t numberStartUnder(std::string_view text, int column) {
    std::ptrdiff_t i = std::clamp<std::ptrdiff_t>(column, 0, static_cast<std::ptrdiff_t>(text.size()));
    while (i >= 0 && static_cast<std::size_t>(i) < text.size() && isNumberCharacter(text[i]))
        --i;
    return std::min(static_cast<std::size_t>(i + 1), text.size());
}

std::string upperLine(std::string_view lineText) {
    std::string text(lineText.substr(0, kLineLimit));
    STR::Majuscules(text.data());
    return text;
}

// The first marker in the order of kMarkers that the line holds, and where its text ends.
std::pair<const Marker*, std::size_t> findMarker(std::string_view upper) {
    for (const Marker& marker : kMarkers)
        if (const std::size_t at = upper.find(marker.text); at != std::string_view::npos)
            return {&marker, at + marker.text.size()};
    return {nullptr, 0};
}

} // namespace

std::string ExtractCoordinates(std::string_view lineText, int column) {
    const std::string text = upperLine(lineText);
    auto [marker, scanStart] = findMarker(text);
    if (!marker) scanStart = numberStartUnder(text, column);

    // Commas separate numbers from the scan start on; where they stood still matters for Z.
    std::string scanned = text;
    std::replace(scanned.begin() + static_cast<std::ptrdiff_t>(scanStart), scanned.end(), ',', ' ');

    const std::optional<NumberRun> x = nextNumber(scanned, scanStart);
    if (!x) return {};
    const std::optional<NumberRun> y = nextNumber(scanned, x->end);
    if (!y) return {};

    std::optional<double> z;
    if (marker && marker->threeDimensional) {
        const std::optional<NumberRun> next = nextNumber(scanned, y->end);
        z = next ? *next->value : 0.0;
    } else if (text.find("Z=") != std::string::npos) {
        z = numberAfter(scanned, "Z=");
    } else if (text.find("Z =") != std::string::npos) {
        z = numberAfter(scanned, "Z =");
    } else if (y->end < text.size() && text[y->end] == ',') {
        if (const std::optional<NumberRun> next = nextNumber(scanned, y->end)) z = next->value;
    }

    std::string out;
    appendFixed(out, *x->value);
    out += ',';
    appendFixed(out, *y->value);
    if (z) {
        out += ',';
        appendFixed(out, *z);
    }
    return out;
}

void ExtractCoordinates(const QPlainTextEdit& view, std::string& out, int& line, int& column) {
    // The caret is where the selection starts, as an edit control reports it.
    const int caret = view.textCursor().selectionStart();
    const QTextBlock caretBlock = view.document()->findBlock(caret);
    if (line < 0) line = caretBlock.blockNumber();
    const QTextBlock block = view.document()->findBlockByNumber(line);
    out.clear();
    if (!block.isValid()) return;
    const std::string text = toCodePage(block.text());
    if (column < 0 && !findMarker(upperLine(text)).first) column = caret - caretBlock.position();
    out = ExtractCoordinates(text, column);
}
