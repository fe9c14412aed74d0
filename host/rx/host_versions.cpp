#include "host/rx/host_versions.h"

#include "host/db/database.h"
#include "host/editor/editor.h"
#include "host/editor/editor_commands.h"

namespace host {

namespace {

HostVersion& emulated() {
    static HostVersion version = HostVersion::Acad2021;
    return version;
}

} // namespace

std::optional<HostVersion> hostVersionNamed(std::string_view option) {
    for (const HostFacts& facts : kHosts)
        if (option == facts.option) return facts.version;
    return std::nullopt;
}

const HostFacts* hostAnswering(bool zrx, int apiVersion) {
    for (const HostFacts& facts : kHosts)
        if (facts.zrx == zrx && facts.apiVersion == apiVersion) return &facts;
    return nullptr;
}

const HostFacts& emulatedHost() {
    return hostFacts(emulated());
}

void emulateHost(HostVersion version) {
    AcRxDictionary* registry = acrxSysRegistry();
    for (bool zrx : {false, true}) {
        registry->remove(commandStackKey(zrx));
        registry->remove(editorKey(zrx));
    }
    const bool zrx = hostFacts(version).zrx;
    registry->atPut(commandStackKey(zrx), acedRegCmds);
    registry->atPut(editorKey(zrx), acedEditor);
    emulated() = version;
}

} // namespace host

const ACHAR* AcDbHostApplicationServices::getMachineRegistryProductRootKey() const {
    return host::emulatedHost().productRootKey;
}
