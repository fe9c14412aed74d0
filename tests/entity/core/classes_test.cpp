// The class family: registration with the host, recognition of its objects, the last kind changed.
#include <gtest/gtest.h>

#include <memory>

#include "geometry/points/angle_units.h"
#include "tests/entity/poly_test_support.h"
#include "tests/host/host_test_support.h"
#include "tests/services/recording_screens.h"

namespace {

// A curve of another module.
class ForeignCurve : public AcDbCurve {};

TEST(Classes, RegisteredWithTheirNamesVersionsAndFlags) {
    poly_test::RegisteredClasses classes;
    struct Expected {
        AcRxClass* c;
        const wchar_t* name;
        const wchar_t* dxfName;
    };
    for (const Expected& e : {Expected{PolyArc3D::desc(), L"PolyArc3D", L"ZORTAPOLY"},
                              Expected{tavro_poly::desc(), L"tavro_poly", L"TAVROPOLY"}}) {
        ASSERT_NE(e.c, nullptr);
        EXPECT_STREQ(e.c->name(), e.name);
        EXPECT_STREQ(e.c->dxfName(), e.dxfName);
        EXPECT_EQ(e.c->myParent(), AcDbCurve::desc());
        EXPECT_EQ(e.c->proxyFlags(), 3071);
        int dwg = 0, maintenance = 0;
        e.c->getClassVersion(dwg, maintenance);
        EXPECT_EQ(dwg, 33);
        EXPECT_EQ(maintenance, 174);
        std::unique_ptr<AcRxObject> made(e.c->create());
        EXPECT_EQ(made->isA(), e.c);
    }
    EXPECT_STREQ(PolyArc3D::className(), L"PolyArc3D");
    EXPECT_STREQ(tavro_poly::className(), L"tavro_poly");
    // Registering again is no clash.
    EXPECT_TRUE(PolyArc3D::rxInit());
}

TEST(Classes, AClassOfTheSameNameFromAnotherModuleIsRefusedNotFatal) {
    testing_support::RecordingScreens screens;
    screens.global.open = true;
    AcRxClass* other = newAcRxClass(L"PolyArc3D", L"AcDbCurve", 1, 1, 0, nullptr, L"OTHERPOLY");
    ASSERT_NE(other, nullptr);
    EXPECT_FALSE(PolyArc3D::rxInit());
    EXPECT_NE(screens.global.printed.find("PolyArc3D::rxInit()"), std::string::npos);
    EXPECT_EQ(acrxFindAcRxClass(L"PolyArc3D"), other);
    deleteAcRxClass(other);
    PolyArc3D::rxUninit();

    // The DXF name taken by another class.
    AcRxClass* taker = newAcRxClass(L"Other", L"AcDbCurve", 1, 1, 0, nullptr, L"ZORTAPOLY");
    EXPECT_FALSE(PolyArc3D::rxInit());
    EXPECT_EQ(acrxFindAcRxClass(L"PolyArc3D"), nullptr);
    deleteAcRxClass(taker);
    EXPECT_TRUE(PolyArc3D::rxInit());
    PolyArc3D::rxUninit();
    EXPECT_EQ(acrxFindAcRxClass(L"PolyArc3D"), nullptr);
}

TEST(Classes, RecognisingTheFamily) {
    poly_test::RegisteredClasses classes;
    PolyArc3D poly;
    tavro_poly tavro;
    CPolyArc3D bare;
    ForeignCurve foreign;
    AcDbDatabase db;
    EXPECT_EQ(isCPolyArc3D(nullptr), 0);
    EXPECT_EQ(isCPolyArc3D(&poly), 2);
    EXPECT_EQ(isCPolyArc3D(&tavro), 1);
    EXPECT_EQ(isCPolyArc3D(&bare), 10);
    EXPECT_EQ(isCPolyArc3D(&foreign), 0);
    EXPECT_EQ(isCPolyArc3D(&db), 0);
    EXPECT_EQ(CPolyArc3D::cast(&poly), &poly);
    EXPECT_EQ(CPolyArc3D::cast(&foreign), nullptr);
    EXPECT_EQ(CPolyArc3D::castPolyArc3D(static_cast<AcRxObject*>(&bare)), &bare);
    EXPECT_EQ(PolyArc3D::cast(&poly), &poly);
    EXPECT_EQ(PolyArc3D::cast(&tavro), nullptr);
    EXPECT_EQ(tavro_poly::cast(&tavro), &tavro);
    EXPECT_EQ(tavro_poly::cast(nullptr), nullptr);
    EXPECT_EQ(bare.isA(), AcDbCurve::desc());
}

TEST(Classes, AClassRegisteredAgainIsRecognised) {
    poly_test::RegisteredClasses classes;
    PolyArc3D poly;
    EXPECT_EQ(isCPolyArc3D(&poly), 2);
    // As after the module was unloaded and loaded again.
    PolyArc3D::rxUninit();
    ASSERT_TRUE(PolyArc3D::rxInit());
    EXPECT_EQ(poly.isA(), acrxFindAcRxClass(L"PolyArc3D"));
    EXPECT_EQ(isCPolyArc3D(&poly), 2);
}

// A curve of another module whose class carries the entity's DXF name.
class Impostor : public AcDbCurve {
public:
    AcRxClass* isA() const override { return acrxFindAcRxClass(L"Impostor"); }
};

TEST(Classes, AnObjectOfAnotherClassIsNeverTakenForOneByItsDxfName) {
    AcDbCurve::desc();
    AcRxClass* c = newAcRxClass(L"Impostor", L"AcDbCurve", 1, 1, 0, nullptr, L"ZORTAPOLY");
    ASSERT_NE(c, nullptr);
    Impostor impostor;
    EXPECT_EQ(isCPolyArc3D(&impostor), 0);
    EXPECT_EQ(CPolyArc3D::cast(&impostor), nullptr);
    deleteAcRxClass(c);
}

TEST(Classes, UnregisteredObjectsShowThePlainCurveClass) {
    PolyArc3D poly;
    EXPECT_EQ(PolyArc3D::desc(), nullptr);
    EXPECT_EQ(poly.isA(), AcDbCurve::desc());
    EXPECT_EQ(isCPolyArc3D(&poly), 10);
    EXPECT_EQ(CPolyArc3D::desc(), nullptr);
}

TEST(Classes, TheClassDescribedIsTheKindLastChanged) {
    poly_test::RegisteredClasses classes;
    PolyArc3D poly;
    tavro_poly tavro;
    CPolyArc3D bare;
    EXPECT_EQ(CPolyArc3D::desc(), PolyArc3D::desc()); // 2 at load
    tavro.A();
    EXPECT_EQ(CPolyArc3D::desc(), tavro_poly::desc());
    bare.A(); // a bare entity leaves the last kind alone
    EXPECT_EQ(CPolyArc3D::desc(), tavro_poly::desc());
    poly.setLastFlagCPolyArc3D();
    EXPECT_EQ(CPolyArc3D::desc(), PolyArc3D::desc());
    tavro_poly::rxUninit();
    tavro.A();
    EXPECT_EQ(CPolyArc3D::desc(), PolyArc3D::desc());
}

TEST(Classes, NewObjectsOfTheSameClass) {
    poly_test::RegisteredClasses classes;
    PolyArc3D poly;
    tavro_poly tavro;
    CPolyArc3D bare;
    for (CPolyArc3D* source : {static_cast<CPolyArc3D*>(&poly), static_cast<CPolyArc3D*>(&tavro), &bare}) {
        std::unique_ptr<CPolyArc3D> made(source->newCPolyArc3D());
        ASSERT_NE(made, nullptr);
        EXPECT_EQ(made->isA(), source->isA());
        EXPECT_EQ(made->kindWord(), source->kindWord());
        EXPECT_EQ(made->GetCount(), 0);
        made->f39(_RVIDE); // the empty height is kept as 0
        EXPECT_EQ(made->f39(), 0.0);
    }
}

} // namespace
