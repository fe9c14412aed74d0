#pragma once
// Objects as R12 and older files write them: their groups carry no subclass markers (100), which the readers
// of the classes expect. The markers are put back where R13 and later put them, each group under the
// subclass that holds it.
#include <string_view>
#include <vector>

#include "host/filing/group.h"

namespace host {

// Whether objects of the class named `className` (AcDbLine, AcDbLayerTableRecord, ...) are found in such
// files, so that their groups can be given markers.
bool hasLegacyLayout(std::wstring_view className);

// The groups of an object of that class without markers, with them: the object's own groups (handle,
// reactors, owner) first, then each subclass's marker and groups in the order read, the extended data last.
std::vector<Group> withSubclassMarkers(std::wstring_view className, std::vector<Group> groups);

} // namespace host
