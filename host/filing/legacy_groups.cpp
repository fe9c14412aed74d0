#include "host/filing/legacy_groups.h"

#include <algorithm>
#include <initializer_list>

#include "host/filing/dxf_filer.h"

namespace host {
namespace {

// A subclass and the codes it holds; the main subclass of a class takes every code no other lists.
struct Subclass {
    const wchar_t* marker;
    std::initializer_list<short> codes;
    bool main = false;
};

struct Layout {
    const wchar_t* className;
    bool entity; // the subclass AcDbEntity comes first
    std::initializer_list<Subclass> subclasses;
    short handleCode = 5; // a dimension style's 5 is its arrow block
};

// The groups every entity of R12 has: layer, linetype, colour, linetype scale, visibility, paper space and
// lineweight.
constexpr std::initializer_list<short> kEntityCodes = {8, 6, 62, 48, 60, 67, 370};
constexpr std::initializer_list<short> kAttributeCodes = {2, 70, 73, 74, 280};
constexpr std::initializer_list<short> kAttributeDefinitionCodes = {2, 3, 70, 73, 74, 280};

const Layout kLayouts[] = {
    {L"AcDbLine", true, {{L"AcDbLine", {}, true}}},
    {L"AcDbPoint", true, {{L"AcDbPoint", {}, true}}},
    {L"AcDbCircle", true, {{L"AcDbCircle", {}, true}}},
    {L"AcDbArc", true, {{L"AcDbCircle", {}, true}, {L"AcDbArc", {50, 51}}}},
    {L"AcDbText", true, {{L"AcDbText", {}, true}}},
    {L"AcDbAttribute", true, {{L"AcDbText", {}, true}, {L"AcDbAttribute", kAttributeCodes}}},
    {L"AcDbAttributeDefinition",
     true,
     {{L"AcDbText", {}, true}, {L"AcDbAttributeDefinition", kAttributeDefinitionCodes}}},
    {L"AcDbBlockReference", true, {{L"AcDbBlockReference", {}, true}}},
    {L"AcDbMInsertBlock", true, {{L"AcDbMInsertBlock", {}, true}}},
    {L"AcDb2dPolyline", true, {{L"AcDb2dPolyline", {}, true}}},
    {L"AcDb3dPolyline", true, {{L"AcDb3dPolyline", {}, true}}},
    {L"AcDb2dVertex", true, {{L"AcDbVertex", {}}, {L"AcDb2dVertex", {}, true}}},
    {L"AcDb3dPolylineVertex", true, {{L"AcDbVertex", {}}, {L"AcDb3dPolylineVertex", {}, true}}},
    {L"AcDbPolyFaceMesh", true, {{L"AcDbPolyFaceMesh", {}, true}}},
    {L"AcDbPolygonMesh", true, {{L"AcDbPolygonMesh", {}, true}}},
    {L"AcDbPolyFaceMeshVertex", true, {{L"AcDbVertex", {}}, {L"AcDbPolyFaceMeshVertex", {}, true}}},
    {L"AcDbFaceRecord", true, {{L"AcDbFaceRecord", {}, true}}},
    {L"AcDbPolygonMeshVertex", true, {{L"AcDbVertex", {}}, {L"AcDbPolygonMeshVertex", {}, true}}},
    {L"AcDbSequenceEnd", true, {}},
    {L"AcDbFace", true, {{L"AcDbFace", {}, true}}},
    {L"AcDbLayerTableRecord", false, {{L"AcDbSymbolTableRecord", {}}, {L"AcDbLayerTableRecord", {}, true}}},
    {L"AcDbLinetypeTableRecord",
     false,
     {{L"AcDbSymbolTableRecord", {}}, {L"AcDbLinetypeTableRecord", {}, true}}},
    {L"AcDbTextStyleTableRecord",
     false,
     {{L"AcDbSymbolTableRecord", {}}, {L"AcDbTextStyleTableRecord", {}, true}}},
    {L"AcDbRegAppTableRecord", false, {{L"AcDbSymbolTableRecord", {}}, {L"AcDbRegAppTableRecord", {}, true}}},
    {L"AcDbViewportTableRecord",
     false,
     {{L"AcDbSymbolTableRecord", {}}, {L"AcDbViewportTableRecord", {}, true}}},
    {L"AcDbViewTableRecord", false, {{L"AcDbSymbolTableRecord", {}}, {L"AcDbViewTableRecord", {}, true}}},
    {L"AcDbUCSTableRecord", false, {{L"AcDbSymbolTableRecord", {}}, {L"AcDbUCSTableRecord", {}, true}}},
    {L"AcDbDimStyleTableRecord",
     false,
     {{L"AcDbSymbolTableRecord", {}}, {L"AcDbDimStyleTableRecord", {}, true}},
     105},
};

const Layout* layoutOf(std::wstring_view className) {
    const auto found = std::ranges::find(kLayouts, className, &Layout::className);
    return found == std::end(kLayouts) ? nullptr : found;
}

bool holds(std::initializer_list<short> codes, short code) {
    return std::ranges::find(codes, code) != codes.end();
}

// The groups of the object itself: its handle, its reactors and extension dictionary between braces, and
// its owner.
bool isObjectGroup(const Group& g, short handleCode, bool& inBraces) {
    if (g.code == 102) {
        inBraces = g.text().starts_with(L"{");
        return true;
    }
    return inBraces || g.code == handleCode || g.code == 330 || g.code == 360;
}

} // namespace

bool hasLegacyLayout(std::wstring_view className) {
    return layoutOf(className) != nullptr;
}

std::vector<Group> withSubclassMarkers(std::wstring_view className, std::vector<Group> groups) {
    const Layout* layout = layoutOf(className);
    if (!layout) return groups;
    const auto xdata = std::ranges::find(groups, short(AcDb::kDxfRegAppName), &Group::code);
    std::vector<Group> out;
    out.reserve(groups.size() + layout->subclasses.size() + 1);
    std::vector<bool> placed(groups.size());
    const auto own = [&](auto belongs) {
        for (std::size_t i = 0; i < static_cast<std::size_t>(xdata - groups.begin()); ++i)
            if (!placed[i] && belongs(groups[i])) {
                out.push_back(std::move(groups[i]));
                placed[i] = true;
            }
    };
    bool inBraces = false;
    own([&](const Group& g) { return isObjectGroup(g, layout->handleCode, inBraces); });
    const bool entityIsMain = layout->entity && layout->subclasses.size() == 0;
    if (layout->entity) {
        out.push_back({AcDb::kDxfSubclass, std::wstring(L"AcDbEntity")});
        own([&](const Group& g) { return entityIsMain || holds(kEntityCodes, g.code); });
    }
    for (const Subclass& subclass : layout->subclasses) {
        out.push_back({AcDb::kDxfSubclass, std::wstring(subclass.marker)});
        own([&](const Group& g) {
            if (holds(subclass.codes, g.code)) return true;
            if (!subclass.main) return false;
            // The main subclass leaves the others their codes.
            return std::ranges::none_of(layout->subclasses,
                                        [&](const Subclass& other) { return holds(other.codes, g.code); });
        });
    }
    out.insert(out.end(), std::make_move_iterator(xdata), std::make_move_iterator(groups.end()));
    return out;
}

} // namespace host
