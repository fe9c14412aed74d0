// What the plug-in registers when it loads and takes back when it unloads: classes, the double-click
// extension, commands, the demand-load entry and the start-up flags, the library's chord deviation.
#include <gtest/gtest.h>

#include <filesystem>

#include "cadutil/database/spaces.h"
#include "entity/core/poly_classes.h"
#include "host/db/symbol_tables.h"
#include "host/editor/documents.h"
#include "host/editor/double_click_edit.h"
#include "host/editor/editor_commands.h"
#include "host/rx/app_info.h"
#include "host/rx/host_versions.h"
#include "platform/settings/registry.h"
#include "plugin/app/command_table.h"
#include "plugin/app/double_click.h"
#include "plugin/app/module_file.h"
#include "services/startup/fvar.h"
#include "tests/plugin/application_session.h"

using plugin::test::ApplicationSession;
using plugin::test::shown;

namespace {

std::string startupKey() {
    std::string key;
    for (const ACHAR* c = host::emulatedHost().productRootKey; *c; ++c)
        key += static_cast<char>(*c);
    return key + "\\Applications\\ZORTAPOLYApp";
}

// The library's chord deviation for one test.
struct MaxDeviation {
    explicit MaxDeviation(double value) : saved(vfVar.maxSagitta) { vfVar.maxSagitta = value; }
    ~MaxDeviation() { vfVar.maxSagitta = saved; }
    double saved;
};

double deviationAfterLoading(ApplicationSession& s, double before, const char* settings) {
    s.install.writeSettings(settings);
    MaxDeviation deviation(before);
    registerClassesAndCommands();
    const double after = vfVar.maxSagitta;
    unloadRegistrations();
    return after;
}

AcDbObjectId appendPolyline(AcDbDatabase& db) {
    auto* poly = new PolyArc3D;
    poly->A()->pt = CPoint3d(0, 0, 0);
    poly->A()->pt = CPoint3d(10, 0, 0);
    AcDbObjectId id;
    appendEntityToSpace(id, poly, 1, &db);
    poly->close();
    return id;
}

} // namespace

TEST(Registration, EverythingRegisteredIsTakenBack) {
    ApplicationSession s;
    registerClassesAndCommands();
    AcRxClass* polyArc = acrxFindAcRxClass(L"PolyArc3D");
    ASSERT_NE(polyArc, nullptr);
    EXPECT_EQ(acrxFindAcRxClass(L"tavro_poly"), nullptr) << "no setting asks for it";
    EXPECT_NE(dynamic_cast<AcDbDoubleClickEditPolyArc3D*>(polyArc->queryX(AcDbDoubleClickEdit::desc())),
              nullptr);
    EXPECT_EQ(acedRegCmds->commandCount(), kCommandCount);
    const AcEdCommand* convert = acedRegCmds->lookupCmd(L"_ZOR_PCONVERT");
    ASSERT_NE(convert, nullptr);
    EXPECT_STREQ(convert->groupName(), L"ZORTAPOLY_CMD");
    EXPECT_EQ(convert->commandFlags(), Acad::kUsePickSet | Acad::kRedraw);
    EXPECT_EQ(acedRegCmds->lookupCmd(L"ZOR_SETTEFCOLOR")->commandFlags(), Acad::kTransparent);
    unloadRegistrations();
    EXPECT_EQ(acrxFindAcRxClass(L"PolyArc3D"), nullptr);
    EXPECT_EQ(acedRegCmds->commandCount(), 0);
    registerClassesAndCommands();
    EXPECT_NE(acrxFindAcRxClass(L"PolyArc3D"), nullptr) << "registered again after an unload";
    EXPECT_EQ(acedRegCmds->commandCount(), kCommandCount);
}

TEST(Registration, TheLegacyClassFollowsTheTavroPolySetting) {
    ApplicationSession s;
    for (const char* value : {"1", " 2 ", "0.0", "0", "", "abc", "1x"}) {
        s.install.writeSettings(std::string("[TAVRO]\nTAVROPOLY=") + value + "\n");
        const int reports = shown(L"un nombre est attendu");
        registerClassesAndCommands();
        const bool wanted = std::string_view(value) == "1" || std::string_view(value) == " 2 ";
        EXPECT_EQ(acrxFindAcRxClass(L"tavro_poly") != nullptr, wanted) << value;
        const bool number = !std::string_view(value).starts_with("a") && std::string_view(value) != "1x";
        EXPECT_EQ(shown(L"un nombre est attendu") - reports, number ? 0 : 1) << value;
        unloadRegistrations();
        EXPECT_EQ(acrxFindAcRxClass(L"tavro_poly"), nullptr) << value;
        EXPECT_EQ(acrxFindAcRxClass(L"PolyArc3D"), nullptr) << value;
    }
    EXPECT_NE(s.transcript().find(L"TAVROPOLY='abc'"), std::wstring::npos) << "the value is named";
}

