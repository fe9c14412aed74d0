#include "host/selection/ssget.h"

#include <algorithm>
#include <cwctype>
#include <string>
#include <unordered_set>

#include "host/db/database.h"
#include "host/db/symbol_tables.h"
#include "host/editor/editor_variables.h"
#include "host/editor/ucs.h"
#include "host/entities/entity.h"
#include "host/input/entity_refs.h"
#include "host/input/keywords.h"
#include "host/input/prompt_input.h"
#include "host/input/prompts.h"
#include "host/lisp/entity_lists.h"
#include "host/selection/pick_box.h"
#include "host/selection/selection_filter.h"
#include "host/selection/selection_sets.h"

namespace host {

namespace {

struct Mode {
    bool all = false, implied = false, last = false, previous = false, prompts = false, single = false;
};

bool parseMode(const ACHAR* text, Mode& mode, std::wstring& error) {
    std::wstring m;
    for (const ACHAR* p = text; p && *p; ++p)
        if (*p != L'_') m += static_cast<wchar_t>(std::towupper(*p));
    for (std::size_t i = 0; i < m.size(); ++i) {
        wchar_t c = m[i];
        if ((c == L':' || c == L'-') && i + 1 < m.size()) {
            wchar_t option = m[++i];
            if (c == L':' && option == L'$')
                mode.prompts = true;
            else if (c == L':' && option == L'S')
                mode.single = true;
            else if (!((c == L':' && (option == L'N' || option == L'E')) || (c == L'-' && option == L'M'))) {
                error = L"the selection mode \"" + std::wstring(text) + L"\" is unknown";
                return false;
            }
        } else if (c == L'X') {
            mode.all = true;
        } else if (c == L'I') {
            mode.implied = true;
        } else if (c == L'L') {
            mode.last = true;
        } else if (c == L'P') {
            mode.previous = true;
        } else {
            error = L"the selection mode \"" + std::wstring(text) + L"\" is unknown";
            return false;
        }
    }
    return true;
}

bool passes(AcDbObjectId id, const SelectionFilter& filter) {
    AcDbEntity* entity = nullptr;
    if (acdbOpenObject(entity, id, AcDb::kForRead) != Acad::eOk) return false;
    bool ok = filter.matches(entityGroups(entity));
    entity->close();
    return ok;
}

// The top-most entity (the last drawn) under a point given in user coordinates.
AcDbObjectId entityAt(const AcGePoint3d& ucsPoint, const SelectionFilter& filter) {
    AcGePoint3d p = ucsToWorld(ucsPoint);
    const double tolerance = pickTolerance();
    std::vector<AcDbObjectId> ids = currentSpaceEntities();
    for (auto it = ids.rbegin(); it != ids.rend(); ++it) {
        AcDbEntity* entity = nullptr;
        if (acdbOpenObject(entity, *it, AcDb::kForRead) != Acad::eOk) continue;
        bool hit = pickHit(entity, p, tolerance) == PickHit::Drawn;
        entity->close();
        if (hit && passes(*it, filter)) return *it;
    }
    return {};
}

std::vector<AcDbObjectId> drawingEntities() {
    std::vector<AcDbObjectId> out;
    AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
    if (!db) return out;
    for (ObjectStub* stub : db->stubs()) {
        if (!stub->object || stub->erased || !AcDbEntity::cast(stub->object)) continue;
        AcDbObjectId owner = stub->object->ownerId();
        if (owner == db->modelSpaceId() || owner == db->paperSpaceId()) out.emplace_back(stub);
    }
    return out;
}

// The members chosen so far, each entity once, in the order chosen; choosing all of a large drawing stays
// linear.
class ChosenMembers {
public:
    void add(const SelectionMember& m) {
        if (m_ids.insert(m.id.stub()).second) m_members.push_back(m);
    }
    bool empty() const { return m_members.empty(); }
    std::vector<SelectionMember> take() { return std::move(m_members); }

private:
    std::vector<SelectionMember> m_members;
    std::unordered_set<const ObjectStub*> m_ids;
};

int finish(ChosenMembers& members, ads_name ss) {
    if (members.empty()) return RTERROR;
    newSelectionSet(members.take(), ss);
    return RTNORM;
}

// The entities of a response that pass the filter; how many the response named.
int choose(const Response& r, const SelectionFilter& filter, ChosenMembers& members) {
    int named = 0, found = 0;
    auto take = [&](SelectionMember m) {
        ++named;
        if (!passes(m.id, filter)) return;
        ++found;
        members.add(m);
    };
    AcGePoint3d at;
    if (r.kind == Response::Pick) {
        take(pickedMember(r.entity, r.marker, ucsToWorld(r.point)));
    } else if (responsePoint(r, at)) {
        AcDbObjectId id = entityAt(at, SelectionFilter());
        if (!id.isNull()) take(pickedMember(id, 0, ucsToWorld(at)));
    } else if (r.kind == Response::Selection) {
        std::vector<AcDbObjectId> ids = r.selectAll ? currentSpaceEntities() : r.entities;
        for (AcDbObjectId id : ids)
            take(chosenMember(id));
    }
    std::wstring line = L"\n" + std::to_wstring(found) + L" trouvé(s)";
    if (named > found) line += L", " + std::to_wstring(named - found) + L" filtré(s)";
    printText(line);
    return found;
}

int askUser(const Mode& mode, const void* pt1, const SelectionFilter& filter, ads_name ss) {
    const ACHAR* prompt = L"\nChoix des objets: ";
    if (mode.prompts && pt1) {
        auto prompts = static_cast<const ACHAR* const*>(pt1);
        if (prompts[0]) prompt = prompts[0];
    }
    ChosenMembers members;
    ResponseOptions options;
    options.waiter = L"a selection";
    for (;;) {
        Response r = readResponse(prompt, options);
        if (r.kind == Response::Cancel) return RTCAN;
        if (r.kind == Response::Enter) break;
        AcGePoint3d at;
        if (r.kind == Response::Line && !responsePoint(r, at)) {
            printMessage(L"\n*Choix incorrect*");
            continue;
        }
        if (choose(r, filter, members) > 0 && mode.single) break;
    }
    return finish(members, ss);
}

} // namespace

} // namespace host

