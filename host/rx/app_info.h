#pragma once
// Demand-load entries: what an application writes so that the host knows its module, why to load it, and the
// command groups and commands that load it. ObjectARX hosts keep them in the registry under the product key;
// this host keeps them in memory for the session (it loads modules only when told to).
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "host/rx/adesk.h"

namespace AcadApp {
enum LoadReasons {
    kOnProxyDetection = 0x01,
    kOnAutoCADStartup = 0x02,
    kOnCommandInvocation = 0x04,
    kOnLoadRequest = 0x08,
    kLoadDisabled = 0x10,
};
enum ErrorStatus { eOk = 0, eInvalidKey, eKeyNotFound };
} // namespace AcadApp

class AcadAppInfo {
public:
    void setAppName(const ACHAR* name) { m_name = name ? name : L""; }
    void setModuleName(const ACHAR* path) { m_module = path ? path : L""; }
    void setAppDesc(const ACHAR* description) { m_description = description ? description : L""; }
    void setLoadReason(AcadApp::LoadReasons reasons) { m_reasons = reasons; }
    const ACHAR* appName() const { return m_name.c_str(); }

    // Writes the application's entry (replacing an older one of the same name); eInvalidKey without a name.
    AcadApp::ErrorStatus writeToRegistry();
    // Add to the entry written before (eKeyNotFound without one).
    AcadApp::ErrorStatus writeGroupNameToRegistry(const ACHAR* group);
    AcadApp::ErrorStatus writeCommandNameToRegistry(const ACHAR* globalName, const ACHAR* localName);

private:
    std::wstring m_name, m_module, m_description;
    AcadApp::LoadReasons m_reasons = AcadApp::kOnLoadRequest;
};

namespace host {

struct ApplicationEntry {
    std::wstring module;
    std::wstring description;
    int loadReasons = 0;
    std::vector<std::wstring> groups;
    std::vector<std::pair<std::wstring, std::wstring>> commands; // global and local names
};

// The entries written, by application name.
const std::map<std::wstring, ApplicationEntry>& applicationEntries();
void resetApplicationEntries();

} // namespace host
