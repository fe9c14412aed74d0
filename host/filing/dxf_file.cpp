#include "host/filing/dxf_file.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>

#include "host/db/database.h"
#include "host/db/dictionary.h"
#include "host/db/kept_tables.h"
#include "host/db/symbol_tables.h"
#include "host/editor/acut.h"
#include "host/entities/entity.h"
#include "host/filing/arrow_blocks.h"
#include "host/filing/binary_dxf.h"
#include "host/filing/block_cycles.h"
#include "host/filing/dxf_filer.h"
#include "host/filing/dxf_text.h"
#include "host/filing/dxf_text_filer.h"
#include "host/filing/file_bytes.h"
#include "host/filing/layer_linetypes.h"
#include "host/filing/legacy_groups.h"
#include "host/filing/proxies.h"
#include "host/filing/sequence_classes.h"
#include "host/filing/text_codec.h"
#include "host/graphics/proxy_graphics_writer.h"
#include "host/rx/host_classes.h"

namespace host {
namespace {

// ---- Reading ----

// Names of group 0 that open or close sections, tables and blocks: among entities they tell a damaged
// structure (an ENDBLK mistyped), never an entity of a class not loaded.
bool isStructureMarker(const std::wstring& name) {
    for (const wchar_t* marker : {L"SECTION", L"TABLE", L"ENDTAB", L"BLOCK", L"EOF"})
        if (name == marker) return true;
    return false;
}

struct EntityRead {
    AcDbObjectId id;
    bool paper;
};

// A block as its BLOCK and ENDBLK markers give it, with the entities between them.
struct BlockRead {
    std::wstring name;
    AcGePoint3d origin;
    AcDbHandle beginHandle, endHandle;
    Adesk::Int16 flags = 0;
    std::wstring pathName, comments;
    int start = 0;
    std::vector<EntityRead> entities;
};

// Walks the groups of a file as they stand in its text, once: each object reads its groups straight from
// the text, and the few facts needed before an object is made are read a group or two ahead.
class Reader : private DxfReferenceRule {
public:
    Reader(AcDbDatabase& db, std::string_view text) : m_db(db), m_text(text), m_in(text) {
        m_in.judgeReferences(this);
    }

    void read() {
        for (;;) {
            m_judging = Judging::Nothing;
            if (atEnd()) fail("file ends without EOF");
            std::wstring marker = expectZero();
            if (marker == L"EOF") break;
            if (marker != L"SECTION") fail("expected SECTION, found " + toUtf8(marker));
            const Group name = next();
            if (name.code != 2) fail("section without its name");
            std::wstring section = name.text();
            if (section == L"HEADER")
                readHeader();
            else if (section == L"CLASSES")
                readClasses();
            else if (section == L"THUMBNAILIMAGE" || section == L"ACDSDATA")
                skipSection();
            else if (section == L"TABLES")
                readTables();
            else if (section == L"BLOCKS") {
                m_judging = Judging::Objects;
                readBlocks();
            } else if (section == L"ENTITIES") {
                m_judging = Judging::Objects;
                auto entities = readEntities();
                m_entities.insert(m_entities.end(), entities.begin(), entities.end());
                next();
            } else if (section == L"OBJECTS") {
                readObjects();
            } else
                fail("unknown section " + toUtf8(section), m_in.lastLine());
        }
        finish();
    }

private:
    // Whose references the reader judges as it parses them: those of the objects it makes, not those of
    // header variables, classes or what it passes over.
    // A dimension style names its handle with 105: its group 5 is, in older files, the name of its arrow
    // block.
    enum class Judging { Nothing, Objects, RootDictionary, DimensionStyle };

    // A reference inside an object must be a handle the database can follow. The root dictionary has no
    // owner: other programs write its owner as 0, as "None", or not at all.
    void check(const Group& g, int line) override {
        if (m_judging == Judging::Nothing || (m_judging == Judging::DimensionStyle && g.code == 5)) return;
        if (m_judging == Judging::RootDictionary && g.code == 330 &&
            !std::holds_alternative<AcDbHandle>(g.value))
            return;
        requireHandle(g, line);
        if (g.handle().value() >= AcDbDatabase::kHandleLimit)
            fail("handle " + toUtf8(g.handle().text()) + " cannot be followed", line);
    }

    // Calls `look` with the code and lines of each group of the object that comes next, until it answers
    // true. Nothing is taken, and only what `look` needs is parsed: an object that names no handle is looked
    // over whole.
    template <typename F> void lookOverObject(F look) const {
        DxfLines lines = m_in.ahead();
        RawGroup raw;
        while (lines.next(raw) == DxfLines::Step::Group) {
            const std::optional<int> code = rawCode(raw);
            if (!code || *code == 0 || look(*code, raw)) return;
        }
    }

    // The handle the object that comes next names (its first 5 or 105; null when it names none), under which
    // it is adopted before it reads its groups. Writers put it first, so the look is a group or two.
    AcDbHandle objectHandle() {
        AcDbHandle handle;
        lookOverObject([&](int code, const RawGroup& raw) {
            if (code != 105 && (code != 5 || m_judging == Judging::DimensionStyle)) return false;
            const Group g = m_in.typed(code, raw.value, raw.line);
            check(g, raw.line);
            handle = g.handle();
            return true;
        });
        return handle;
    }

    // Whether the object that comes next is written without subclass markers, as R12 and older write.
    bool withoutSubclassMarkers() const {
        bool marked = false;
        lookOverObject([&](int code, const RawGroup&) { return marked = code == AcDb::kDxfSubclass; });
        return !marked;
    }

