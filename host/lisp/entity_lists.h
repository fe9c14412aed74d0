#pragma once
// Entity lists: an entity as a result-buffer chain of DXF groups, the way LISP programs read and change it
// (entget, entmod, entnext, entlast), built over the DXF filer. The list starts with (-1 . entity name) and
// (0 . type); extended data follows a -3 group when asked for by application name.
#include <string>
#include <vector>

#include "host/db/acdb.h"
#include "host/db/resbuf.h"
#include "host/filing/group.h"

class AcDbDatabase;
class AcDbEntity;
class AcRxClass;

// A new list the caller frees with acutRelRb; null when the name designates no object.
resbuf* acdbEntGet(const ads_name ent);
// The same with the extended data of the applications named in `apps` (a chain of RTSTR; "*" for all).
resbuf* acdbEntGetX(const ads_name ent, const resbuf* apps);
// Changes the entity from a list: a whole list (with its subclass markers) gives every group; a list of a
// few groups, such as ((-1 . e) (8 . "ROUTE")), changes those only. The name, type, handle, owner and
// reactors are not changed; extended data after -3 replaces that of the applications it names. Any failure
// (an unknown entity, a type that differs, groups the entity cannot read, an unregistered application, a
// block reference to a block not defined) leaves the entity as it was.
int acdbEntMod(const resbuf* ent);
// A new entity of model space from a list that starts with its type, (0 . "LINE"); the groups it leaves out
// keep their defaults; extended data after -3 is kept. RTERROR, with nothing made, for an unknown type,
// groups the entity refuses, an unregistered application or a block reference to a block not defined.
// A complex entity is made in steps: its header (a POLYLINE, an INSERT with (66 . 1)) is held, each VERTEX
// or ATTRIB joins it, and its SEQEND adds the whole to the drawing, `result` then naming the header; a held
// step gives a null name. A list refused, or one that does not continue the held entity, drops it.
int acdbEntMake(const resbuf* ent, ads_name result);
// Drops the complex entity held, if any.
void acdbEntMakeCancel();
// Erases the entity, or brings it back when it is erased (as ENTDEL does a second time).
int acdbEntDel(const ads_name ent);
// The entity after `ent` in the drawing (the first one when `ent` is null); RTERROR at the end.
int acdbEntNext(const ads_name ent, ads_name result);
int acdbEntLast(ads_name result);

namespace host {
// A new entity outside any database, of class `forced` or else of the type the groups name, read from
// them; null for an unknown type or groups the entity refuses.
AcDbEntity* entityFromGroups(const std::vector<Group>& given, AcRxClass* forced, AcDbDatabase* db);
// The groups of an entity's (or another object's) list (without -1 and extended data); the type first. Lists
// are written through a list filer (kBagFiler), as a real host writes them, so an entity may choose what its
// list holds and how precise it is; a file filer gives the entity's whole state as a drawing file keeps it.
std::vector<Group> entityGroups(const AcDbObject* entity, AcDb::FilerType type = AcDb::kBagFiler);
// Whether `entity` is a block reference naming no block of the drawing: ENTMAKE and ENTMOD refuse it.
bool refersToUndefinedBlock(const AcDbEntity* entity);
// The DXF type name of an entity or object ("LINE", "ZORTAPOLY", "LAYER", ...).
std::wstring entityTypeName(const AcDbObject* entity);
} // namespace host
