#include "cadutil/database/blocks.h"

#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

#include "cadutil/command_line/print.h"
#include "cadutil/database/doc_lock.h"
#include "cadutil/database/layers.h"
#include "cadutil/database/spaces.h"
#include "cadutil/resbuf/text_convert.h"
#include "host/db/database.h"
#include "host/db/symbol_tables.h"
#include "host/entities/point_ray_face.h"
#include "platform/files/path_map.h"
#include "services/dos/dos.h"
#include "services/settings/settings_store.h"

namespace {

bool fileExists(const std::string& systemPath) {
    std::error_code ec;
    return !systemPath.empty() && std::filesystem::is_regular_file(platform::hostPath(systemPath), ec);
}

// The drawing file of a symbol block, by the search order; empty when none is found.
std::string symbolFile(const std::string& argument, std::string& blockName) {
    blockName = argument;
    std::string file;
    if (argument.find_first_of(":\\") != std::string::npos) {
        blockName = DOS::GetPName(argument.c_str(), "N");
        if (fileExists(argument)) file = argument;
    }
    std::string fileName = blockName + ".DWG";
    if (file.empty() && DOS::m_NomChtDef[0]) {
        std::string inserts = std::string(DOS::GetPName(DOS::m_NomChtDef, "UR")) + "INSERTS\\" + fileName;
        if (fileExists(inserts)) file = inserts;
    }
    if (file.empty()) {
        char folders[5000] = "";
        gets_ini("ZORTA", "GENERAL", "PLR", "DIRSYMBOLE", folders, sizeof folders);
        char found[261] = "";
        if (std::strlen(folders) > 5 && DOS::Localise_fichier(found, fileName.c_str(), folders, 1))
            file = found;
    }
    return file;
}

// The block read from its drawing file: insertion status.
Acad::ErrorStatus insertDrawing(AcDbDatabase* db, const std::string& file, const std::string& blockName,
                                AcDbObjectId& id) {
    auto side = std::make_unique<AcDbDatabase>(false, true);
    Acad::ErrorStatus es = readDwgShared(side.get(), file.c_str(), true);
    if (es != Acad::eOk) es = readDwgShared(side.get(), file.c_str(), false);
    if (es != Acad::eOk) return es;
    return db->insert(id, codePageToWide(blockName).c_str(), side.get(), true);
}

// A block of that name holding one point on the layer "$ERROR": it stands for a symbol that was not found.
Acad::ErrorStatus addPlaceholder(AcDbDatabase* db, const std::string& blockName, AcDbObjectId& id) {
    AcDbObjectId errorLayer;
    getLayerId("$ERROR", errorLayer, db);
    AcDbBlockTable* blocks = nullptr;
    Acad::ErrorStatus es = db->getBlockTable(blocks, AcDb::kForWrite);
    if (es != Acad::eOk) return es;
    auto* block = new AcDbBlockTableRecord;
    block->setName(codePageToWide(blockName).c_str());
    es = blocks->add(id, block);
    blocks->close();
    if (es != Acad::eOk) {
        delete block;
        return es;
    }
    auto* point = new AcDbPoint;
    point->setLayer(errorLayer);
    if (block->appendAcDbEntity(point) == Acad::eOk)
        point->close();
    else
        delete point;
    block->close();
    return Acad::eOk;
}

} // namespace

Acad::ErrorStatus loadSymbolBlock(const char* nameOrPath, AcDbObjectId& id, AcDbDatabase* db) {
    CDocLock lock;
    id.setNull();
    if (!db) db = workingDatabase();
    if (!db || !nameOrPath || !*nameOrPath) return Acad::eInvalidInput;
    std::string blockName;
    std::string file = symbolFile(nameOrPath, blockName);
    Acad::ErrorStatus es = file.empty() ? Acad::eFileNotFound : insertDrawing(db, file, blockName, id);
    if (file.empty() || es == Acad::eMissingSymbolTableRec) es = addPlaceholder(db, blockName, id);
    return es;
}

Acad::ErrorStatus getBlockId(const char* name, AcDbObjectId& id, AcDbDatabase* db) {
    CDocLock lock;
    id.setNull();
    if (!db) db = workingDatabase();
    if (!db || !name) return Acad::eInvalidInput;
    AcDbBlockTable* blocks = nullptr;
    Acad::ErrorStatus es = db->getBlockTable(blocks, AcDb::kForRead);
    if (es != Acad::eOk) return es;
    es = blocks->getAt(codePageToWide(name).c_str(), id);
    blocks->close();
    if (es == Acad::eOk) return es;
    bool working = db == workingDatabase();
    if (working) g_printHook("\nBlock :'%s' Inconnu err=%d ", name, static_cast<int>(es));
    es = loadSymbolBlock(name, id, db);
    if (es == Acad::eOk && working) g_printHook(" ** CREE *** ");
    return es;
}