    // Whether the INSERT that comes next is a grid of the block: its subclass says so, or, in files without
    // subclasses, its counts of columns and rows.
    bool isMultipleInsert() const {
        bool multiple = false;
        lookOverObject([&](int code, const RawGroup& raw) {
            if (code == 70 || code == 71 || code == 100) {
                const Group g = m_in.typed(code, raw.value, raw.line);
                multiple |= code == 100 ? g.text() == L"AcDbMInsertBlock" : g.integer() > 1;
            }
            return multiple;
        });
        return multiple;
    }

    // The flags (70) and the class's own subclass marker of the object that comes next, looked over.
    std::pair<long long, std::wstring> flagsAndMarker() const {
        std::pair<long long, std::wstring> found;
        lookOverObject([&](int code, const RawGroup& raw) {
            if (code == 70) found.first = m_in.typed(code, raw.value, raw.line).integer();
            if (code == 100)
                if (std::wstring marker = m_in.typed(code, raw.value, raw.line).text();
                    marker != L"AcDbEntity" && marker != L"AcDbVertex")
                    found.second = std::move(marker);
            return false;
        });
        return found;
    }

    // The class of the POLYLINE that comes next, chosen before it is made.
    AcRxClass* polylineClass() const {
        const auto [flags, marker] = flagsAndMarker();
        return host::polylineClass(flags, marker);
    }

    AcRxClass* vertexClass(const AcDbEntity* owner) const {
        const auto [flags, marker] = flagsAndMarker();
        return host::vertexClass(owner, flags, marker);
    }

    // The handle of an object the file names none for: above every handle the file names, so that none
    // takes the handle of an object further on. Only files with such objects are looked over for their
    // highest handle, once, when the first comes.
    AcDbHandle unnamedHandle() {
        if (!m_unnamedHandle) m_unnamedHandle = highestHandle(m_text) + 1;
        return AcDbHandle((*m_unnamedHandle)++);
    }

    // The highest handle below the limit a reference of `text` names, parsing only codes and handles. A
    // fault stops the look; the reading reports it where it meets it.
    static Adesk::UInt64 highestHandle(std::string_view text) {
        Adesk::UInt64 highest = 0;
        DxfLines lines(text);
        RawGroup raw;
        while (lines.next(raw) == DxfLines::Step::Group) {
            const std::optional<int> code = rawCode(raw);
            if (!code) break;
            if (!std::holds_alternative<AcDbHandle>(emptyValueFor(*code))) continue;
            if (const std::optional<Adesk::UInt64> h = rawHandle(raw);
                h && *h < AcDbDatabase::kHandleLimit - 1)
                highest = std::max(highest, *h);
        }
        return highest;
    }

    bool atEnd() { return m_in.atEnd(); }
    const Group& peek() { return *m_in.upcoming(); }
    Group next() {
        if (atEnd()) fail("file ends inside a section");
        return m_in.take();
    }
    bool atZero(const wchar_t* name) { return !atEnd() && peek().code == 0 && peek().text() == name; }
    std::wstring expectZero() {
        const Group g = next();
        if (g.code != 0) fail("expected group 0, found group " + std::to_string(g.code), m_in.lastLine());
        return g.text();
    }
    // Names `line`, by default the next group's.
    [[noreturn]] void fail(const std::string& what, int line = 0) {
        if (!line) {
            try {
                line = m_in.nextLine();
            } catch (const DxfError&) { // a next group that does not parse: its place
                line = m_in.ahead().line();
            }
        }
        throw DxfError("line " + std::to_string(line) + ": " + what);
    }

    // The groups of the object that starts here, up to the next group 0. The root dictionary has no owner:
    // other programs write its owner as 0, as "None", or not at all.
    std::vector<Group> objectGroups(bool root = false) {
        std::vector<Group> groups;
        while (!atEnd() && peek().code != 0) {
            Group g = next();
            if (!(root && g.code == 330 &&
                  (!std::holds_alternative<AcDbHandle>(g.value) || g.handle().isNull())))
                groups.push_back(std::move(g));
        }
        return groups;
    }

    // Passes over the rest of the current object; its groups are still parsed, so their faults are found.
    void skipObject() {
        while (!atEnd() && peek().code != 0)
            next();
    }

    void skipSection() {
        while (!atZero(L"ENDSEC"))
            next();
        next();
    }

    // The class entries by DXF name, which proxies of classes not loaded keep.
    void readClasses() {
        while (!atZero(L"ENDSEC")) {
            const int start = m_in.nextLine();
            // A section without its ENDSEC would take every table that follows for class entries.
            if (const std::wstring name = expectZero(); isStructureMarker(name) || name == L"ENDBLK")
                fail(toUtf8(name) + " among classes", start);
            ProxyContent entry;
            for (const Group& g : objectGroups()) {
                if (g.code == 1) entry.dxfName = g.text();
                if (g.code == 2) entry.className = g.text();
                if (g.code == 3) entry.appName = g.text();
                if (g.code == 90) entry.proxyFlags = static_cast<int>(g.integer());
            }
            m_classes[entry.dxfName] = entry;
            m_classOrder.push_back(entry);
        }
        next();
    }

    void readHeader() {
        while (!atZero(L"ENDSEC")) {
            const Group name = next();
            if (name.code != 9) fail("header variable without its name (group 9)", m_in.lastLine());
            std::wstring variable = name.text();
            if (variable.empty() || variable[0] != L'$')
                fail("header variable name without $", m_in.lastLine());
            if (variable.size() == 1) fail("header variable without a name after $", m_in.lastLine());
            if (atEnd() || peek().code == 0 || peek().code == 9)
                fail("header variable " + toUtf8(variable) + " without a value");
            const Group value = next();
            requireHandle(value, m_in.lastLine());
            while (!atEnd() && peek().code != 0 && peek().code != 9) {
                const Group more = next(); // variables of several groups keep their first
                requireHandle(more, m_in.lastLine());
            }
            if (variable == L"$HANDSEED")
                m_seed = value.handle();
            else // $ACADVER too: the drawing is saved in the version it was read in
                m_db.setHeaderVariable(variable.substr(1), value);
        }
        next();
    }

