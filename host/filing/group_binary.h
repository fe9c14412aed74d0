#pragma once
// Groups in the binary filer (extended data, xrecords, header variables): a count, then per group its code,
// its value kind and its value.
#include <vector>

#include "host/filing/dwg_filer.h"
#include "host/filing/group.h"

namespace host {
// Reads `size` bytes into `bytes`, taking memory only as the data comes, so that a damaged size fails at the
// end of the data instead of asking for the size first.
Acad::ErrorStatus readByteBlock(AcDbDwgFiler* filer, std::size_t size, Bytes& bytes);

Acad::ErrorStatus writeGroup(AcDbDwgFiler* filer, const Group& group);
Acad::ErrorStatus readGroup(AcDbDwgFiler* filer, Group& group);
Acad::ErrorStatus writeGroups(AcDbDwgFiler* filer, const std::vector<Group>& groups);
Acad::ErrorStatus readGroups(AcDbDwgFiler* filer, std::vector<Group>& groups);
// The groups of one object as a DXF file gives them before its extended data, kept by what the host does not
// model: a group 0 would end the object in the file and a code of extended data would start that data, so
// either is refused.
Acad::ErrorStatus readObjectGroups(AcDbDwgFiler* filer, std::vector<Group>& groups);
} // namespace host
