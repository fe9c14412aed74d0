#include "host/rx/app_info.h"

namespace host {
namespace {

std::map<std::wstring, ApplicationEntry>& entries() {
    static std::map<std::wstring, ApplicationEntry> written;
    return written;
}

ApplicationEntry* entryOf(const std::wstring& name) {
    auto it = entries().find(name);
    return it == entries().end() ? nullptr : &it->second;
}

} // namespace

const std::map<std::wstring, ApplicationEntry>& applicationEntries() {
    return entries();
}

void resetApplicationEntries() {
    entries().clear();
}

} // namespace host

AcadApp::ErrorStatus AcadAppInfo::writeToRegistry() {
    if (m_name.empty()) return AcadApp::eInvalidKey;
    host::ApplicationEntry& entry = host::entries()[m_name] = {};
    entry.module = m_module;
    entry.description = m_description;
    entry.loadReasons = m_reasons;
    return AcadApp::eOk;
}

AcadApp::ErrorStatus AcadAppInfo::writeGroupNameToRegistry(const ACHAR* group) {
    host::ApplicationEntry* entry = host::entryOf(m_name);
    if (!entry) return AcadApp::eKeyNotFound;
    entry->groups.emplace_back(group ? group : L"");
    return AcadApp::eOk;
}

AcadApp::ErrorStatus AcadAppInfo::writeCommandNameToRegistry(const ACHAR* globalName,
                                                             const ACHAR* localName) {
    host::ApplicationEntry* entry = host::entryOf(m_name);
    if (!entry) return AcadApp::eKeyNotFound;
    entry->commands.emplace_back(globalName ? globalName : L"", localName ? localName : L"");
    return AcadApp::eOk;
}