    // A group of a reference code holds a handle (the text parser keeps what is not one as text).
    void requireHandle(const Group& g, int line) {
        if (std::holds_alternative<AcDbHandle>(emptyValueFor(g.code)) &&
            !std::holds_alternative<AcDbHandle>(g.value))
            fail("'" + toUtf8(g.text()) + "' is not a valid handle", line);
    }

    enum class Unknown { Skipped, ProxyEntity, ProxyObject };

    // Creates the object named by the group 0 just read (on `start`) from its groups, under the handle it
    // `named` (null for none). An unknown class is kept as a proxy with its groups, or skipped and noted. The
    // object reads its groups straight from the text; proxies and the root dictionary, which need them as a
    // list, take one.
    AcDbObject* create(const std::wstring& dxfName, int start, AcDbHandle named, AcRxClass* forced = nullptr,
                       Unknown unknown = Unknown::Skipped, bool root = false) {
        AcRxClass* c = forced ? forced : findClassByDxfName(dxfName);
        const bool asProxy = !c && unknown != Unknown::Skipped && !dxfName.empty();
        const bool legacy = c && !root && withoutSubclassMarkers() && hasLegacyLayout(c->name());
        std::vector<Group> groups;
        if (asProxy || root) groups = objectGroups(root);
        if (legacy) groups = withSubclassMarkers(c->name(), objectGroups());
        AcDbObject* object = nullptr;
        if (c) {
            AcRxObject* made = c->create();
            object = AcDbObject::cast(made);
            if (!object) delete made;
        } else if (asProxy) {
            object = proxy(dxfName, groups, unknown == Unknown::ProxyEntity);
        } else {
            ++m_leftOut[dxfName];
        }
        if (!object) {
            skipObject();
            return nullptr;
        }
        const AcDbHandle handle = named.isNull() ? unnamedHandle() : named;
        if (m_db.adoptObject(object, handle).isNull()) {
            delete object;
            fail("handle " + toUtf8(handle.text()) + " used twice", start);
        }
        Acad::ErrorStatus es;
        if (asProxy || root || legacy) {
            DxfGroupFiler filer(AcDb::kFileFiler, &m_db, std::move(groups));
            es = object->dxfIn(&filer);
        } else {
            DxfTextFiler filer(&m_db, m_in);
            es = object->dxfIn(&filer);
            skipObject(); // what the object left, and a group that did not parse, refused with its line
        }
        if (es != Acad::eOk) fail(toUtf8(dxfName) + " cannot be read (" + statusName(es) + ")", start);
        if (ProxyContent* content = proxyContent(object); content && !content->fromDxf)
            nameProxyClass(*content, dxfName, start);
        return object;
    }

    // A proxy form names its class by its number in CLASSES; the class entry gives its names.
    void nameProxyClass(ProxyContent& content, const std::wstring& dxfName, int start) {
        const std::size_t index = static_cast<std::size_t>(content.classNumber - kFirstClassNumber);
        if (content.classNumber < kFirstClassNumber || index >= m_classOrder.size())
            fail(toUtf8(dxfName) + " names class number " + std::to_string(content.classNumber) +
                     ", which CLASSES does not hold",
                 start);
        const ProxyContent& entry = m_classOrder[index];
        content.className = entry.className;
        content.dxfName = entry.dxfName;
        content.appName = entry.appName;
        content.proxyFlags = entry.proxyFlags;
        content.classNumber = 0;
    }

    // A proxy keeping the groups up to the extended data, which it reads as its own.
    AcDbObject* proxy(const std::wstring& dxfName, const std::vector<Group>& groups, bool entity) {
        auto known = m_classes.find(dxfName);
        ProxyContent content = known != m_classes.end() ? known->second : ProxyContent{};
        content.dxfName = dxfName;
        content.fromDxf = true;
        auto xdata = std::find_if(groups.begin(), groups.end(),
                                  [](const Group& g) { return g.code == AcDb::kDxfRegAppName; });
        content.groups.assign(groups.begin(), xdata);
        return makeProxy(entity, std::move(content));
    }

    void readTables() {
        while (!atZero(L"ENDSEC")) {
            const int start = m_in.nextLine();
            if (expectZero() != L"TABLE") fail("expected TABLE", start);
            if (atEnd() || peek().code != 2) fail("table without its name");
            std::wstring name = peek().text();
            // A second table of one name would leave the records of the first owned by none.
            if (m_tables.contains(name)) fail("table " + toUtf8(name) + " a second time", start);
            AcRxClass* tableClass = tableClassNamed(name);
            AcDbSymbolTable* table = nullptr;
            m_judging = tableClass ? Judging::Objects : Judging::Nothing;
            if (tableClass)
                table = AcDbSymbolTable::cast(create(L"", start, objectHandle(), tableClass));
            else
                skipObject();
            while (!atZero(L"ENDTAB")) {
                const int recordStart = m_in.nextLine();
                std::wstring recordName = expectZero();
                if (table && AcDbDimStyleTable::cast(table)) m_judging = Judging::DimensionStyle;
                AcDbObject* record =
                    table ? create(recordName, recordStart, objectHandle(), table->recordClass()) : nullptr;
                if (!table) { // a table no drawing file of the reference has
                    skipObject();
                    ++m_leftOut[L"table " + name];
                }
                if (record) {
                    record->setOwnerId(table->objectId());
                    table->adoptRecord(record->objectId());
                }
            }
            next();
            if (table) {
                m_tables[name] = table->objectId();
                applyTableIds(); // later tables look names up in earlier ones
            }
        }
        next();
    }

