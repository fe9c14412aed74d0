#pragma once
// Single-line text.
#include <string>

#include "host/entities/entity.h"

class AcDbText : public AcDbEntity {
    HOST_DECLARE_MEMBERS(AcDbText)
public:
    AcDbText() = default;
    AcDbText(const AcGePoint3d& position, const ACHAR* text, AcDbObjectId style = AcDbObjectId(),
             double height = 0, double rotation = 0);
    AcGePoint3d position() const { return m_position; }
    Acad::ErrorStatus setPosition(const AcGePoint3d& position);
    AcGePoint3d alignmentPoint() const { return m_alignment; }
    Acad::ErrorStatus setAlignmentPoint(const AcGePoint3d& point);
    // A copy the caller frees with acutDelString.
    ACHAR* textString() const;
    const ACHAR* textStringConst() const { return m_text.c_str(); }
    Acad::ErrorStatus setTextString(const ACHAR* text);
    double height() const { return m_height; }
    Acad::ErrorStatus setHeight(double height);
    double rotation() const { return m_rotation; }
    Acad::ErrorStatus setRotation(double rotation);
    double widthFactor() const { return m_widthFactor; }
    Acad::ErrorStatus setWidthFactor(double factor);
    double oblique() const { return m_oblique; }
    Acad::ErrorStatus setOblique(double angle);
    AcGeVector3d normal() const { return m_normal; }
    Acad::ErrorStatus setNormal(const AcGeVector3d& normal);
    AcDbObjectId textStyle() const;
    Acad::ErrorStatus setTextStyle(AcDbObjectId style);
    int horizontalMode() const { return m_horizontal; }
    Acad::ErrorStatus setHorizontalMode(int mode);
    int verticalMode() const { return m_vertical; }
    Acad::ErrorStatus setVerticalMode(int mode);
    // Places the text on its alignment point after its justification: the start point moves by the estimated
    // width and height; an aligned text takes the height and a fitted one the width factor that span the
    // baseline from the start point to the alignment point, and both their direction. A left-justified text
    // stays where it starts. eInvalidInput for an aligned or fitted text without characters or
    // whose two points meet.
    Acad::ErrorStatus adjustAlignment(const AcDbDatabase* db = nullptr);

    bool subWorldDraw(AcGiWorldDraw* draw) override;
    // The box of the text line, its width estimated from the height and the number of characters.
    Acad::ErrorStatus subGetGeomExtents(AcDbExtents& extents) const override;
    Acad::ErrorStatus subTransformBy(const AcGeMatrix3d& xform) override;

    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;
    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

protected:
    // The last subclass of the groups: a text's second AcDbText holds its vertical alignment (73), an
    // attribute's own subclass its tag and flags.
    virtual Acad::ErrorStatus readLastSubclass(AcDbDxfFiler* filer);
    virtual void writeLastSubclass(AcDbDxfFiler* filer) const;

private:
    void readTextGroup(const resbuf& rb);
    AcGeVector3d direction() const;
    // The estimated length of the text line at a width factor of 1.
    double unitLength() const;
    AcGePoint3d m_position, m_alignment;
    std::wstring m_text;
    std::wstring m_style = L"Standard";
    double m_height = 2.5, m_rotation = 0, m_widthFactor = 1, m_oblique = 0, m_thickness = 0;
    AcGeVector3d m_normal = AcGeVector3d::kZAxis;
    int m_horizontal = 0, m_vertical = 0;
};
