#include "plugin/app/tef_colors.h"

#include <cwctype>

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
