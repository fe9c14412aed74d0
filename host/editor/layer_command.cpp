#include "host/editor/layer_command.h"

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "host/db/database.h"
#include "host/db/symbol_tables.h"
#include "host/editor/command_input.h"
#include "host/input/prompt_input.h"
#include "host/input/prompts.h"
#include "host/input/text_numbers.h"
#include "host/selection/wildcard.h"

namespace host {

namespace {

AcDbDatabase* working() {
    return acdbHostApplicationServices()->workingDatabase();
}

// The name of a layer, a linetype or any other table's record.
std::wstring layerName(AcDbObjectId id) {
    AcDbSymbolTableRecord* record = nullptr;
    if (acdbOpenObject(record, id, AcDb::kForRead) != Acad::eOk) return L"";
    std::wstring name = record->name();
    record->close();
    return name;
}

// The layers of the drawing in the table's order.
std::vector<AcDbObjectId> layerIds(AcDbDatabase& db) {
    std::vector<AcDbObjectId> ids;
    AcDbLayerTable* table = nullptr;
    if (db.getLayerTable(table, AcDb::kForRead) != Acad::eOk) return ids;
    AcDbSymbolTableIterator* it = nullptr;
    if (table->newIterator(it) == Acad::eOk) {
        for (; !it->done(); it->step()) {
            AcDbObjectId id;
            if (it->getRecordId(id) == Acad::eOk) ids.push_back(id);
        }
        delete it;
    }
    table->close();
    return ids;
}

std::vector<std::wstring> commaSeparated(const std::wstring& text) {
    std::vector<std::wstring> parts;
    std::size_t start = 0;
    for (std::size_t comma; (comma = text.find(L',', start)) != std::wstring::npos; start = comma + 1)
        parts.push_back(trim(text.substr(start, comma - start)));
    parts.push_back(trim(text.substr(start)));
    std::erase_if(parts, [](const std::wstring& p) { return p.empty(); });
    return parts;
}

// Makes the layer when it does not exist; its id, null with a message for a name a layer cannot have.
AcDbObjectId layerNamed(AcDbDatabase& db, const std::wstring& name) {
    if (AcDbObjectId id = db.layerId(name); !id.isNull()) return id;
    auto* record = new AcDbLayerTableRecord;
    AcDbLayerTable* table = nullptr;
    AcDbObjectId id;
    if (record->setName(name.c_str()) != Acad::eOk || db.getLayerTable(table, AcDb::kForWrite) != Acad::eOk) {
        delete record;
        printText(L"\nNom de calque incorrect: \"" + name + L"\".");
        return {};
    }
    if (table->add(id, record) == Acad::eOk)
        record->close();
    else
        delete record;
    table->close();
    return id;
}

// Each layer that one of the comma-separated patterns names, opened for write and changed; a pattern that
// names none is reported.
void changeLayers(AcDbDatabase& db, const std::wstring& patterns,
                  const std::function<void(AcDbLayerTableRecord&, bool current)>& change) {
    const std::vector<AcDbObjectId> ids = layerIds(db);
    for (const std::wstring& pattern : commaSeparated(patterns)) {
        bool found = false;
        for (AcDbObjectId id : ids) {
            AcDbLayerTableRecord* layer = nullptr;
            if (!wildcardMatch(layerName(id), pattern, true) ||
                acdbOpenObject(layer, id, AcDb::kForWrite) != Acad::eOk)
                continue;
            found = true;
            change(*layer, id == db.clayer());
            layer->close();
        }
        if (!found) printText(L"\nAucun calque ne correspond à \"" + pattern + L"\".");
    }
}

std::optional<std::wstring> askLayers(const std::wstring& prompt) {
    return askWord(prompt.c_str(), layerName(working()->clayer()));
}

struct ColourName {
    const wchar_t* french;
    const wchar_t* english;
    int index;
};
constexpr ColourName kColours[] = {
    {L"rouge", L"red", 1}, {L"jaune", L"yellow", 2},    {L"vert", L"green", 3}, {L"cyan", L"cyan", 4},
    {L"bleu", L"blue", 5}, {L"magenta", L"magenta", 6}, {L"blanc", L"white", 7}};

// The colour index a text names (a number from 1 to 255 or a standard colour's name); 0 when none.
int colourIndex(const std::wstring& text) {
    long long n = 0;
    if (parseInteger(text, n)) return n >= 1 && n <= 255 ? static_cast<int>(n) : 0;
    for (const ColourName& c : kColours)
        if (wildcardMatch(text, c.french, true) || wildcardMatch(text, c.english, true)) return c.index;
    return 0;
}

// `text` followed by spaces up to `width` characters, and always one.
std::wstring padded(std::wstring text, std::size_t width) {
    text.resize(std::max(width, text.size() + 1), L' ');
    return text;
}

std::wstring describeColour(int index) {
    for (const ColourName& c : kColours)
        if (c.index == index) return std::to_wstring(index) + L" (" + c.french + L")";
    return std::to_wstring(index);
}

// One line of the listing: the name, the states, the colour and the linetype.
std::wstring describeLayer(const AcDbLayerTableRecord& layer) {
    std::wstring states = layer.isOff() ? L"Désactivé" : L"Activé";
    if (layer.isFrozen()) states += L" Gelé";
    if (layer.isLocked()) states += L" Verrouillé";
    // A layer made before any linetype was given to it is written as Continuous.
    std::wstring linetype = layer.unresolvedLinetype();
    if (linetype.empty()) linetype = layerName(layer.linetypeObjectId());
    if (linetype.empty()) linetype = L"Continuous";
    return L"\n" + padded(L"\"" + std::wstring(layer.name()) + L"\"", 32) + padded(states, 24) +
           padded(describeColour(layer.color().colorIndex()), 14) + L"\"" + linetype + L"\"";
}

void listLayers(AcDbDatabase& db) {
    const auto patterns = askWord(L"\nEntrez la liste des calques à afficher <*>: ", L"*");
    if (!patterns) return;
    const std::vector<std::wstring> wanted = commaSeparated(*patterns);
    printText(L"\n" + padded(L"Nom du calque", 32) + padded(L"Etat", 24) + padded(L"Couleur", 14) +
              L"Type de ligne");
    for (AcDbObjectId id : layerIds(db)) {
        AcDbLayerTableRecord* layer = nullptr;
        if (acdbOpenObject(layer, id, AcDb::kForRead) != Acad::eOk) continue;
        if (std::ranges::any_of(wanted,
                                [&](const std::wstring& p) { return wildcardMatch(layer->name(), p, true); }))
            printText(describeLayer(*layer));
        layer->close();
    }
    printText(L"\nCalque courant: \"" + layerName(db.clayer()) + L"\"");
}

void makeLayer(AcDbDatabase& db) {
    const auto name = askLayers(L"\nEntrez le nom du calque à créer (qui devient le calque courant) <" +
                                layerName(db.clayer()) + L">: ");
    if (!name) return;
    if (AcDbObjectId id = layerNamed(db, trim(*name)); !id.isNull()) db.setClayer(id);
}

void setLayer(AcDbDatabase& db) {
    const auto name = askWord(L"\nEntrez le nom du calque à rendre courant: ");
    if (!name || name->empty()) return;
    const AcDbObjectId id = db.layerId(trim(*name));
    AcDbLayerTableRecord* layer = nullptr;
    if (id.isNull() || acdbOpenObject(layer, id, AcDb::kForRead) != Acad::eOk) {
        printText(L"\nImpossible de trouver le calque \"" + *name + L"\".");
        return;
    }
    const bool frozen = layer->isFrozen();
    layer->close();
    if (frozen)
        printText(L"\nImpossible de rendre courant un calque gelé.");
    else
        db.setClayer(id);
}

void newLayers(AcDbDatabase& db) {
    const auto names = askWord(L"\nEntrez le nom des nouveaux calques: ");
    if (!names) return;
    for (const std::wstring& name : commaSeparated(*names))
        layerNamed(db, name);
}

void colourLayers(AcDbDatabase& db) {
    const auto text = askWord(L"\nEntrez la couleur (numéro ou nom standard): ");
    if (!text || text->empty()) return;
    const int index = colourIndex(trim(*text));
    if (index == 0) {
        printText(L"\nCouleur incorrecte: \"" + *text + L"\".");
        return;
    }
    const auto layers = askLayers(L"\nEntrez la liste des noms de calques auxquels appliquer la couleur " +
                                  std::to_wstring(index) + L" <" + layerName(db.clayer()) + L">: ");
    if (!layers) return;
    AcCmColor colour;
    colour.setColorIndex(static_cast<Adesk::UInt16>(index));
    changeLayers(db, *layers, [&](AcDbLayerTableRecord& l, bool) { l.setColor(colour); });
}

void linetypeLayers(AcDbDatabase& db) {
    const auto name = askWord(L"\nEntrez un type de ligne chargé <Continuous>: ", L"Continuous");
    if (!name) return;
    const AcDbObjectId linetype = db.linetypeId(trim(*name));
    if (linetype.isNull()) {
        printText(L"\nLe type de ligne \"" + *name + L"\" n'est pas chargé.");
        return;
    }
    const auto layers =
        askLayers(L"\nEntrez la liste des noms de calques auxquels appliquer le type de ligne " +
                  trim(*name) + L" <" + layerName(db.clayer()) + L">: ");
    if (layers)
        changeLayers(db, *layers, [&](AcDbLayerTableRecord& l, bool) { l.setLinetypeObjectId(linetype); });
}

// An option that sets one state of the layers listed.
struct StateOption {
    const wchar_t* global;
    const wchar_t* prompt;
    std::function<void(AcDbLayerTableRecord&, bool current)> change;
};

const StateOption kStateOptions[] = {
    {L"ON", L"\nEntrez la liste des noms de calques à activer: ",
     [](AcDbLayerTableRecord& l, bool) { l.setIsOff(false); }},
    {L"OFF", L"\nEntrez la liste des noms de calques à désactiver: ",
     [](AcDbLayerTableRecord& l, bool current) {
         l.setIsOff(true);
         if (current) printText(L"\nLe calque courant est désactivé.");
     }},
    {L"Freeze", L"\nEntrez la liste des noms de calques à geler: ",
     [](AcDbLayerTableRecord& l, bool current) {
         if (current)
             printText(L"\nImpossible de geler le calque courant.");
         else
             l.setIsFrozen(true);
     }},
    {L"Thaw", L"\nEntrez la liste des noms de calques à libérer: ",
     [](AcDbLayerTableRecord& l, bool) { l.setIsFrozen(false); }},
    {L"LOck", L"\nEntrez la liste des noms de calques à verrouiller: ",
     [](AcDbLayerTableRecord& l, bool) { l.setIsLocked(true); }},
    {L"Unlock", L"\nEntrez la liste des noms de calques à déverrouiller: ",
     [](AcDbLayerTableRecord& l, bool) { l.setIsLocked(false); }},
};

struct Option {
    const wchar_t* global;
    void (*run)(AcDbDatabase&);
};

constexpr Option kOptions[] = {{L"?", listLayers},  {L"Make", makeLayer},     {L"Set", setLayer},
                               {L"New", newLayers}, {L"Color", colourLayers}, {L"Ltype", linetypeLayers}};

void runOption(AcDbDatabase& db, const std::wstring& keyword) {
    for (const Option& o : kOptions)
        if (keyword == o.global) return o.run(db);
    for (const StateOption& o : kStateOptions)
        if (keyword == o.global) {
            const auto layers = askLayers(o.prompt);
            if (layers) changeLayers(db, *layers, o.change);
            return;
        }
}

} // namespace

void layerCommand() {
    AcDbDatabase* db = working();
    if (!db) return;
    for (;;) {
        acedInitGet(0,
                    L"? Créer Etablir Nouveau ACtiver DESactiver COuleur TYpeligne Geler LIbérer VErrouiller "
                    L"DEVerrouiller _ ? Make Set New ON OFF Color Ltype Freeze Thaw LOck Unlock");
        ACHAR keyword[32];
        const std::wstring prompt =
            L"\nOption courante du calque:  \"" + layerName(db->clayer()) +
            L"\"\nEntrez une option [?/Créer/Etablir/Nouveau/ACtiver/DESactiver/COuleur/"
            L"TYpeligne/Geler/LIbérer/VErrouiller/DEVerrouiller]: ";
        if (acedGetKword(prompt.c_str(), keyword, 32) != RTNORM) return;
        runOption(*db, keyword);
    }
}

} // namespace host
