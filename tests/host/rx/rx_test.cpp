// Class registry: hierarchy, creation, clashes, protocol extensions and services.
#include <gtest/gtest.h>

#include "host/db/dictionary.h"
#include "host/rx/rx.h"

namespace {
AcRxObject* makeXrecord() {
    return new AcDbXrecord;
}
} // namespace

TEST(ClassRegistry, HostClassesFormAHierarchy) {
    EXPECT_TRUE(AcDbXrecord::desc()->isDerivedFrom(AcDbObject::desc()));
    EXPECT_FALSE(AcDbObject::desc()->isDerivedFrom(AcDbXrecord::desc()));
    AcDbXrecord record;
    EXPECT_TRUE(record.isKindOf(AcRxObject::desc()));
    EXPECT_EQ(AcDbDictionary::cast(&record), nullptr);
    EXPECT_EQ(AcDbXrecord::cast(&record), &record);
    EXPECT_EQ(acrxFindAcRxClass(L"AcDbXrecord"), AcDbXrecord::desc());
    EXPECT_EQ(host::findClassByDxfName(L"XRECORD"), AcDbXrecord::desc());
}

TEST(ClassRegistry, ModuleClassesRegisterOnceAndUnregisterCleanly) {
    AcRxClass* c =
        newAcRxClass(L"TestRecord", L"AcDbXrecord", 33, 174, 0xBFF, makeXrecord, L"TESTRECORD", L"tests");
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->myParent(), AcDbXrecord::desc());
    int dwg = 0, maintenance = 0;
    c->getClassVersion(dwg, maintenance);
    EXPECT_EQ(dwg, 33);
    EXPECT_EQ(maintenance, 174);
    EXPECT_EQ(c->proxyFlags(), 0xBFF);
    EXPECT_EQ(newAcRxClass(L"TestRecord", L"AcDbObject", 0, 0, 0, nullptr), nullptr) << "clash refused";
    EXPECT_EQ(newAcRxClass(L"Other", L"AcDbObject", 0, 0, 0, nullptr, L"TESTRECORD"), nullptr)
        << "a DXF name clash too";
    AcRxObject* made = c->create();
    ASSERT_NE(made, nullptr);
    delete made;
    EXPECT_EQ(deleteAcRxClass(AcDbXrecord::desc()), Acad::eInvalidInput) << "host classes stay";
    EXPECT_EQ(deleteAcRxClass(c), Acad::eOk);
    EXPECT_EQ(acrxFindAcRxClass(L"TestRecord"), nullptr);
    EXPECT_EQ(host::findClassByDxfName(L"TESTRECORD"), nullptr);
}

TEST(ClassRegistry, ParentsRegisteredLaterAreLinkedByTheHierarchyBuild) {
    AcRxClass* child = newAcRxClass(L"LateChild", L"LateParent", 0, 0, 0, nullptr);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child->myParent(), nullptr);
    AcRxClass* parent = newAcRxClass(L"LateParent", L"AcDbObject", 0, 0, 0, nullptr);
    acrxBuildClassHierarchy();
    EXPECT_EQ(child->myParent(), parent);
    EXPECT_TRUE(child->isDerivedFrom(AcDbObject::desc()));
    host::resetRuntime();
    EXPECT_EQ(acrxFindAcRxClass(L"LateChild"), nullptr);
    EXPECT_TRUE(host::moduleClasses().empty());
}

TEST(ClassRegistry, ProtocolExtensionsAreFoundThroughParents) {
    AcRxService extension;
    EXPECT_EQ(AcDbObject::desc()->addX(AcRxService::desc(), &extension), nullptr);
    AcDbXrecord record;
    EXPECT_EQ(record.queryX(AcRxService::desc()), &extension);
    EXPECT_EQ(AcDbObject::desc()->delX(AcRxService::desc()), &extension);
    EXPECT_EQ(record.queryX(AcRxService::desc()), nullptr);
}

TEST(Services, RegisterFindAndRemove) {
    EXPECT_FALSE(acrxServiceIsRegistered(L"ZortaPoly"));
    AcRxObject* service = acrxRegisterService(L"ZortaPoly");
    EXPECT_TRUE(acrxServiceIsRegistered(L"ZortaPoly"));
    EXPECT_EQ(acrxRegisterService(L"ZortaPoly"), service);
    delete acrxServiceDictionary()->remove(L"ZortaPoly");
    EXPECT_FALSE(acrxServiceIsRegistered(L"ZortaPoly"));
}

TEST(Abort, ThrowsInsteadOfEndingTheProcess) {
    EXPECT_THROW(acrx_abort(L"Class mismatch %s", L"PolyArc3D"), host::HostAbort);
}
