#pragma once
// Flags of the conversions between the polyline and host entities, and what they share: the new entity's
// place in a database and its extended data.
class AcDbEntity;

namespace conversion {

constexpr int kAppendToCurrentSpace = 1;
constexpr int kReplaceSource = 2;
constexpr int kWithoutXData = 4;
constexpr int kWithoutProperties = 8;

// Copies the source's extended data (all applications) onto target.
void copyXData(const AcDbEntity& source, AcDbEntity& target);

// Appends `made` to the current space of the source's database and erases the source, which must be open;
// it is closed. False (nothing changed) when the source lies in no database or `made` cannot be appended.
bool replaceByAppending(AcDbEntity& source, AcDbEntity& made);

// `made` to the current space of the working database; false when it cannot be appended.
bool appendToCurrentSpace(AcDbEntity& made);

} // namespace conversion
