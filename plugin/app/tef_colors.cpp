#include "plugin/app/tef_colors.h"

#include <charconv>
#include <cwctype>
#include <memory>

#include "cadutil/command_line/print.h"
#include "cadutil/database/doc_lock.h"
#include "cadutil/database/spaces.h"
#include "cadutil/resbuf/cresbuf.h"
#include "cadutil/resbuf/text_convert.h"
#include "host/db/database.h"
#include "host/db/dictionary.h"

namespace {

constexpr const ACHAR* kZortaDictionary = L"ZORTA_32";
constexpr const char* kTefColorKey = "ZORTATefColor";
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

std::wstring upperCase(std::wstring text) {
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(std::towupper(c));
    return text;
}

// The "ZORTA_32" dictionary of the named-objects dictionary, open in the record's mode; with mode 1 a missing
// entry (or one that is not a dictionary) is replaced by a new dictionary.
AcDbDictionary* zortaDictionary(AcDbDatabase* db, int mode) {
    const AcDb::OpenMode openMode = mode == 0 ? AcDb::kForRead : AcDb::kForWrite;
    AcDbDictionary* named = nullptr;
    if (db->getNamedObjectsDictionary(named, openMode) != Acad::eOk) return nullptr;
    AcDbDictionary* zorta = nullptr;
    AcDbObject* entry = nullptr;
    if (named->getAt(kZortaDictionary, entry, openMode) == Acad::eOk) {
        zorta = AcDbDictionary::cast(entry);
        if (!zorta) entry->close();
    }
    if (!zorta && mode == 1) {
        zorta = new AcDbDictionary;
        AcDbObjectId id;
        if (named->setAt(kZortaDictionary, zorta, id) != Acad::eOk) {
            delete zorta;
            zorta = nullptr;
        }
    }
    named->close();
    return zorta;
}

void eraseRecord(AcDbDictionary* zorta, const std::wstring& key) {
    AcDbObjectId id;
    if (zorta->remove(key.c_str(), id) != Acad::eOk) return;
    AcDbObject* record = nullptr;
    if (acdbOpenAcDbObject(record, id, AcDb::kForWrite) != Acad::eOk) return;
    record->erase();
    record->close();
}

AcDbXrecord* openRecord(AcDbDictionary* zorta, const std::wstring& key, int mode) {
    AcDbXrecord* record = nullptr;
    AcDbObject* entry = nullptr;
    if (zorta->getAt(key.c_str(), entry, mode == 0 ? AcDb::kForRead : AcDb::kForWrite) == Acad::eOk) {
        record = AcDbXrecord::cast(entry);
        if (!record) entry->close();
    }
    if (!record && mode == 1) {
        record = new AcDbXrecord;
        AcDbObjectId id;
        if (zorta->setAt(key.c_str(), record, id) != Acad::eOk) {
            delete record;
            record = nullptr;
        }
    }
    return record;
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

AcDbXrecord* getTefDictionary(const char* key, int mode, AcDbDatabase* db) {
    if (!key || !*key) return nullptr;
    if (!db) db = workingDatabase();
    if (!db) return nullptr;
    AcDbDictionary* zorta = zortaDictionary(db, mode);
    if (!zorta) return nullptr;
    const std::wstring name = upperCase(codePageToWide(key));
    AcDbXrecord* record = nullptr;
    if (mode == -1)
        eraseRecord(zorta, name);
    else
        record = openRecord(zorta, name, mode);
    zorta->close();
    return record;
}

int readTefColors(std::vector<std::string>& texts, AcDbDatabase* db) {
    texts.clear();
    AcDbXrecord* record = getTefDictionary(kTefColorKey, 0, db);
    if (!record) return 0;
    resbuf* chain = nullptr;
    if (record->rbChain(chain) == Acad::eOk) {
        for (const resbuf* rb = chain; rb; rb = rb->rbnext) {
            if (rb->restype != 1 || !rb->resval.rstring) continue;
            std::string text(std::wcslen(rb->resval.rstring), '\0');
            wideToStr(text.data(), rb->resval.rstring);
            texts.push_back(std::move(text));
        }
        acutRelRb(chain);
    }
    record->close();
    return static_cast<int>(texts.size());
}

int writeTefColors(const std::vector<std::string>& texts, AcDbDatabase* db) {
    try {
        CDocLock lock;
        if (texts.empty()) {
            getTefDictionary(kTefColorKey, -1, db);
            return 1;
        }
        AcDbXrecord* record = getTefDictionary(kTefColorKey, 1, db);
        if (!record) return 0;
        Cresbuf data;
        for (const std::string& text : texts)
            data.AddText(1, text.c_str());
        const bool written = data.head() && record->setFromRbChain(*data.head()) == Acad::eOk;
        record->close();
        return written ? 1 : 0;
    } catch (...) {
        msgprintf("probleme Dicwvar' ");
        return 0;
    }
}
