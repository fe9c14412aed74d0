#include "cadutil/database/layers.h"

#include <string>

#include "cadutil/command_line/print.h"
#include "cadutil/database/doc_lock.h"
#include "cadutil/database/spaces.h"
#include "cadutil/resbuf/text_convert.h"
#include "host/db/database.h"
#include "host/db/symbol_tables.h"
#include "host/editor/documents.h"

namespace {

constexpr std::size_t kLongName = 63;
constexpr std::size_t kCutName = 61;

// Copies colour, linetype (from the same database only) and default viewport visibility of `templateName`.
void copyTemplate(AcDbLayerTable* table, AcDbLayerTableRecord* layer, const std::string& templateName) {
    AcDbLayerTableRecord* model = nullptr;
    if (table->getAt(codePageToWide(templateName).c_str(), model, AcDb::kForRead) != Acad::eOk) return;
    layer->setColor(model->color());
    if (model->linetypeObjectId().database() == table->database())
        layer->setLinetypeObjectId(model->linetypeObjectId());
    layer->setVPDFLT(model->VPDFLT());
    model->close();
}

// A new layer of that name in the open table (unlocked, thawed and on).
Acad::ErrorStatus createLayer(AcDbLayerTable* table, const std::string& name, AcDbObjectId& id) {
    auto* layer = new AcDbLayerTableRecord;
    layer->setName(codePageToWide(name).c_str());
    std::size_t dollar = name.find('$');
    if (dollar != std::string::npos && dollar > 0) copyTemplate(table, layer, name.substr(dollar + 1));
    layer->setIsLocked(false);
    layer->setIsFrozen(false);
    layer->setIsOff(false);
    Acad::ErrorStatus es = table->add(id, layer);
    if (es == Acad::eOk)
        layer->close();
    else
        delete layer;
    return es;
}

} // namespace

Acad::ErrorStatus getLayerId(const char* name, AcDbObjectId& id, AcDbDatabase* db) {
    CDocLock lock;
    id.setNull();
    if (!db) db = workingDatabase();
    AcDbLayerTable* table = nullptr;
    if (!db) return Acad::eNoDatabase;
    if (Acad::ErrorStatus es = db->getLayerTable(table, AcDb::kForWrite); es != Acad::eOk) return es;
    std::string wanted = name ? name : "";
    std::string longNameMessage;
    bool created = false;
    Acad::ErrorStatus es = table->getAt(codePageToWide(wanted).c_str(), id);
    while (es == Acad::eKeyNotFound) {
        std::size_t dollar = wanted.find('$');
        std::string afterDollar = dollar == std::string::npos ? wanted : wanted.substr(dollar + 1);
        if (wanted.size() >= kLongName) {
            longNameMessage = "\nLayer Trop Long :'" + wanted + "' >> '" + wanted.substr(0, kCutName) + "'";
            wanted.resize(kCutName);
        } else if (wanted.find(',') != std::string::npos) {
            wanted.resize(wanted.find(','));
        } else if (!afterDollar.empty()) {
            if (!longNameMessage.empty()) g_printHook("%s", longNameMessage.c_str());
            es = createLayer(table, wanted, id);
            created = es == Acad::eOk;
            break;
        } else {
            wanted = "LayerVide";
        }
        es = table->getAt(codePageToWide(wanted).c_str(), id);
    }
    table->close();
    if (created) applyCurDwgLayerTableChanges();
    return es;
}
