#include "host/editor/text_command.h"

#include <optional>
#include <string>

#include "host/db/database.h"
#include "host/db/symbol_tables.h"
#include "host/db/system_variables.h"
#include "host/editor/command_input.h"
#include "host/entities/text.h"
#include "host/input/prompt_input.h"
#include "host/input/prompts.h"
#include "host/input/text_numbers.h"
#include "host/selection/wildcard.h"

namespace host {

namespace {

constexpr double kDefaultTextSize = 2.5;

// One of TEXT's justifications: its keywords (the French name and the global one that TEXTJUSTIFY keeps),
// its groups 72 and 73, and the point it is placed on, as the prompts name it.
struct Justification {
    const wchar_t* local;
    const wchar_t* global;
    AcDb::TextHorzMode horizontal;
    AcDb::TextVertMode vertical;
    const wchar_t* point;
};

constexpr const wchar_t* kBaselineStart = L"la première extrémité de la ligne de base du texte";

constexpr Justification kJustifications[] = {
    {L"Gauche", L"Left", AcDb::kTextLeft, AcDb::kTextBase, L"le point de départ du texte"},
    {L"Centre", L"Center", AcDb::kTextCenter, AcDb::kTextBase, L"le centre de la ligne de base du texte"},
    {L"Droite", L"Right", AcDb::kTextRight, AcDb::kTextBase,
     L"l'extrémité droite de la ligne de base du texte"},
    {L"Aligné", L"Align", AcDb::kTextAlign, AcDb::kTextBase, kBaselineStart},
    {L"Milieu", L"Middle", AcDb::kTextMid, AcDb::kTextBase, L"le point milieu du texte"},
    {L"Fixé", L"Fit", AcDb::kTextFit, AcDb::kTextBase, kBaselineStart},
    {L"HG", L"TL", AcDb::kTextLeft, AcDb::kTextTop, L"le point supérieur gauche du texte"},
    {L"HC", L"TC", AcDb::kTextCenter, AcDb::kTextTop, L"le point supérieur central du texte"},
    {L"HD", L"TR", AcDb::kTextRight, AcDb::kTextTop, L"le point supérieur droit du texte"},
    {L"MG", L"ML", AcDb::kTextLeft, AcDb::kTextVertMid, L"le point milieu gauche du texte"},
    {L"MC", L"MC", AcDb::kTextCenter, AcDb::kTextVertMid, L"le point milieu central du texte"},
    {L"MD", L"MR", AcDb::kTextRight, AcDb::kTextVertMid, L"le point milieu droit du texte"},
    {L"BG", L"BL", AcDb::kTextLeft, AcDb::kTextBottom, L"le point inférieur gauche du texte"},
    {L"BC", L"BC", AcDb::kTextCenter, AcDb::kTextBottom, L"le point inférieur central du texte"},
    {L"BD", L"BR", AcDb::kTextRight, AcDb::kTextBottom, L"le point inférieur droit du texte"},
};

const Justification* justificationNamed(const std::wstring& global) {
    for (const Justification& j : kJustifications)
        if (global == j.global) return &j;
    return nullptr;
}

// The justification TEXTJUSTIFY names; left for a name it does not know.
const Justification& currentJustification() {
    resbuf value{};
    const Justification* j = nullptr;
    if (acedGetVar(L"TEXTJUSTIFY", &value) == RTNORM && value.restype == RTSTR) {
        j = justificationNamed(value.resval.rstring);
        acutDelString(value.resval.rstring);
    }
    return j ? *j : kJustifications[0];
}

// "Gauche Centre ... _ Left Center ...", and the options as a prompt shows them: "Gauche/Centre/...".
std::wstring justificationKeywords() {
    std::wstring locals, globals;
    for (const Justification& j : kJustifications) {
        locals += std::wstring(j.local) + L" ";
        globals += std::wstring(L" ") + j.global;
    }
    return locals + L"_" + globals;
}

std::wstring justificationOptions() {
    std::wstring options;
    for (const Justification& j : kJustifications)
        options += (options.empty() ? L"" : L"/") + std::wstring(j.local);
    return options;
}

// The justification chosen at "Entrez une option"; nothing on a cancel.
const Justification* askJustification() {
    const std::wstring keywords = justificationKeywords();
    acedInitGet(RSG_NONULL, keywords.c_str());
    ACHAR answer[64];
    const std::wstring prompt = L"\nEntrez une option [" + justificationOptions() + L"]: ";
    if (acedGetKword(prompt.c_str(), answer, 64) != RTNORM) return nullptr;
    return justificationNamed(answer);
}

// The text style TEXTSTYLE names in the drawing's header; "Standard" when it names none of its styles.
std::wstring currentStyle(const AcDbDatabase& db) {
    Group value;
    if (db.getHeaderVariable(L"TEXTSTYLE", value) && std::holds_alternative<std::wstring>(value.value) &&
        !db.textStyleId(value.text()).isNull())
        return value.text();
    return L"Standard";
}

// "?" at the style's name: the styles a pattern names, their height and font, then the current one.
void listStyles(AcDbDatabase& db) {
    const auto pattern = askWord(L"\nEntrez le(s) style(s) de texte à afficher <*>: ", L"*");
    if (!pattern) return;
    AcDbTextStyleTable* table = nullptr;
    if (db.getTextStyleTable(table, AcDb::kForRead) != Acad::eOk) return;
    std::wstring listing = L"\nStyles de texte:";
    AcDbSymbolTableIterator* it = nullptr;
    if (table->newIterator(it) == Acad::eOk) {
        for (; !it->done(); it->step()) {
            AcDbSymbolTableRecord* record = nullptr;
            if (it->getRecord(record, AcDb::kForRead) != Acad::eOk) continue;
            auto* style = AcDbTextStyleTableRecord::cast(record);
            if (style && wildcardMatch(style->name(), trim(*pattern), true))
                listing += L"\n  \"" + std::wstring(style->name()) + L"\"  Hauteur: " +
                           formatLength(style->textSize()) + L"  Police: " + style->fileName();
            record->close();
        }
        delete it;
    }
    table->close();
    printText(listing + L"\nStyle de texte courant: \"" + currentStyle(db) + L"\"");
}

// Style: the name of one of the drawing's styles becomes TEXTSTYLE, "?" listing them first; false on a
// cancel.
bool askStyle(AcDbDatabase& db) {
    for (;;) {
        const std::wstring current = currentStyle(db);
        const auto name = askWord((L"\nEntrez le nom du style ou [?] <" + current + L">: ").c_str(), current);
        if (!name) return false;
        if (trim(*name) == L"?") {
            listStyles(db);
            continue;
        }
        const AcDbObjectId style = db.textStyleId(trim(*name));
        AcDbTextStyleTableRecord* record = nullptr;
        if (style.isNull() || acdbOpenObject(record, style, AcDb::kForRead) != Acad::eOk) {
            printText(L"\nLe style de texte \"" + trim(*name) + L"\" est introuvable.");
            return true;
        }
        db.setHeaderVariable(L"TEXTSTYLE", {7, std::wstring(record->name())});
        record->close();
        return true;
    }
}

// The point the justification places the text on, Justifier choosing another first and Style the style.
std::optional<AcGePoint3d> askPlacement(AcDbDatabase& db, const Justification*& j) {
    for (;;) {
        const PointAnswer a =
            askPointOr((L"\nSpécifiez " + std::wstring(j->point) + L" ou [Justifier/Style]: ").c_str(),
                       L"Justifier Style _ Justify Style");
        if (a.kind == PointAnswer::Point) return a.point;
        if (a.kind != PointAnswer::Keyword) return std::nullopt;
        if (a.keyword == L"Style") {
            if (!askStyle(db)) return std::nullopt;
            continue;
        }
        j = askJustification();
        if (!j) return std::nullopt;
        setSessionVariable(L"TEXTJUSTIFY", {1, std::wstring(j->global)});
        return askUcsPoint((L"\nSpécifiez " + std::wstring(j->point) + L": ").c_str());
    }
}

// The height of the style's texts; 0 when it leaves the height to each text.
double styleHeight(AcDbObjectId style) {
    AcDbTextStyleTableRecord* record = nullptr;
    if (acdbOpenObject(record, style, AcDb::kForRead) != Acad::eOk) return 0;
    const double height = record->textSize();
    record->close();
    return height;
}

double textSize(const AcDbDatabase& db) {
    Group value;
    if (db.getHeaderVariable(L"TEXTSIZE", value) && std::holds_alternative<double>(value.value) &&
        value.real() > 0)
        return value.real();
    return kDefaultTextSize;
}

// The height typed (kept as TEXTSIZE), or the style's own; nothing on a cancel or a height refused.
std::optional<double> askHeight(AcDbDatabase& db, double fixedHeight, const AcGePoint3d& from) {
    if (fixedHeight > 0) return fixedHeight;
    const auto typed = askDistance(
        (L"\nSpécifiez la hauteur <" + formatLength(textSize(db)) + L">: ").c_str(), from, textSize(db));
    if (!typed) return std::nullopt;
    if (*typed <= 0) {
        printText(L"\nLa hauteur doit être positive.");
        return std::nullopt;
    }
    db.setHeaderVariable(L"TEXTSIZE", {40, *typed});
    return typed;
}

} // namespace

void textCommand() {
    AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
    if (!db) return;
    const Justification* j = &currentJustification();
    const double shownHeight = styleHeight(db->textStyleId(currentStyle(*db)));
    printText(L"\nStyle de texte courant:  \"" + currentStyle(*db) + L"\"  Hauteur de texte:  " +
              formatLength(shownHeight > 0 ? shownHeight : textSize(*db)) +
              L"  Annotatif:  Non  Justifier:  " + j->local);
    const auto at = askPlacement(*db, j);
    if (!at) return;
    const AcDbObjectId style = db->textStyleId(currentStyle(*db));
    const double fixedHeight = styleHeight(style);
    const bool alongBaseline = j->horizontal == AcDb::kTextAlign || j->horizontal == AcDb::kTextFit;
    std::optional<AcGePoint3d> baselineEnd;
    if (alongBaseline) {
        baselineEnd = askUcsPoint(L"\nSpécifiez la deuxième extrémité de la ligne de base du texte: ", at);
        if (!baselineEnd) return;
        if (baselineEnd->isEqualTo(*at)) {
            printText(L"\nLes deux extrémités de la ligne de base sont confondues.");
            return;
        }
    }
    // An aligned text takes its height from its baseline.
    const auto height =
        j->horizontal == AcDb::kTextAlign ? std::optional<double>(0.0) : askHeight(*db, fixedHeight, *at);
    if (!height) return;
    const auto angle = alongBaseline ? std::optional<double>(0.0)
                                     : askAngle(L"\nSpécifiez l'angle de rotation du texte <0>: ", *at, 0);
    if (!angle) return;
    const auto text = askWord(L"\nEntrez le texte: ");
    if (!text || text->empty()) return;
    auto* entity = new AcDbText(*at, text->c_str(), style, *height, *angle);
    if (j->horizontal != AcDb::kTextLeft || j->vertical != AcDb::kTextBase) {
        entity->setHorizontalMode(j->horizontal);
        entity->setVerticalMode(j->vertical);
        entity->setAlignmentPoint(baselineEnd.value_or(*at));
        entity->adjustAlignment(db);
    }
    appendFromUcs(entity);
}

} // namespace host
