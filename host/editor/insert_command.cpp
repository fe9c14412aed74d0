#include "host/editor/insert_command.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/db/database.h"
#include "host/db/symbol_tables.h"
#include "host/db/system_variables.h"
#include "host/editor/command_input.h"
#include "host/editor/find_file.h"
#include "host/entities/attributes.h"
#include "host/entities/block_reference.h"
#include "host/filing/text_codec.h"
#include "host/input/prompt_input.h"
#include "host/input/prompts.h"
#include "host/input/text_numbers.h"
#include "host/selection/wildcard.h"

namespace host {

namespace {

AcDbDatabase* working() {
    return acdbHostApplicationServices()->workingDatabase();
}

// The non-constant attribute definitions of the block, in its order.
std::vector<std::unique_ptr<AcDbAttributeDefinition, void (*)(AcDbAttributeDefinition*)>>
openDefinitions(AcDbObjectId block) {
    std::vector<std::unique_ptr<AcDbAttributeDefinition, void (*)(AcDbAttributeDefinition*)>> definitions;
    AcDbBlockTableRecord* record = nullptr;
    if (acdbOpenObject(record, block, AcDb::kForRead) != Acad::eOk) return definitions;
    AcDbBlockTableRecordIterator* it = nullptr;
    if (record->newIterator(it) == Acad::eOk) {
        for (; !it->done(); it->step()) {
            AcDbEntity* entity = nullptr;
            if (it->getEntity(entity, AcDb::kForRead) != Acad::eOk) continue;
            auto* definition = AcDbAttributeDefinition::cast(entity);
            if (definition && !definition->isConstant())
                definitions.emplace_back(definition, [](AcDbAttributeDefinition* d) { d->close(); });
            else
                entity->close();
        }
        delete it;
    }
    record->close();
    return definitions;
}

// The drawing file a name gives through the support path: the name as it stands, else with ".dxf" or ".dwg"
// added; empty when there is none.
std::wstring drawingFile(const std::wstring& name) {
    ACHAR found[4096];
    for (const wchar_t* extension : {L"", L".dxf", L".dwg"})
        if (acedFindFile((name + extension).c_str(), found, 4096) == RTNORM &&
            !std::filesystem::is_directory(std::filesystem::path(toUtf8(found))))
            return found;
    return L"";
}

// The block of a drawing file's model space, named after the file and based at its INSBASE, as the CAD
// program makes it for a name that is no block: the drawing's own block of that name when it has one; null,
// with a message, when the file cannot be read.
AcDbObjectId blockFromFile(AcDbDatabase& db, const std::wstring& file) {
    const std::wstring name = fromUtf8(std::filesystem::path(toUtf8(file)).stem().string());
    if (const AcDbObjectId existing = db.blockId(name); !existing.isNull()) return existing;
    AcDbDatabase drawing(false, true);
    AcDbObjectId id;
    if (drawing.readDwgFile(file.c_str()) != Acad::eOk) {
        printText(L"\nImpossible de lire " + file + L": " + fromUtf8(drawing.lastFileError()));
        return {};
    }
    if (const Acad::ErrorStatus es = db.insert(id, name.c_str(), &drawing); es != Acad::eOk) {
        printText(L"\nImpossible de faire un bloc de " + file + L" (erreur " + std::to_wstring(es) + L").");
        return {};
    }
    return id;
}

// The block a name gives for insertion, from a drawing file when the drawing has no block of that name;
// null, with a message, for none or one that cannot be inserted.
AcDbObjectId insertableBlock(AcDbDatabase& db, const std::wstring& name) {
    const AcDbObjectId id = db.blockId(name);
    if (id == db.modelSpaceId() || id == db.paperSpaceId() || name.starts_with(L"*")) {
        printText(L"\nLe bloc \"" + name + L"\" ne peut pas être inséré.");
        return {};
    }
    if (!id.isNull()) return id;
    if (const std::wstring file = drawingFile(name); !file.empty()) return blockFromFile(db, file);
    printText(L"\nLe bloc \"" + name + L"\" est introuvable.");
    return {};
}

// "?": the named blocks a pattern gives, in the table's order; the unnamed ones ("*U2") are only counted,
// model and paper space not at all.
void listBlocks(AcDbDatabase& db) {
    const auto pattern = askWord(L"\nEntrez le(s) bloc(s) à afficher <*>: ", L"*");
    if (!pattern) return;
    AcDbBlockTable* table = nullptr;
    if (db.getBlockTable(table, AcDb::kForRead) != Acad::eOk) return;
    std::wstring listing = L"\nBlocs définis.";
    int named = 0, unnamed = 0;
    AcDbSymbolTableIterator* it = nullptr;
    if (table->newIterator(it) == Acad::eOk) {
        for (; !it->done(); it->step()) {
            AcDbObjectId id;
            if (it->getRecordId(id) != Acad::eOk || id == db.modelSpaceId() || id == db.paperSpaceId())
                continue;
            AcDbSymbolTableRecord* record = nullptr;
            if (it->getRecord(record, AcDb::kForRead) != Acad::eOk) continue;
            const std::wstring name = record->name();
            record->close();
            if (wildcardMatch(name, L"`*Paper_Space*", true)) continue;
            if (name.starts_with(L"*")) {
                ++unnamed;
            } else if (wildcardMatch(name, trim(*pattern), true)) {
                listing += L"\n  \"" + name + L"\"";
                ++named;
            }
        }
        delete it;
    }
    table->close();
    printText(listing + L"\nBlocs utilisateur: " + std::to_wstring(named) + L"   Blocs sans nom: " +
              std::to_wstring(unnamed));
}

// The block name typed, "?" listing blocks first; Enter answers INSNAME, the last block inserted.
std::optional<std::wstring> askBlockName() {
    for (;;) {
        resbuf last{};
        std::wstring fallback;
        if (acedGetVar(L"INSNAME", &last) == RTNORM && last.restype == RTSTR) {
            fallback = last.resval.rstring;
            acutDelString(last.resval.rstring);
        }
        const std::wstring prompt =
            L"\nEntrez le nom du bloc ou [?]" + (fallback.empty() ? L"" : L" <" + fallback + L">") + L": ";
        const auto name = askWord(prompt.c_str(), fallback);
        if (!name || trim(*name) != L"?") return name;
        if (AcDbDatabase* db = working()) listBlocks(*db);
    }
}

} // namespace

void insertCommand() {
    AcDbDatabase* db = working();
    if (!db) return;
    const auto name = askBlockName();
    if (!name || trim(*name).empty()) return;
    const AcDbObjectId block = insertableBlock(*db, trim(*name));
    if (block.isNull()) return;
    const auto at = askUcsPoint(L"\nSpécifiez le point d'insertion: ");
    if (!at) return;
    const auto x = askReal(L"\nEntrez le facteur d'échelle X <1>: ", 1, RSG_NOZERO);
    if (!x) return;
    const auto y =
        askReal(L"\nEntrez le facteur d'échelle Y <utiliser le facteur d'échelle X>: ", *x, RSG_NOZERO);
    if (!y) return;
    const auto angle = askAngle(L"\nSpécifiez l'angle de rotation <0>: ", *at, 0);
    if (!angle) return;
    // The values are asked before anything is added, so a cancel leaves the drawing as it was.
    auto definitions = openDefinitions(block);
    std::vector<std::wstring> values;
    if (std::ranges::any_of(definitions, [](const auto& d) { return !d->isPreset(); }))
        printText(L"\nEntrez les valeurs d'attributs");
    for (const auto& d : definitions) {
        // A preset attribute takes its default without being asked, as in a CAD program.
        if (d->isPreset()) {
            values.emplace_back(d->textStringConst());
            continue;
        }
        const auto value =
            askWord((L"\n" + std::wstring(d->promptConst()) + L" <" + d->textStringConst() + L">: ").c_str(),
                    d->textStringConst());
        if (!value) return;
        values.push_back(*value);
    }
    auto* reference = new AcDbBlockReference(*at, block);
    reference->setScaleFactors(AcGeScale3d(*x, *y, *x));
    reference->setRotation(*angle);
    const AcDbObjectId id = appendFromUcs(reference);
    if (id.isNull() || acdbOpenObject(reference, id, AcDb::kForWrite) != Acad::eOk) return;
    for (std::size_t i = 0; i < definitions.size(); ++i) {
        auto* attribute = new AcDbAttribute;
        attribute->setAttributeFromBlock(definitions[i].get(), reference->blockTransform());
        attribute->setTextString(values[i].c_str());
        if (reference->appendAttribute(attribute) == Acad::eOk)
            attribute->close();
        else
            delete attribute;
    }
    reference->close();
    setSessionVariable(L"INSNAME", {1, trim(*name)});
}

} // namespace host
