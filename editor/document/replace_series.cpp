#include "editor/document/replace_series.h"

#include "editor/document/replace_every.h"
#include "editor/link/bus_window.h"
#include "services/str/str.h"

#include <QTextCursor>

#include <vector>

namespace {

constexpr std::size_t kLineLimit = 20000;

} // namespace

std::optional<SeriesPair> seriesPairOf(std::string_view line, char separator) {
    line = line.substr(0, kLineLimit);
    const std::size_t first = line.find(separator);
    if (first == std::string_view::npos || first == 0) return std::nullopt;
    SeriesPair pair{std::string(line.substr(0, first)), {}};
    std::string_view rest = line.substr(first + 1);
    rest = rest.substr(0, rest.find_first_of("\r\n"));
    const std::size_t second = rest.find(separator);
    if (second != std::string_view::npos) {
        pair.replacement = rest.substr(0, second);
    } else {
        std::vector<char> buffer(rest.begin(), rest.end());
        buffer.push_back('\0');
        pair.replacement = STR::Espace(buffer.data());
    }
    return pair;
}

int replaceSeries(QTextDocument& document, std::string_view list, const SeriesOptions& options) {
    const QTextDocument::FindFlags flags =
        options.caseSensitive ? QTextDocument::FindCaseSensitively : QTextDocument::FindFlags();
    int replaced = 0;
    QTextCursor edit(&document);
    edit.beginEditBlock();
    while (!list.empty()) {
        const std::size_t end = list.find('\n');
        const std::optional<SeriesPair> pair = seriesPairOf(list.substr(0, end), options.separator);
        list.remove_prefix(end == std::string_view::npos ? list.size() : end + 1);
        if (!pair || (pair->replacement.empty() && !options.allowEmpty)) continue;
        const QString word = fromCodePage(pair->word);
        const QString replacement = fromCodePage(pair->replacement);
        // A word is replaced only when it stands in the text with the case it was given; its occurrences
        // are then those of the dialog's case choice.
        if (document.find(word, 0, QTextDocument::FindCaseSensitively).isNull()) continue;
        replaced += replaceEvery(document, word, replacement, flags);
    }
    edit.endEditBlock();
    return replaced;
}