    void applyTableIds() {
        auto table = [&](const wchar_t* name) {
            auto it = m_tables.find(name);
            return it == m_tables.end() ? AcDbObjectId() : it->second;
        };
        m_db.setTableIds(table(L"BLOCK_RECORD"), table(L"LAYER"), table(L"LTYPE"), table(L"APPID"),
                         table(L"STYLE"), m_root);
    }

    // Whether an entity named `part` continues the sequence of the entity named `owner`: a polyline's
    // vertices, a block reference's attributes, and the end of either.
    static bool continuesSequence(const std::wstring& owner, const std::wstring& part) {
        return part == L"SEQEND" || (owner == L"POLYLINE" && part == L"VERTEX") ||
               (owner == L"INSERT" && part == L"ATTRIB");
    }

    // Reads entities up to ENDSEC or ENDBLK (left for the caller), noting which are in paper space (67).
    std::vector<EntityRead> readEntities() {
        std::vector<EntityRead> read;
        AcDbEntity* sequenceOwner = nullptr;
        std::wstring ownerName;
        int ownerLine = 0;
        std::vector<AcDbObjectId> sequence;
        std::vector<int> partLines;
        // A sequence ends at its SEQEND, or, in a damaged file, where something else comes; parts that do
        // not make a whole (a face naming a vertex not there) are refused at the line of the one at fault.
        auto endSequence = [&] {
            if (sequenceOwner) sequenceOwner->adoptSequence(sequence);
            if (std::optional<SequenceFault> fault =
                    sequenceOwner ? sequenceOwner->sequenceFault() : std::nullopt)
                fail(toUtf8(ownerName) + ": " + fault->what,
                     fault->part < partLines.size() ? partLines[fault->part] : ownerLine);
            sequenceOwner = nullptr;
            sequence.clear();
            partLines.clear();
        };
        while (!atZero(L"ENDSEC") && !atZero(L"ENDBLK")) {
            const int start = m_in.nextLine();
            std::wstring name = expectZero();
            if (isStructureMarker(name)) fail(toUtf8(name) + " among entities", start);
            AcRxClass* forced = nullptr;
            if (name == L"POLYLINE") forced = polylineClass();
            if (name == L"INSERT" && isMultipleInsert()) forced = acrxFindAcRxClass(L"AcDbMInsertBlock");
            if (name == L"VERTEX" && sequenceOwner) forced = vertexClass(sequenceOwner);
            AcDbEntity* entity =
                AcDbEntity::cast(create(name, start, objectHandle(), forced, Unknown::ProxyEntity));
            if (!entity) continue;
            if (sequenceOwner && continuesSequence(ownerName, name)) {
                entity->setOwnerId(sequenceOwner->objectId());
                sequence.push_back(entity->objectId());
                partLines.push_back(start);
                if (name == L"SEQEND") endSequence();
                continue;
            }
            endSequence();
            read.push_back({entity->objectId(), m_in.inPaperSpace()});
            if (name == L"POLYLINE" || name == L"INSERT") {
                sequenceOwner = entity;
                ownerName = name;
                ownerLine = start;
            }
        }
        endSequence();
        return read;
    }

    // R12 and older hold no BLOCK_RECORD table: the records are made from the blocks, all before any is
    // read, so that a block reference finds its block wherever it is defined.
    void addBlockRecords() {
        auto* table = new AcDbBlockTable;
        const AcDbObjectId tableId = m_db.adoptObject(table, unnamedHandle());
        m_tables[L"BLOCK_RECORD"] = tableId;
        applyTableIds();
        DxfLines lines = m_in.ahead();
        RawGroup raw;
        bool inBlock = false;
        while (lines.next(raw) == DxfLines::Step::Group) {
            const std::optional<int> code = rawCode(raw);
            if (!code) return; // the reading meets the fault
            if (*code == 0) {
                const std::wstring name = m_in.typed(0, raw.value, raw.line).text();
                if (name == L"ENDSEC") return;
                inBlock = name == L"BLOCK";
            } else if (*code == 2 && inBlock) {
                inBlock = false;
                const std::wstring name = layoutBlockName(m_in.typed(2, raw.value, raw.line).text());
                if (name.empty() || !m_db.blockId(name).isNull()) continue;
                auto* r = new AcDbBlockTableRecord;
                r->setName(name.c_str());
                const AcDbObjectId id = m_db.adoptObject(r, unnamedHandle());
                r->setOwnerId(tableId);
                table->adoptRecord(id);
            }
        }
    }

    void readBlocks() {
        if (!m_tables.contains(L"BLOCK_RECORD")) addBlockRecords();
        while (!atZero(L"ENDSEC")) {
            const int start = m_in.nextLine();
            if (expectZero() != L"BLOCK") fail("expected BLOCK", start);
            BlockRead block;
            block.start = start;
            for (const Group& g : objectGroups())
                readBlockGroup(g, block);
            // The block's entities join its record once all is read.
            block.entities = readEntities();
            if (expectZero() != L"ENDBLK") fail("block " + toUtf8(block.name) + " without ENDBLK");
            std::vector<Group> endGroups = objectGroups();
            for (const Group& g : endGroups)
                if (g.code == 5) block.endHandle = g.handle();
            // Files without handles (R12 and older) name no block markers either.
            for (AcDbHandle* marker : {&block.beginHandle, &block.endHandle})
                if (marker->isNull()) {
                    *marker = unnamedHandle();
                    m_db.setHandseed(AcDbHandle(marker->value() + 1)); // no object: the seed passes it
                }
            m_blocks.push_back(std::move(block));
        }
        next();
    }

