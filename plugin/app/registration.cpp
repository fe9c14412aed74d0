#include "plugin/app/registration.h"

#include <charconv>
#include <string>
#include <string_view>

#include "cadutil/command_line/print.h"
#include "cadutil/resbuf/text_convert.h"
#include "entity/core/poly_classes.h"
#include "entity/curve/extend_cache.h"
#include "entity/snaps/osnap_request.h"
#include "host/db/database.h"
#include "host/rx/app_info.h"
#include "platform/settings/registry.h"
#include "plugin/app/command_table.h"
#include "plugin/app/double_click.h"
#include "plugin/app/menu_install.h"
#include "plugin/app/module_file.h"
#include "services/settings/settings_store.h"
#include "services/startup/fvar.h"

namespace {

constexpr double kDefaultMaxDeviation = 0.02;

struct Registered {
    bool polyArc = false;
    bool tavro = false;
    AcDbDoubleClickEditPolyArc3D* doubleClick = nullptr;
};

Registered& registered() {
    static Registered state;
    return state;
}

// The library's largest chord deviation, when it has none: the setting "POLY_FLECHE_MAX", or 0.02 when that
// is absent or not positive either.
void readMaxDeviation() {
    if (vfVar.maxSagitta > 0) return;
    double setting = 0;
    const bool found = getr_ini("ZORTA", "ACAD", "lr", "POLY_FLECHE_MAX", &setting) > 0;
    vfVar.maxSagitta = found && setting > 0 ? setting : kDefaultMaxDeviation;
}

std::string_view trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Whether the setting "TAVROPOLY" asks for the legacy class: a number other than 0. A value that is not a
// number is reported and asks for nothing.
bool tavroPolyWanted() {
    char text[256] = "";
    if (gets_ini("ZORTA", "TAVRO", "lr", "TAVROPOLY", text, sizeof text) <= 0) return false;
    const std::string_view value = trimmed(text);
    double number = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (value.empty() || error != std::errc() || end != value.data() + value.size()) {
        g_printHook("\n*** R\xe9glage TAVROPOLY='%s' ([TAVRO] de ZORTA) : un nombre est attendu ; les "
                    "TAVROPOLY ne sont pas reconnues",
                    text);
        return false;
    }
    return static_cast<int>(number) != 0;
}

void attachDoubleClick() {
    AcRxClass* polyArc = PolyArc3D::desc();
    if (!polyArc) return;
    registered().doubleClick = new AcDbDoubleClickEditPolyArc3D;
    polyArc->addX(AcDbDoubleClickEdit::desc(), registered().doubleClick);
}

void detachDoubleClick() {
    if (!registered().doubleClick) return;
    if (AcRxClass* polyArc = PolyArc3D::desc()) polyArc->delX(AcDbDoubleClickEdit::desc());
    delete registered().doubleClick;
    registered().doubleClick = nullptr;
}

// The start-up flags under the host's product key, deleted once read; 0 when there are none.
std::uint32_t takeStartupFlags() {
    std::string key;
    for (const ACHAR* c = acdbHostApplicationServices()->getMachineRegistryProductRootKey(); *c; ++c)
        key += static_cast<char>(*c);
    key += "\\Applications\\ZORTAPOLYApp";
    using namespace platform::registry;
    std::optional<Value> value = queryValue(Hive::LocalMachine, key, "INITZORTAPOLY");
    if (!value || value->type != ValueType::Dword) return 0;
    deleteValue(Hive::LocalMachine, key, "INITZORTAPOLY");
    return value->number;
}

} // namespace

void registerClassesAndCommands() {
    // Before any entity exists.
    g_ExtendCache.reset();
    OsnapRequest::createRegistry();
    registered().polyArc = PolyArc3D::rxInit();
    acrxBuildClassHierarchy();
    readMaxDeviation();
    if (tavroPolyWanted()) registered().tavro = tavro_poly::rxInit();
    if (registered().polyArc) attachDoubleClick();
    registerCommands();
}

void registerDemandLoad() {
    AcadAppInfo info;
    info.setAppName(L"ZORTAPOLYApp");
    char path[1000];
    GetZortapolyFileName(path, sizeof path);
    g_printHook("\n ARX ZORTAPOLY :'%s' Loaded", path);
    info.setModuleName(codePageToWide(path).c_str());
    info.setAppDesc(L"ZORTA Polyline 3D+Arc arx ; Stereo application for autocad");
    info.setLoadReason(
        static_cast<AcadApp::LoadReasons>(AcadApp::kOnProxyDetection | AcadApp::kOnAutoCADStartup |
                                          AcadApp::kOnCommandInvocation | AcadApp::kOnLoadRequest));
    info.writeToRegistry();
    info.writeGroupNameToRegistry(kCommandGroup);
    for (int i = 0; i < kCommandCount; ++i)
        info.writeCommandNameToRegistry(g_CmdTable[i].name, g_CmdTable[i].name);
    g_InitFlags = takeStartupFlags();
}

void unloadRegistrations() {
    unregisterCommands();
    // The extension goes before its class.
    detachDoubleClick();
    if (registered().polyArc) PolyArc3D::rxUninit();
    if (registered().tavro) tavro_poly::rxUninit();
    registered() = Registered{};
    g_ExtendCache.tearDown();
    OsnapRequest::destroyRegistry();
}
