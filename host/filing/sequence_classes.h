#pragma once
// The classes of a POLYLINE and of its VERTEX entities, which their DXF type alone does not tell: readers of
// DXF groups (a drawing file, a LISP list) choose them from the flags (70) and the class's own subclass
// marker.
#include <string>

class AcDbEntity;
class AcRxClass;

namespace host {
// The marker names the class, or, in groups without markers, the flags do (64 a polyface mesh, 16 a polygon
// mesh, 8 a 3-D polyline); null for a 2-D polyline, the class the type names.
AcRxClass* polylineClass(long long flags, const std::wstring& marker);
// The class of a VERTEX of `owner`: a polyface mesh holds points (flag 64) and faces, told apart by their
// marker or their flags; null for a 2-D polyline's.
AcRxClass* vertexClass(const AcDbEntity* owner, long long flags, const std::wstring& marker);
} // namespace host