    // A group of a BLOCK marker: what it says of the block (its name again in 3 is the record's).
    static void readBlockGroup(const Group& g, BlockRead& block) {
        switch (g.code) {
        case 2:
            block.name = layoutBlockName(g.text());
            break;
        case 10:
            block.origin = g.point();
            break;
        case 5:
            block.beginHandle = g.handle();
            break;
        case 70:
            block.flags = static_cast<Adesk::Int16>(g.integer());
            break;
        case 1:
            block.pathName = g.text();
            break;
        case 4:
            block.comments = g.text();
            break;
        default:
            break;
        }
    }

    // R12 names the blocks of model and paper space with a $ where later versions have a *.
    static std::wstring layoutBlockName(const std::wstring& name) {
        for (const ACHAR* layout : {kModelSpace, kPaperSpace})
            if (name.starts_with(L'$') && sameSymbolName(name.substr(1), layout + 1)) return layout;
        return name;
    }

    void readObjects() {
        bool first = true; // the root dictionary
        while (!atZero(L"ENDSEC")) {
            const int start = m_in.nextLine();
            std::wstring name = expectZero();
            if (isStructureMarker(name) || name == L"ENDBLK") fail(toUtf8(name) + " among objects", start);
            m_judging = first ? Judging::RootDictionary : Judging::Objects;
            AcDbObject* object = create(name, start, objectHandle(), nullptr, Unknown::ProxyObject, first);
            first = false;
            if (object && m_root.isNull() && AcDbDictionary::cast(object)) m_root = object->objectId();
        }
        next();
    }

    AcDbBlockTableRecord* record(AcDbObjectId id) const {
        return id.isValid() ? AcDbBlockTableRecord::cast(id.stub()->object) : nullptr;
    }

    void finish() {
        applyTableIds();
        // The block table stays open from its reading; closed, it takes the layouts' records a file may
        // lack (an R12 file without a model space block), or the entities read would belong to none.
        if (const auto blocks = m_tables.find(L"BLOCK_RECORD"); blocks != m_tables.end())
            while (blocks->second.stub()->object->isOpen())
                blocks->second.stub()->object->close();
        completeDrawing(m_db);
        // Layers name their linetype once every table is read, as LTYPE may follow LAYER.
        m_repairs = repairLayerLinetypes(m_db, [&](AcDbLayerTableRecord& layer) {
            const std::wstring named = layer.unresolvedLinetype();
            if (AcDbObjectId found = m_db.linetypeId(named); !named.empty() && !found.isNull())
                layer.setLinetypeObjectId(found);
            return named;
        });
        std::set<Adesk::UInt64> markers;
        for (const BlockRead& block : m_blocks) {
            AcDbBlockTableRecord* r = record(m_db.blockId(block.name));
            if (!r) fail("block " + toUtf8(block.name) + " has no BLOCK_RECORD", block.start);
            for (AcDbHandle marker : {block.beginHandle, block.endHandle}) {
                AcDbObjectId taken;
                if (!markers.insert(marker.value()).second ||
                    (m_db.getAcDbObjectId(taken, false, marker) == Acad::eOk && taken.stub()->object))
                    fail("handle " + toUtf8(marker.text()) + " used twice", block.start);
            }
            r->setOrigin(block.origin);
            r->setMarkerHandles(block.beginHandle, block.endHandle);
            r->setMarkerFlags(block.flags);
            r->setPathName(block.pathName.c_str());
            r->setComments(block.comments.c_str());
            for (const EntityRead& e : block.entities)
                attach(e.id, r);
        }
        for (const EntityRead& e : m_entities)
            attach(e.id, record(e.paper ? m_db.paperSpaceId() : m_db.modelSpaceId()));
        referArrowBlocks(m_db);
        if (const std::wstring cyclic = blockInsertingItself(m_db.blockTableId()); !cyclic.empty()) {
            const auto read = std::ranges::find(m_blocks, cyclic, &BlockRead::name);
            fail("block " + toUtf8(cyclic) + " inserts itself", read == m_blocks.end() ? 0 : read->start);
        }
        dropDanglingEntries();
        m_db.setHandseed(m_seed);
        giveMarkersToBlocksWithoutDefinition();
        m_db.closeOpenObjects(); // the layer table is opened to add the layers entities name
        if (const std::wstring made = addLayersEntitiesName(m_db); !made.empty())
            m_repairs += std::wstring(m_repairs.empty() ? L"" : L"\n") + made;
        restoreProxies(m_db);
    }

public:
    // The layers whose linetype the file named but did not hold, for a note.
    const std::wstring& repairs() const { return m_repairs; }
    // What the file held that this host does not keep, for a note: "table VPORT (1), MATERIAL (3)".
    std::wstring leftOut() const {
        std::wstring text;
        for (const auto& [name, count] : m_leftOut)
            text += (text.empty() ? L"" : L", ") + name + L" (" + std::to_wstring(count) + L")";
        return text;
    }

private:
    void attach(AcDbObjectId id, AcDbBlockTableRecord* r) {
        if (!r) return;
        id.stub()->object->setOwnerId(r->objectId());
        r->adoptEntity(id);
    }

    // A block record (a layout's, often) whose BLOCK the file does not hold is given the markers of an empty
    // definition, under handles of its own, with a note.
    void giveMarkersToBlocksWithoutDefinition() {
        auto* table = AcDbSymbolTable::cast(m_db.blockTableId().stub()->object);
        for (AcDbObjectId id : table->recordIds()) {
            auto* r = AcDbBlockTableRecord::cast(id.stub()->object);
            if (!r || !r->beginHandle().isNull()) continue;
            const AcDbHandle begin = m_db.allocateHandle();
            r->setMarkerHandles(begin, m_db.allocateHandle());
            m_repairs += std::wstring(m_repairs.empty() ? L"" : L"\n") + L"Note: block " + r->name() +
                         L" had no definition in the drawing file: an empty one is made";
        }
    }

