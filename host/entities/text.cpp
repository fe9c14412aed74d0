#include "host/entities/text.h"

#include "host/db/database.h"
#include "host/db/symbol_tables.h"
#include "host/filing/dwg_filer.h"

HOST_DEFINE_MEMBERS(AcDbText, AcDbEntity, L"TEXT")

namespace {
// Average width of a character relative to the text height, for extents.
constexpr double kCharacterWidth = 0.8;
} // namespace

AcDbText::AcDbText(const AcGePoint3d& position, const ACHAR* text, AcDbObjectId style, double height,
                   double rotation)
    : m_position(position), m_text(text ? text : L""), m_rotation(rotation) {
    if (height > 0) m_height = height;
    if (auto* record = host::objectOf<AcDbTextStyleTableRecord>(style)) m_style = record->name();
}

Acad::ErrorStatus AcDbText::setPosition(const AcGePoint3d& position) {
    return setField(m_position, position);
}

Acad::ErrorStatus AcDbText::setAlignmentPoint(const AcGePoint3d& point) {
    return setField(m_alignment, point);
}

ACHAR* AcDbText::textString() const {
    return acutNewString(m_text.c_str());
}

Acad::ErrorStatus AcDbText::setTextString(const ACHAR* text) {
    assertWriteEnabled();
    m_text = text ? text : L"";
    return Acad::eOk;
}

Acad::ErrorStatus AcDbText::setHeight(double height) {
    return setPositiveField(m_height, height);
}

Acad::ErrorStatus AcDbText::setRotation(double rotation) {
    return setField(m_rotation, rotation);
}

Acad::ErrorStatus AcDbText::setWidthFactor(double factor) {
    return setPositiveField(m_widthFactor, factor);
}

Acad::ErrorStatus AcDbText::setOblique(double angle) {
    return setField(m_oblique, angle);
}

Acad::ErrorStatus AcDbText::setNormal(const AcGeVector3d& normal) {
    return setNormalField(m_normal, normal);
}

AcDbObjectId AcDbText::textStyle() const {
    AcDbDatabase* db = databaseOrWorking();
    return db ? db->textStyleId(m_style) : AcDbObjectId();
}

