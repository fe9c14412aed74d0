#pragma once
// The registered classes of the entity: PolyArc3D (DXF "ZORTAPOLY"), always registered, and the legacy
// tavro_poly (DXF "TAVROPOLY"), registered when the setting "TAVROPOLY" asks for it. Both have the layout of
// CPolyArc3D; only their kind and their drawing differ.
#include "entity/core/poly_arc3d.h"

// What both registered classes share: their class with the host, its look-up and their creation.
template <class Self> class RegisteredPoly : public CPolyArc3D {
public:
    // The registered class, looked up by name while it is not known; null when not registered.
    static inline AcRxClass* gpDesc = nullptr;
    static AcRxClass* desc();
    // o when its class is this one or derives from it, else null.
    static Self* cast(const AcRxObject* o);
    // An object whose class is not registered shows the host the plain curve class.
    AcRxClass* isA() const override;

    // Registers the class. A name that another class holds is refused and reported: false.
    static bool rxInit(AppNameChangeFuncPtr callback = nullptr);
    // Unregisters the class that rxInit registered.
    static void rxUninit();

    CPolyArc3D* newCPolyArc3D() override { return allocate<Self>(); }

protected:
    RegisteredPoly() { setKind(Self::kKind); }

private:
    // The host's create callback.
    static AcRxObject* createObject() { return allocate<Self>(); }
};

class PolyArc3D : public RegisteredPoly<PolyArc3D> {
public:
    static constexpr int kKind = kPolyArcKind;
    static const ACHAR* className() { return L"PolyArc3D"; }
    static const ACHAR* dxfName() { return L"ZORTAPOLY"; }

    // Straight and arc segments in the colours of their vertex codes, under selection markers 1, 2, ...,
    // with the offset lines of their widths and the bands of their heights; as one polyline when nothing
    // sets a segment apart. The draw flag word chooses lightweight drawing and proxy graphics.
    bool subWorldDraw(AcGiWorldDraw* draw) override;
    // The offset polyline at offsetDist (positive on the right), a new entity of this class that the caller
    // owns; eInvalidInput when no offset can be made.
    Acad::ErrorStatus getOffsetCurves(double offsetDist, AcDbVoidPtrArray& offsetCurves) const override;
    // The source itself when it is a PolyArc3D, else a new one made from it by `from` with the flags (its id,
    // when it got one, in id); null when the source cannot be converted.
    static PolyArc3D* FromEntity(AcDbEntity* source, AcDbObjectId* id, int flags);
    // As CPolyArc3D's, each host vertex in the colour of its vertex code (the polyline's colour without
    // one); to3d keeps the entity properties whatever the flags and cuts arcs for any deviation but 0 (a
    // negative one: the library's).
    AcDb2dPolyline* to2d(int flags, AcDbObjectId* id) override;
    AcDb3dPolyline* to3d(int flags, double maxDeviation, AcDbObjectId* id) override;

    // Host polylines made of this one. options: the first letter the output ('L' lightweight, the default,
    // '2' 2-D, '3' 3-D, any other automatic: 3-D for a tilted polyline), 'T' one polyline per run of one
    // vertex code, 'H' and 'I' the hatch and symbols of the cartographic style; the polyline is split at its
    // breaks when any of these counts. The products go to `output` when given, else into the space of the
    // database (null: this polyline's; space below 0: its own space). A deviation not above 0 is the
    // library's. eOk (also for an empty polyline); eInvalidInput, nothing made, when a conversion is refused.
    Acad::ErrorStatus explodeZor(AcDbVoidPtrArray* output, const char* options, double maxDeviation,
                                 AcDbObjectIdArray* errorIds, AcDbDatabase* database, int space);
    // The host's explode: into the array, "AHIT" unless the draw flag word leaves styles out ("A").
    using CPolyArc3D::subExplode;
    Acad::ErrorStatus subExplode(AcDbVoidPtrArray& entities) const override;
};

class tavro_poly : public RegisteredPoly<tavro_poly> {
public:
    static constexpr int kKind = kTavroKind;
    static const ACHAR* className() { return L"tavro_poly"; }
    static const ACHAR* dxfName() { return L"TAVROPOLY"; }

    // Registers the class and reads the setting "TAVROPOLY" (file "ZORTA", section "TAVRO") that decides how
    // legacy entities are drawn.
    static bool rxInit(AppNameChangeFuncPtr callback = nullptr);
    // The setting as read by rxInit; bit value 2 replaces legacy entities by PolyArc3D ones when drawn.
    static int m_iniTavroPoly;

    // Draws as a PolyArc3D; with the replacing setting, a resident entity open for write (or that can be)
    // is replaced by a new PolyArc3D instead and nothing is drawn.
    bool subWorldDraw(AcGiWorldDraw* draw) override;

private:
    void replaceByPolyArc3D();
};

extern template class RegisteredPoly<PolyArc3D>;
extern template class RegisteredPoly<tavro_poly>;