    // Dictionary entries of objects this host did not keep are dropped.
    void dropDanglingEntries() {
        for (ObjectStub* stub : m_db.stubs())
            if (auto* dictionary = AcDbDictionary::cast(stub->object)) {
                ScopedRead access(dictionary); // dictionaries the drawing was completed with are closed
                AcDbDictionaryIterator* it = dictionary->newIterator();
                std::vector<std::wstring> dangling;
                for (; !it->done(); it->next())
                    if (!it->objectId().isValid()) dangling.push_back(it->name());
                delete it;
                for (const std::wstring& name : dangling)
                    dictionary->remove(name.c_str());
            }
    }

    AcDbDatabase& m_db;
    std::string_view m_text;
    DxfGroupReader m_in;
    AcDbHandle m_seed;
    Judging m_judging = Judging::Nothing;
    std::optional<Adesk::UInt64> m_unnamedHandle; // the next handle for an object the file names none for
    std::map<std::wstring, AcDbObjectId> m_tables;
    std::map<std::wstring, ProxyContent> m_classes;
    std::vector<ProxyContent> m_classOrder; // the class entries in their order, by which they are numbered
    AcDbObjectId m_root;
    std::vector<EntityRead> m_entities;
    std::vector<BlockRead> m_blocks;
    std::map<std::wstring, int> m_leftOut;
    std::wstring m_repairs;
};

} // namespace

namespace {

// Reads the text of an ASCII DXF file (binary files come as their text).
Acad::ErrorStatus readDxfText(AcDbDatabase& database, const std::string& text) {
    registerHostClasses();
    AcDbDatabase scratch(false);
    std::wstring leftOut, repairs;
    try {
        Reader reader(scratch, text);
        reader.read();
        leftOut = reader.leftOut();
        repairs = reader.repairs();
    } catch (const DxfError& e) {
        database.setLastFileError(e.what());
        return Acad::eDxfReadAborted;
    } catch (const std::exception& e) {
        // An object that could not take what the file gave it (a module's class, a damaged value).
        database.setLastFileError(std::string("the drawing cannot be read: ") + e.what());
        return Acad::eDxfReadAborted;
    }
    database.takeContentsOf(scratch);
    database.setLastFileError({});
    if (!leftOut.empty()) acutPrintf(L"\nNote: not kept from the drawing file: %ls", leftOut.c_str());
    if (!repairs.empty()) acutPrintf(L"\n%ls", repairs.c_str());
    return Acad::eOk;
}

} // namespace

Acad::ErrorStatus readDxf(AcDbDatabase& database, const std::string& content) {
    if (!isBinaryDxf(content)) return readDxfText(database, content);
    BinaryDxfText converted;
    try {
        converted = binaryDxfAsText(content);
    } catch (const DxfError& e) {
        database.setLastFileError(e.what());
        return Acad::eDxfReadAborted;
    }
    const Acad::ErrorStatus es = readDxfText(database, converted.text);
    if (es != Acad::eOk) database.setLastFileError(placedInBinary(database.lastFileError(), converted));
    return es;
}

Acad::ErrorStatus readDxfFile(AcDbDatabase& database, const std::wstring& fileName) {
    std::string reason;
    std::optional<std::string> content = readFileBytes(fileName, &reason);
    if (!content) {
        database.setLastFileError("cannot read " + toUtf8(fileName) + ": " + reason);
        return Acad::eFileNotFound;
    }
    return readDxf(database, *content);
}

} // namespace host

// ---- Writing ----

namespace host {
namespace {

// Writes a drawing's groups as they come, straight into the text.
class Writer {
public:
    Writer(const AcDbDatabase& db, DxfTextOut& out)
        : m_db(db), m_out(out), m_proxyGraphics(db.saveProxyGraphics() != 0), m_moduleClasses([] {
              const std::vector<AcRxClass*> classes = moduleClasses();
              return std::set<AcRxClass*>(classes.begin(), classes.end());
          }()) {}

    void write() {
        section(L"HEADER", [&] { header(); });
        section(L"CLASSES", [&] { classes(); });
        section(L"TABLES", [&] { tables(); });
        section(L"BLOCKS", [&] { blocks(); });
        section(L"ENTITIES", [&] {
            entitiesOf(m_db.modelSpaceId());
            entitiesOf(m_db.paperSpaceId());
        });
        section(L"OBJECTS", [&] { objects(); });
        m_out.put({0, std::wstring(L"EOF")});
        m_out.flush();
    }

private:
    template <typename F> void section(const wchar_t* name, F body) {
        m_out.put({0, std::wstring(L"SECTION")});
        m_out.put({2, std::wstring(name)});
        body();
        m_out.put({0, std::wstring(L"ENDSEC")});
    }

    void header() {
        m_out.put({9, std::wstring(L"$ACADVER")});
        m_out.put({1, dxfVersionToSave(m_db)});
        for (const auto& [name, value] : m_db.headerVariables()) {
            if (name == L"ACADVER") continue;
            m_out.put({9, L"$" + name});
            m_out.put(value);
        }
        m_out.put({9, std::wstring(L"$HANDSEED")});
        m_out.put({5, m_db.handseed()});
    }