Acad::ErrorStatus AcDbText::setTextStyle(AcDbObjectId style) {
    auto* record = host::objectOf<AcDbTextStyleTableRecord>(style);
    if (!record) return Acad::eInvalidInput;
    assertWriteEnabled();
    m_style = record->name();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbText::setHorizontalMode(int mode) {
    return setField(m_horizontal, mode);
}

Acad::ErrorStatus AcDbText::setVerticalMode(int mode) {
    return setField(m_vertical, mode);
}

AcGeVector3d AcDbText::direction() const {
    AcGeVector3d x = host::ocsXAxis(m_normal), y = m_normal.crossProduct(x);
    return x * std::cos(m_rotation) + y * std::sin(m_rotation);
}

double AcDbText::unitLength() const {
    return m_height * kCharacterWidth * static_cast<double>(m_text.size());
}

Acad::ErrorStatus AcDbText::adjustAlignment(const AcDbDatabase*) {
    if (m_horizontal == AcDb::kTextAlign || m_horizontal == AcDb::kTextFit) {
        const AcGeVector3d span = m_alignment - m_position;
        const AcGeVector3d baseline = span - m_normal * span.dotProduct(m_normal);
        if (baseline.isZeroLength() || m_text.empty()) return Acad::eInvalidInput;
        assertWriteEnabled();
        const AcGeVector3d x = host::ocsXAxis(m_normal), y = m_normal.crossProduct(x);
        m_rotation = std::atan2(baseline.dotProduct(y), baseline.dotProduct(x));
        if (m_horizontal == AcDb::kTextAlign)
            m_height =
                baseline.length() / (kCharacterWidth * m_widthFactor * static_cast<double>(m_text.size()));
        else
            m_widthFactor = baseline.length() / unitLength();
        return Acad::eOk;
    }
    if (m_horizontal == AcDb::kTextLeft && m_vertical == AcDb::kTextBase) return Acad::eOk;
    // Glyphs are not measured: the bottom is taken as the baseline, the middle as half the height.
    const double along = m_horizontal == AcDb::kTextRight ? 1 : m_horizontal == AcDb::kTextLeft ? 0 : 0.5;
    const double up = m_vertical == AcDb::kTextTop                                         ? 1
                      : m_vertical == AcDb::kTextVertMid || m_horizontal == AcDb::kTextMid ? 0.5
                                                                                           : 0;
    assertWriteEnabled();
    m_position = m_alignment - direction() * (unitLength() * m_widthFactor * along) -
                 m_normal.crossProduct(direction()) * (m_height * up);
    return Acad::eOk;
}

bool AcDbText::subWorldDraw(AcGiWorldDraw* draw) {
    draw->geometry().text(m_position, m_normal, direction(), m_height, m_widthFactor, m_oblique,
                          m_text.c_str());
    return true;
}

Acad::ErrorStatus AcDbText::subGetGeomExtents(AcDbExtents& extents) const {
    AcGeVector3d along = direction() * (unitLength() * m_widthFactor);
    AcGeVector3d up = m_normal.crossProduct(direction()) * m_height;
    extents.addPoint(m_position);
    extents.addPoint(m_position + along);
    extents.addPoint(m_position + up);
    extents.addPoint(m_position + along + up);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbText::subTransformBy(const AcGeMatrix3d& xform) {
    AcGeVector3d dir = AcGeVector3d(direction()).transformBy(xform);
    AcGeVector3d normal = AcGeVector3d(m_normal).transformBy(xform);
    if (dir.isZeroLength() || normal.isZeroLength()) return Acad::eInvalidInput;
    assertWriteEnabled();
    m_position.transformBy(xform);
    m_alignment.transformBy(xform);
    m_height *= dir.length();
    m_normal = normal.normal();
    AcGeVector3d x = host::ocsXAxis(m_normal), y = m_normal.crossProduct(x);
    m_rotation = std::atan2(dir.dotProduct(y), dir.dotProduct(x));
    return Acad::eOk;
}

Acad::ErrorStatus AcDbText::dwgInFields(AcDbDwgFiler* filer) {
    AcDbEntity::dwgInFields(filer);
    Adesk::Int16 horizontal = 0, vertical = 0;
    filer->readPoint3d(&m_position);
    filer->readPoint3d(&m_alignment);
    filer->readString(m_text);
    filer->readString(m_style);
    filer->readDouble(&m_height);
    filer->readDouble(&m_rotation);
    filer->readDouble(&m_widthFactor);
    filer->readDouble(&m_oblique);
    filer->readDouble(&m_thickness);
    readNormal(filer, m_normal);
    filer->readInt16(&horizontal);
    filer->readInt16(&vertical);
    m_horizontal = horizontal;
    m_vertical = vertical;
    return filer->filerStatus();
}

Acad::ErrorStatus AcDbText::dwgOutFields(AcDbDwgFiler* filer) const {
    AcDbEntity::dwgOutFields(filer);
    filer->writePoint3d(m_position);
    filer->writePoint3d(m_alignment);
    filer->writeString(m_text);
    filer->writeString(m_style);
    filer->writeDouble(m_height);
    filer->writeDouble(m_rotation);
    filer->writeDouble(m_widthFactor);
    filer->writeDouble(m_oblique);
    filer->writeDouble(m_thickness);
    filer->writeVector3d(m_normal);
    filer->writeInt16(static_cast<Adesk::Int16>(m_horizontal));
    return filer->writeInt16(static_cast<Adesk::Int16>(m_vertical));
}

void AcDbText::readTextGroup(const resbuf& rb) {
    if (readThicknessOrNormal(rb, m_thickness, m_normal)) return;
    switch (rb.restype) {
    case 10:
        m_position = asPoint(rb);
        break;
    case 11:
        m_alignment = asPoint(rb);
        break;
    case 1:
        m_text = rb.resval.rstring;
        break;
    case 7:
        m_style = rb.resval.rstring;
        break;
    case 40:
        m_height = rb.resval.rreal;
        break;
    case 41:
        m_widthFactor = rb.resval.rreal;
        break;
    case 50:
        m_rotation = rb.resval.rreal / host::kDegrees;
        break;
    case 51:
        m_oblique = rb.resval.rreal / host::kDegrees;
        break;
    case 72:
        m_horizontal = rb.resval.rint;
        break;
    case 73:
        m_vertical = rb.resval.rint;
        break;
    default:
        break;
    }
}

Acad::ErrorStatus AcDbText::dxfInFields(AcDbDxfFiler* filer) {
    if (Acad::ErrorStatus es = AcDbEntity::dxfInFields(filer); es != Acad::eOk) return es;
    // Points are in the text's plane.
    Acad::ErrorStatus es = readSubclass(filer, L"AcDbText", [this](const resbuf& rb) { readTextGroup(rb); });
    if (es == Acad::eOk) es = readLastSubclass(filer);
    AcGeMatrix3d toWorld = AcGeMatrix3d::planeToWorld(m_normal);
    m_position.transformBy(toWorld);
    m_alignment.transformBy(toWorld);
    return es;
}

Acad::ErrorStatus AcDbText::readLastSubclass(AcDbDxfFiler* filer) {
    if (!filer->atSubclassData(L"AcDbText")) return Acad::eOk;
    return host::readSubclassGroups(filer, [this](const resbuf& rb) { readTextGroup(rb); });
}

void AcDbText::writeLastSubclass(AcDbDxfFiler* filer) const {
    filer->writeString(100, L"AcDbText");
    if (m_vertical != 0) filer->writeInt16(73, static_cast<Adesk::Int16>(m_vertical));
}

Acad::ErrorStatus AcDbText::dxfOutFields(AcDbDxfFiler* filer) const {
    AcDbEntity::dxfOutFields(filer);
    AcGeMatrix3d toPlane = AcGeMatrix3d::worldToPlane(m_normal);
    filer->writeString(100, L"AcDbText");
    if (m_thickness != 0) filer->writeDouble(39, m_thickness);
    filer->writePoint3d(10, AcGePoint3d(m_position).transformBy(toPlane));
    filer->writeDouble(40, m_height);
    filer->writeString(1, m_text);
    if (m_rotation != 0) filer->writeDouble(50, m_rotation * host::kDegrees);
    if (m_widthFactor != 1) filer->writeDouble(41, m_widthFactor);
    if (m_oblique != 0) filer->writeDouble(51, m_oblique * host::kDegrees);
    filer->writeString(7, m_style);
    if (m_horizontal != 0) filer->writeInt16(72, static_cast<Adesk::Int16>(m_horizontal));
    if (m_horizontal != 0 || m_vertical != 0)
        filer->writePoint3d(11, AcGePoint3d(m_alignment).transformBy(toPlane));
    if (m_normal != AcGeVector3d::kZAxis) filer->writeVector3d(210, m_normal);
    writeLastSubclass(filer);
    return filer->filerStatus();
}