using namespace host;

int acedSSGet(const ACHAR* modeText, const void* pt1, const void*, const resbuf* filterChain, ads_name ss) {
    if (!ss) return RTERROR;
    takeInitGet();
    Mode mode;
    SelectionFilter filter;
    std::wstring error;
    if (!parseMode(modeText, mode, error) || !filter.parse(filterChain, error)) {
        printMessage(L"\n*** acedSSGet: " + error);
        return RTERROR;
    }
    ChosenMembers members;
    if (mode.all || mode.implied || mode.last || mode.previous) {
        std::vector<AcDbObjectId> ids;
        if (mode.all) ids = drawingEntities();
        if (mode.implied)
            for (const SelectionMember& m : pickFirst())
                ids.push_back(m.id);
        if (mode.previous)
            for (const SelectionMember& m : previousSelection())
                ids.push_back(m.id);
        if (mode.last && !lastEntity().isNull()) ids.push_back(lastEntity());
        for (AcDbObjectId id : ids)
            if (!id.isErased() && passes(id, filter)) members.add(chosenMember(id));
        return finish(members, ss);
    }
    if (pt1 && !mode.prompts) {
        auto p = static_cast<const ads_real*>(pt1);
        AcGePoint3d at(p[0], p[1], p[2]);
        // A point off the screen finds nothing, as a click can only land in the view.
        if (!insideView(at)) return finish(members, ss);
        AcDbObjectId id = entityAt(at, filter);
        if (!id.isNull()) members.add(pickedMember(id, 0, ucsToWorld(at)));
        return finish(members, ss);
    }
    return askUser(mode, pt1, filter, ss);
}

int acedEntSel(const ACHAR* prompt, ads_name entity, ads_point point) {
    InitGet rules = takeInitGet();
    ResponseOptions options;
    options.waiter = L"an entity selection";
    for (;;) {
        Response r = readResponse(prompt ? prompt : L"\nChoix de l'objet: ", options);
        if (r.kind == Response::Cancel) return RTCAN;
        if (r.kind == Response::Enter) return RTERROR;
        AcGePoint3d at;
        bool isPoint = responsePoint(r, at);
        if (r.kind == Response::Line && !isPoint) {
            int k = rules.keywords.find(r.text);
            if (k >= 0) {
                setLastInput(rules.keywords.keywords()[k].global);
                return RTKWORD;
            }
            printMessage(L"\n*Choix incorrect*");
            continue;
        }
        AcDbObjectId id;
        if (r.kind == Response::Pick)
            id = r.entity;
        else if (isPoint)
            id = entityAt(at, SelectionFilter());
        if (r.kind == Response::Selection && !r.entities.empty()) id = r.entities.front();
        if (id.isNull()) return RTERROR;
        if (entity) writeAdsName(entity, id);
        if (point) {
            AcGePoint3d p = isPoint ? at : worldToUcs(entityMiddle(id));
            point[0] = p.x;
            point[1] = p.y;
            point[2] = p.z;
        }
        return RTNORM;
    }
}