    void classes() {
        std::set<std::wstring> written;
        for (AcRxClass* c : moduleClasses()) {
            if (!*c->dxfName()) continue;
            classEntry(c->dxfName(), c->name(), c->appName(), c->proxyFlags(), false,
                       c->isDerivedFrom(AcDbEntity::desc()));
            written.insert(c->dxfName());
        }
        // The classes of proxies kept, marked as classes whose module was not loaded; a class a binary
        // drawing named only by its C++ name goes by that name.
        for (ObjectStub* stub : m_db.stubs()) {
            const ProxyContent* proxy = stub->erased ? nullptr : proxyContent(stub->object);
            if (proxy && written.insert(classNameInFile(*proxy)).second)
                classEntry(classNameInFile(*proxy), proxy->className, proxy->appName, proxy->proxyFlags, true,
                           AcDbEntity::cast(stub->object));
        }
    }

    static std::wstring classNameInFile(const ProxyContent& proxy) {
        return proxy.fromDxf ? proxy.dxfName : proxy.shownName();
    }

    void classEntry(const std::wstring& dxfName, const std::wstring& className, const std::wstring& appName,
                    int proxyFlags, bool notLoaded, bool entity) {
        m_classNumbers[dxfName] = kFirstClassNumber + static_cast<int>(m_classNumbers.size());
        m_out.put({0, std::wstring(L"CLASS")});
        m_out.put({1, dxfName});
        m_out.put({2, className});
        m_out.put({3, appName});
        m_out.put({90, Adesk::Int32(proxyFlags)});
        m_out.put({280, Adesk::Int16(notLoaded ? 1 : 0)});
        m_out.put({281, Adesk::Int16(entity ? 1 : 0)});
    }

    // The group 0 of an object: a proxy of a DXF file keeps the name the file gave.
    static std::wstring dxfNameOf(const AcDbObject* o) {
        const ProxyContent* proxy = proxyContent(o);
        return proxy && proxy->fromDxf ? proxy->dxfName : std::wstring(o->isA()->dxfName());
    }

    // One object: its group 0 (and the group 2 a table has after it) and its groups.
    void object(AcDbObject* o, const std::wstring& name, const wchar_t* tableName = nullptr) {
        m_out.put({0, name});
        if (tableName) m_out.put({2, std::wstring(tableName)});
        auto* e = AcDbEntity::cast(o);
        const ProxyContent* proxy = proxyContent(o);
        const bool proxyForm = proxy && !proxy->fromDxf;
        if (!proxyForm && (!e || !m_proxyGraphics || !m_moduleClasses.contains(o->isA()))) {
            DxfTextFiler filer(const_cast<AcDbDatabase*>(&m_db), m_out);
            fields(o, filer);
            return;
        }
        // The image goes among the entity's groups, and the class's number into the proxy form: the groups
        // are gathered for them.
        DxfGroupFiler filer(AcDb::kFileFiler, const_cast<AcDbDatabase*>(&m_db));
        fields(o, filer);
        std::vector<Group> groups = filer.groups();
        if (proxyForm)
            numberClass(groups, m_classNumbers.at(classNameInFile(*proxy)));
        else
            addProxyGraphics(e, groups);
        for (const Group& g : groups)
            m_out.put(g);
    }

    static void numberClass(std::vector<Group>& groups, int number) {
        for (Group& g : groups)
            if (g.code == kProxyClassNumberCode) g.value = Adesk::Int32(number);
    }

    void fields(AcDbObject* o, AcDbDxfFiler& filer) {
        ScopedRead access(o);
        if (Acad::ErrorStatus es = o->dxfOut(&filer); es != Acad::eOk)
            throw DxfError("object " + toUtf8(o->handle().text()) + " cannot be written (" + statusName(es) +
                           ")");
        m_written.insert(o->objectId());
    }

    // What an entity of a module's class draws for proxy graphics goes with its entity groups, so that a
    // program without the module can show it.
    void addProxyGraphics(AcDbEntity* e, std::vector<Group>& groups) {
        const Bytes image = proxyGraphicsOf(e);
        if (image.empty()) return;
        const auto entityGroups = std::find_if(groups.begin(), groups.end(), [](const Group& g) {
            return g.code == AcDb::kDxfSubclass && g.text() == L"AcDbEntity";
        });
        if (entityGroups == groups.end()) return;
        const auto end = std::find_if(entityGroups + 1, groups.end(), [](const Group& g) {
            return g.code == AcDb::kDxfSubclass || g.code == AcDb::kDxfRegAppName;
        });
        std::vector<Group> graphics{{92, static_cast<Adesk::Int32>(image.size())}};
        for (Group& chunk : binaryChunkGroups(310, image))
            graphics.push_back(std::move(chunk));
        groups.insert(end, graphics.begin(), graphics.end());
    }

    static AcDbObject* live(AcDbObjectId id) {
        return id.isValid() && !id.isErased() ? id.stub()->object : nullptr;
    }

    // The tables in the order of the reference, which some readers expect.
    void tables() {
        std::map<std::wstring, AcDbObjectId> kept = keptTables(m_db);
        auto keptTable = [&](const wchar_t* name) {
            const auto found = kept.find(name);
            return found == kept.end() ? AcDbObjectId() : found->second;
        };
        const std::pair<const wchar_t*, AcDbObjectId> order[] = {
            {L"VPORT", keptTable(L"VPORT")},       {L"LTYPE", m_db.linetypeTableId()},
            {L"LAYER", m_db.layerTableId()},       {L"STYLE", m_db.textStyleTableId()},
            {L"VIEW", keptTable(L"VIEW")},         {L"UCS", keptTable(L"UCS")},
            {L"APPID", m_db.regAppTableId()},      {L"DIMSTYLE", keptTable(L"DIMSTYLE")},
            {L"BLOCK_RECORD", m_db.blockTableId()}};
        for (const auto& [name, id] : order) {
            auto* table = AcDbSymbolTable::cast(live(id));
            if (!table) continue;
            object(table, L"TABLE", name);
            for (AcDbObjectId recordId : table->recordIds())
                if (AcDbObject* record = live(recordId)) object(record, table->tableName());
            m_out.put({0, std::wstring(L"ENDTAB")});
        }
    }