TEST(Registration, TheChordDeviationIsReadOnlyWhenTheLibraryHasNone) {
    ApplicationSession s;
    EXPECT_DOUBLE_EQ(deviationAfterLoading(s, 0.1, "[ACAD]\nPOLY_FLECHE_MAX=0.5\n"), 0.1);
    EXPECT_DOUBLE_EQ(deviationAfterLoading(s, 0, "[ACAD]\nPOLY_FLECHE_MAX=0.5\n"), 0.5);
    EXPECT_DOUBLE_EQ(deviationAfterLoading(s, 0, ""), 0.02);
    EXPECT_DOUBLE_EQ(deviationAfterLoading(s, -1, "[ACAD]\nPOLY_FLECHE_MAX=-3\n"), 0.02)
        << "a deviation that is not positive is never kept";
}

TEST(Registration, TheDemandLoadEntryAndTheStartupFlagsReadOnce) {
    ApplicationSession s;
    using namespace platform::registry;
    ASSERT_TRUE(setValue(Hive::LocalMachine, startupKey(), "INITZORTAPOLY", Value::dword(1)));
    registerDemandLoad();
    EXPECT_EQ(g_InitFlags, kMenuToInstall);
    EXPECT_FALSE(queryValue(Hive::LocalMachine, startupKey(), "INITZORTAPOLY")) << "deleted once read";
    const host::ApplicationEntry& entry = host::applicationEntries().at(L"ZORTAPOLYApp");
    EXPECT_EQ(entry.loadReasons, 15);
    EXPECT_EQ(entry.groups, std::vector<std::wstring>{L"ZORTAPOLY_CMD"});
    ASSERT_EQ(entry.commands.size(), 19u);
    EXPECT_EQ(entry.commands.back(), (std::pair<std::wstring, std::wstring>(L"ZOR_SDNC", L"ZOR_SDNC")));
    EXPECT_EQ(entry.description, L"ZORTA Polyline 3D+Arc arx ; Stereo application for autocad");
    EXPECT_TRUE(std::filesystem::path(entry.module).is_absolute());
    EXPECT_NE(s.transcript().find(L" ARX ZORTAPOLY :'" + entry.module + L"' Loaded"), std::wstring::npos);
    registerDemandLoad();
    EXPECT_EQ(g_InitFlags, 0u) << "the value is gone";
}

TEST(Registration, TheModuleFileNameIsCutToTheBuffer) {
    char name[1000];
    const unsigned long length = GetZortapolyFileName(name, sizeof name);
    ASSERT_GT(length, 0u);
    EXPECT_EQ(std::string(name).size(), length);
    char small[5] = "xxxx";
    EXPECT_EQ(GetZortapolyFileName(small, sizeof small), sizeof small) << "cut: the size is answered";
    EXPECT_EQ(std::string(small), std::string(name, 4));
    EXPECT_EQ(GetZortapolyFileName(small, 0), 0u);
}

TEST(DoubleClick, APolylineIsClosedAndEditedUnderTheDocumentLock) {
    ApplicationSession s;
    registerClassesAndCommands();
    const AcDbObjectId poly = appendPolyline(*s.drawing.db);
    const AcDbObjectId line = s.addSegment(AcGePoint3d(0, 5, 0), AcGePoint3d(10, 5, 0));
    const int locks = acDocManager->lockCalls();
    EXPECT_TRUE(host::doubleClickEntity(poly, AcGePoint3d(9, 0, 0)));
    EXPECT_EQ(acDocManager->lockCalls(), locks + 1);
    EXPECT_EQ(curDoc()->lockDepth(), 0) << "the lock is given back";
    AcDbEntity* entity = nullptr;
    ASSERT_EQ(acdbOpenObject(entity, poly, AcDb::kForWrite), Acad::eOk) << "the polyline was closed";
    entity->close();
    EXPECT_FALSE(host::doubleClickEntity(line, AcGePoint3d(5, 5, 0))) << "other entities have no edit";
}
