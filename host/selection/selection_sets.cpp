#include "host/selection/selection_sets.h"

#include <algorithm>
#include <map>
#include <unordered_set>

#include "host/db/db_object.h"
#include "host/input/entity_refs.h"

namespace host {

namespace {

// A set's members in their order, and their objects for membership in constant time: a routine adds to a
// set member by member.
struct StoredSet {
    std::vector<SelectionMember> members;
    std::unordered_set<const ObjectStub*> objects;
};

struct Sets {
    std::map<Adesk::Int64, StoredSet> byName;
    Adesk::Int64 serial = 0;
    std::vector<SelectionMember> pickFirst;
    std::vector<SelectionMember> previous;
};

Sets& sets() {
    static Sets s;
    return s;
}

// Set names are small numbers with a tag in the high bits, so that an entity name is never taken for one.
constexpr Adesk::Int64 kSetTag = Adesk::Int64(0x5e1) << 48;

StoredSet* findSet(const ads_name name) {
    if (!name || name[1] != 0) return nullptr;
    auto it = sets().byName.find(name[0]);
    return it == sets().byName.end() ? nullptr : &it->second;
}

const std::vector<SelectionMember>* find(const ads_name name) {
    const StoredSet* set = findSet(name);
    return set ? &set->members : nullptr;
}

resbuf* append(resbuf**& tail, int type) {
    *tail = acutNewRb(type);
    resbuf* rb = *tail;
    tail = &rb->rbnext;
    return rb;
}

} // namespace

void newSelectionSet(std::vector<SelectionMember> members, ads_name name) {
    Adesk::Int64 key = kSetTag | ++sets().serial;
    StoredSet& set = sets().byName[key];
    for (const SelectionMember& m : members)
        set.objects.insert(m.id.stub());
    set.members = std::move(members);
    name[0] = key;
    name[1] = 0;
}

const std::vector<SelectionMember>* selectionMembers(const ads_name name) {
    return find(name);
}

const std::vector<SelectionMember>& pickFirst() {
    return sets().pickFirst;
}

void setPickFirst(std::vector<SelectionMember> members) {
    sets().pickFirst = std::move(members);
}

const std::vector<SelectionMember>& previousSelection() {
    return sets().previous;
}

void setPreviousSelection(std::vector<SelectionMember> members) {
    sets().previous = std::move(members);
}

int liveSelectionSets() {
    return static_cast<int>(sets().byName.size());
}

void resetSelectionSets() {
    sets() = Sets{};
}

} // namespace host

using namespace host;

int acedSSLength(const ads_name ss, Adesk::Int32* length) {
    const std::vector<SelectionMember>* members = find(ss);
    if (!members || !length) return RTERROR;
    *length = static_cast<Adesk::Int32>(members->size());
    return RTNORM;
}

int acedSSName(const ads_name ss, Adesk::Int32 index, ads_name entity) {
    const std::vector<SelectionMember>* members = find(ss);
    if (!members || !entity || index < 0 || index >= static_cast<Adesk::Int32>(members->size()))
        return RTERROR;
    writeAdsName(entity, (*members)[index].id);
    return RTNORM;
}

int acedSSNameX(resbuf** description, const ads_name ss, Adesk::Int32 index, unsigned int) {
    const std::vector<SelectionMember>* members = find(ss);
    if (!description || !members || index < 0 || index >= static_cast<Adesk::Int32>(members->size()))
        return RTERROR;
    const SelectionMember& m = (*members)[index];
    resbuf* head = nullptr;
    resbuf** tail = &head;
    append(tail, RTLB);
    append(tail, RTSHORT)->resval.rint = m.picked ? 1 : 0;
    acdbGetAdsName(append(tail, RTENAME)->resval.rlname, m.id);
    append(tail, RTLONG)->resval.rlong = static_cast<Adesk::Int32>(m.picked ? m.marker : 0);
    if (m.picked) {
        append(tail, RTLB);
        append(tail, RTSHORT)->resval.rint = 0;
        resbuf* p = append(tail, RT3DPOINT);
        p->resval.rpoint[0] = m.point.x;
        p->resval.rpoint[1] = m.point.y;
        p->resval.rpoint[2] = m.point.z;
        append(tail, RTLE);
    }
    append(tail, RTLE);
    *description = head;
    return RTNORM;
}

int acedSSFree(const ads_name ss) {
    if (!find(ss)) return RTERROR;
    sets().byName.erase(ss[0]);
    return RTNORM;
}

int acedSSAdd(const ads_name entity, const ads_name ss, ads_name result) {
    if (!result) return RTERROR;
    StoredSet* set = nullptr;
    if (ss && !(set = findSet(ss))) return RTERROR;
    AcDbObjectId id;
    if (entity && acdbGetObjectId(id, entity) != Acad::eOk) return RTERROR;
    if (!set) {
        newSelectionSet(id.isNull() ? std::vector<SelectionMember>{} : std::vector{chosenMember(id)}, result);
        return RTNORM;
    }
    if (!id.isNull() && set->objects.insert(id.stub()).second) set->members.push_back(chosenMember(id));
    result[0] = ss[0];
    result[1] = ss[1];
    return RTNORM;
}

int acedSSDel(const ads_name entity, const ads_name ss) {
    StoredSet* set = ss ? findSet(ss) : nullptr;
    AcDbObjectId id;
    if (!set || !entity || acdbGetObjectId(id, entity) != Acad::eOk || !set->objects.erase(id.stub()))
        return RTERROR;
    std::erase_if(set->members, [&](const SelectionMember& m) { return m.id == id; });
    return RTNORM;
}

int acedSSMemb(const ads_name entity, const ads_name ss) {
    const StoredSet* set = ss ? findSet(ss) : nullptr;
    AcDbObjectId id;
    if (!set || !entity || acdbGetObjectId(id, entity) != Acad::eOk) return RTERROR;
    return set->objects.contains(id.stub()) ? RTNORM : RTERROR;
}

int acedSSSetFirst(const ads_name pset, const ads_name) {
    if (!pset) {
        setPickFirst({});
        return RTNORM;
    }
    const std::vector<SelectionMember>* members = find(pset);
    if (!members) return RTERROR;
    setPickFirst(*members);
    return RTNORM;
}

int acedSSGetFirst(resbuf** gripSet, resbuf** pickSet) {
    if (gripSet) *gripSet = nullptr;
    if (!pickSet) return RTNORM;
    *pickSet = nullptr;
    if (pickFirst().empty()) return RTNORM;
    *pickSet = acutNewRb(RTPICKS);
    newSelectionSet(pickFirst(), (*pickSet)->resval.rlname);
    return RTNORM;
}