    void entity(AcDbObjectId id) {
        auto* e = AcDbEntity::cast(live(id));
        if (!e) return;
        object(e, dxfNameOf(e));
        for (AcDbObjectId part : e->sequenceIds())
            if (AcDbObject* o = live(part)) object(o, o->isA()->dxfName());
    }

    void entitiesOf(AcDbObjectId space) {
        if (auto* r = AcDbBlockTableRecord::cast(live(space)))
            for (AcDbObjectId id : r->entityIds())
                entity(id);
    }

    void blocks() {
        auto* table = AcDbSymbolTable::cast(live(m_db.blockTableId()));
        if (!table) return;
        for (AcDbObjectId id : table->recordIds()) {
            auto* r = AcDbBlockTableRecord::cast(live(id));
            if (!r) continue;
            bool paper = id == m_db.paperSpaceId();
            auto marker = [&](const wchar_t* name, AcDbHandle handle, const wchar_t* subclass) {
                m_out.put({0, std::wstring(name)});
                m_out.put({5, handle});
                m_out.put({330, r->handle()});
                m_out.put({100, std::wstring(L"AcDbEntity")});
                if (paper) m_out.put({67, Adesk::Int16(1)});
                m_out.put({8, std::wstring(L"0")});
                m_out.put({100, std::wstring(subclass)});
            };
            marker(L"BLOCK", r->beginHandle(), L"AcDbBlockBegin");
            m_out.put({2, std::wstring(r->name())});
            m_out.put({70, r->markerFlags()});
            m_out.put({10, r->origin()});
            m_out.put({3, std::wstring(r->name())});
            m_out.put({1, std::wstring(r->pathName())});
            if (*r->comments()) m_out.put({4, std::wstring(r->comments())});
            // Model space and the current paper space hold their entities in ENTITIES.
            if (id != m_db.modelSpaceId() && id != m_db.paperSpaceId()) entitiesOf(id);
            marker(L"ENDBLK", r->endHandle(), L"AcDbBlockEnd");
        }
    }

    void objects() {
        if (AcDbObject* root = live(m_db.namedObjectsDictionaryId())) {
            m_out.put({0, std::wstring(root->isA()->dxfName())});
            DxfGroupFiler filer(AcDb::kFileFiler, const_cast<AcDbDatabase*>(&m_db));
            fields(root, filer);
            // The root dictionary is owned by nothing, and says so (330 0) as other programs expect.
            std::vector<Group> groups = filer.groups();
            const auto handle =
                std::find_if(groups.begin(), groups.end(), [](const Group& g) { return g.code == 5; });
            groups.insert(handle == groups.end() ? groups.begin() : handle + 1, {330, AcDbHandle()});
            for (const Group& g : groups)
                m_out.put(g);
        }
        for (ObjectStub* stub : m_db.stubs()) {
            AcDbObject* o = stub->erased ? nullptr : stub->object;
            if (!o || m_written.contains(o->objectId()) || AcDbEntity::cast(o) || AcDbSymbolTable::cast(o) ||
                AcDbSymbolTableRecord::cast(o) || !*o->isA()->dxfName())
                continue;
            object(o, dxfNameOf(o));
        }
    }

    const AcDbDatabase& m_db;
    DxfTextOut& m_out;
    const bool m_proxyGraphics;
    const std::set<AcRxClass*> m_moduleClasses;
    std::set<AcDbObjectId> m_written;
    std::map<std::wstring, int> m_classNumbers; // by DXF name, as CLASSES numbers them
};

} // namespace

std::wstring dxfVersionToSave(const AcDbDatabase& database) {
    host::Group read;
    if (!database.getHeaderVariable(L"ACADVER", read) || !std::holds_alternative<std::wstring>(read.value))
        return kDefaultDxfVersion;
    for (const wchar_t* version : {L"AC1015", L"AC1018", L"AC1021", L"AC1024", L"AC1027", L"AC1032"})
        if (read.text() == version) return version;
    return kDefaultDxfVersion;
}

namespace {

// Texts are UTF-8 from AC1021 on.
DxfEncoding encodingToSave(const AcDbDatabase& database) {
    return dxfVersionToSave(database) >= L"AC1021" ? DxfEncoding::Utf8 : DxfEncoding::Cp1252;
}

// The note a save of a drawing read in a version it is not saved in (R12, R14) gives.
void noteVersionChange(const AcDbDatabase& database) {
    host::Group read;
    if (!database.getHeaderVariable(L"ACADVER", read) || read.text() == dxfVersionToSave(database)) return;
    acutPrintf(L"\nNote: the drawing read as %ls is saved as %ls (R2000)", read.text().c_str(),
               kDefaultDxfVersion);
}

} // namespace

std::string writeDxf(const AcDbDatabase& database) {
    DxfTextOut out(encodingToSave(database));
    Writer(database, out).write();
    return std::move(out.text());
}

// The text goes to the file block by block as it is made, never whole in memory.
Acad::ErrorStatus writeDxfFile(AcDbDatabase& database, const std::wstring& fileName) {
    std::string reason;
    bool written = false;
    try {
        written = writeFileBytes(
            fileName,
            [&database](const ByteWriter& write) {
                DxfTextOut out(encodingToSave(database), write);
                Writer(database, out).write();
            },
            &reason);
    } catch (const std::exception& e) {
        database.setLastFileError(e.what());
        return Acad::eFilerError;
    }
    if (!written) {
        database.setLastFileError("cannot write " + toUtf8(fileName) + ": " + reason);
        return Acad::eFileAccessErr;
    }
    noteVersionChange(database);
    return Acad::eOk;
}

} // namespace host
