#pragma once
// The hosts that the headless host stands for: four releases of the ObjectARX host and one ZRX host. One host
// library serves them all. The one it emulates (AutoCAD 2021 unless told) decides which entry point a module
// must export and what its version handshake must answer, the names of the command stack and the editor in
// the system registry, and the product key of the machine registry. Modules see the host they are built for
// through host/target_host.h, which reads the same table.
#include <array>
#include <optional>
#include <string_view>

#include "host/rx/adesk.h"

namespace host {

enum class HostVersion { Acad2017, Acad2018, Acad2019, Acad2021, Zrx2021 };

struct HostFacts {
    HostVersion version;
    const char* option;          // as zhost --host takes it
    const char* product;         // as messages name it
    bool zrx;                    // the ZRX names: zcrxEntryPoint, "ZCAD_REGISTERED_COMMANDS", "ZcEditor", ...
    int apiVersion;              // what the version handshake of a module built for this host answers
    const ACHAR* productRootKey; // the product's key in the machine registry
};

inline constexpr std::array<HostFacts, 5> kHosts{{
    {HostVersion::Acad2017, "2017", "AutoCAD 2017", false, 21,
     L"Software\\Autodesk\\AutoCAD\\R21.0\\ACAD-0001:409"},
    {HostVersion::Acad2018, "2018", "AutoCAD 2018", false, 22,
     L"Software\\Autodesk\\AutoCAD\\R22.0\\ACAD-1001:409"},
    {HostVersion::Acad2019, "2019", "AutoCAD 2019", false, 23,
     L"Software\\Autodesk\\AutoCAD\\R23.0\\ACAD-3001:409"},
    {HostVersion::Acad2021, "2021", "AutoCAD 2021", false, 24,
     L"Software\\Autodesk\\AutoCAD\\R24.0\\ACAD-4101:409"},
    {HostVersion::Zrx2021, "zrx2021", "ZWCAD 2021", true, 21, L"Software\\ZWSOFT\\ZWCAD\\2021\\en-US"},
}};

constexpr const HostFacts& hostFacts(HostVersion version) {
    return kHosts[static_cast<std::size_t>(version)];
}

// The names that differ between the two families.
constexpr const char* entryPointName(bool zrx) {
    return zrx ? "zcrxEntryPoint" : "acrxEntryPoint";
}
constexpr const char* apiVersionName(bool zrx) {
    return zrx ? "zcrxGetApiVersion" : "acrxGetApiVersion";
}
constexpr const ACHAR* commandStackKey(bool zrx) {
    return zrx ? L"ZCAD_REGISTERED_COMMANDS" : L"ACAD_REGISTERED_COMMANDS";
}
constexpr const ACHAR* editorKey(bool zrx) {
    return zrx ? L"ZcEditor" : L"AcEditor";
}

// The host that zhost's option names ("2017" ... "2021", "zrx2021"); nothing for another text.
std::optional<HostVersion> hostVersionNamed(std::string_view option);
// The host whose modules answer `apiVersion` to the handshake of their family; null when none does.
const HostFacts* hostAnswering(bool zrx, int apiVersion);

const HostFacts& emulatedHost();
// Emulates `version` from now on: the command stack and the editor move to that family's names in the
// system registry.
void emulateHost(HostVersion version);

} // namespace host
