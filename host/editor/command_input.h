#pragma once
// What the drawing and inquiry commands share: point, distance and angle prompts in user coordinates (a
// number or two points, as a CAD program takes them), and new entities added to the current space.
#include <optional>
#include <string>

#include "host/db/db_object_id.h"
#include "host/ge/ge.h"

class AcDbEntity;

namespace host {

// A prompt's outcome: a point (user coordinates), a keyword (its global form), Enter, or a cancel.
struct PointAnswer {
    enum Kind { Point, Keyword, None, Cancel } kind = Cancel;
    AcGePoint3d point;
    std::wstring keyword;
};

// A point, or one of `keywords` ("Local... _ Global..."); dragged from `base` when given. With RSG_OTHER in
// `restrictions` any other text comes back as a keyword too.
PointAnswer askPointOr(const wchar_t* prompt, const wchar_t* keywords,
                       const std::optional<AcGePoint3d>& base = {}, int restrictions = 0);
// A point in user coordinates; nothing on Enter or a cancel.
std::optional<AcGePoint3d> askUcsPoint(const wchar_t* prompt, const std::optional<AcGePoint3d>& base = {});
// A distance typed, or from `base` (or a first point asked for) to a point given. Enter answers
// `fallback` when one is given; nothing on a cancel or a refused value.
std::optional<double> askDistance(const wchar_t* prompt, const std::optional<AcGePoint3d>& base,
                                  std::optional<double> fallback = {});
// An angle in radians: typed in degrees, or the direction from `base` to a point given. Enter answers
// `fallback`; nothing on a cancel, or on Enter without a fallback.
std::optional<double> askAngle(const wchar_t* prompt, const AcGePoint3d& base,
                               std::optional<double> fallback = {});
// The number a text is written as, when finite.
std::optional<double> numberIn(const std::wstring& text);
// A real number; Enter answers `fallback`.
std::optional<double> askReal(const std::wstring& prompt, double fallback, int restrictions = 0);
// A text; Enter answers `fallback`.
std::optional<std::wstring> askWord(const wchar_t* prompt, const std::wstring& fallback = L"");

// The angle of the direction from a to b in the XY plane.
double planAngle(const AcGePoint3d& a, const AcGePoint3d& b);
// The centre of the circle through three points of the XY plane; nothing when they are in line.
std::optional<AcGePoint3d> circleCentre(const AcGePoint3d& a, const AcGePoint3d& b, const AcGePoint3d& c);

// `entity`, drawn in user coordinates, moved to world coordinates and appended to the current space with
// the current layer, colour and linetype; deleted and null on a refusal.
AcDbObjectId appendFromUcs(AcDbEntity* entity);
// A number with the decimals a precision variable (LUPREC, AUPREC) asks, `fallback` when it is not set.
std::wstring formatFixed(double value, const wchar_t* precisionVariable, int fallback);
// A length or an area the way the command line shows them: LUPREC decimals ("12.5000").
std::wstring formatLength(double value);

} // namespace host
