#include "host/rx/rx.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cwchar>

#include "host/filing/text_codec.h"

namespace {

struct Registry {
    // Owns every class; host classes are never removed.
    std::map<std::wstring, std::unique_ptr<AcRxClass>> classes;
    std::vector<AcRxClass*> moduleOrder;
    std::map<std::wstring, AcRxClass*> byDxfName;
};

Registry& registry() {
    static Registry* r = new Registry; // outlives every static that may still ask for a class
    return *r;
}

std::wstring text(const ACHAR* s) {
    return s ? s : L"";
}

AcRxDictionary& classDictionary();

AcRxClass* insert(std::unique_ptr<AcRxClass> c) {
    Registry& r = registry();
    AcRxClass* raw = c.get();
    r.classes.emplace(raw->name(), std::move(c));
    if (*raw->dxfName()) r.byDxfName.emplace(raw->dxfName(), raw);
    classDictionary().atPut(raw->name(), raw);
    return raw;
}

} // namespace

void* acHeapAlloc(AcHeap*, std::size_t size) {
    return std::malloc(size ? size : 1);
}
void acHeapFree(AcHeap*, void* p) {
    std::free(p);
}

void* AcHeapOperators::operator new(std::size_t size) {
    void* p = acHeapAlloc(nullptr, size);
    if (!p) throw std::bad_alloc();
    return p;
}
void AcHeapOperators::operator delete(void* p) {
    acHeapFree(nullptr, p);
}
void* AcHeapOperators::operator new[](std::size_t size) {
    return operator new(size);
}
void AcHeapOperators::operator delete[](void* p) {
    acHeapFree(nullptr, p);
}

AcRxClass* AcRxObject::desc() {
    static AcRxClass* const c = host::registerHostClass(L"AcRxObject", nullptr, L"", nullptr);
    return c;
}
AcRxClass* AcRxObject::isA() const {
    return desc();
}

bool AcRxObject::isKindOf(const AcRxClass* c) const {
    return c && isA()->isDerivedFrom(c);
}

AcRxObject* AcRxObject::clone() const {
    AcRxObject* copy = isA()->create();
    if (copy && copy->copyFrom(this) != Acad::eOk) {
        delete copy;
        copy = nullptr;
    }
    return copy;
}

Acad::ErrorStatus AcRxObject::copyFrom(const AcRxObject*) {
    return Acad::eNotApplicable;
}

AcRxObject* AcRxObject::queryX(const AcRxClass* protocolClass) const {
    return isA()->queryX(protocolClass);
}

HOST_DEFINE_MEMBERS_WITH(AcRxClass, AcRxObject, L"", nullptr)

AcRxClass::AcRxClass(const ACHAR* name, const ACHAR* parentName, int dwgVersion, int maintenanceVersion,
                     int proxyFlags, AcRxPseudoConstructor constructor, const ACHAR* dxfName,
                     const ACHAR* appName, AppNameChangeFuncPtr appNameChange)
    : m_name(text(name)), m_parentName(text(parentName)), m_dxfName(text(dxfName)), m_appName(text(appName)),
      m_dwgVersion(dwgVersion), m_maintenanceVersion(maintenanceVersion), m_proxyFlags(proxyFlags),
      m_constructor(constructor), m_appNameChange(appNameChange) {
    m_parent = m_parentName.empty() ? nullptr : acrxFindAcRxClass(m_parentName.c_str());
}

Acad::ErrorStatus AcRxClass::getClassVersion(int& dwgVersion, int& maintenanceVersion) const {
    dwgVersion = m_dwgVersion;
    maintenanceVersion = m_maintenanceVersion;
    return Acad::eOk;
}

bool AcRxClass::isDerivedFrom(const AcRxClass* other) const {
    for (const AcRxClass* c = this; c; c = c->m_parent)
        if (c == other) return true;
    return false;
}

AcRxObject* AcRxClass::addX(const AcRxClass* protocolClass, AcRxObject* extension) {
    AcRxObject* old = getX(protocolClass);
    m_extensions[protocolClass] = extension;
    return old;
}

AcRxObject* AcRxClass::delX(const AcRxClass* protocolClass) {
    auto it = m_extensions.find(protocolClass);
    if (it == m_extensions.end()) return nullptr;
    AcRxObject* old = it->second;
    m_extensions.erase(it);
    return old;
}

AcRxObject* AcRxClass::getX(const AcRxClass* protocolClass) const {
    auto it = m_extensions.find(protocolClass);
    return it == m_extensions.end() ? nullptr : it->second;
}

AcRxObject* AcRxClass::queryX(const AcRxClass* protocolClass) const {
    for (const AcRxClass* c = this; c; c = c->m_parent)
        if (AcRxObject* x = c->getX(protocolClass)) return x;
    return nullptr;
}

AcRxClass* newAcRxClass(const ACHAR* className, const ACHAR* parentClassName, int dwgVersion,
                        int maintenanceVersion, int proxyFlags, AcRxPseudoConstructor constructor,
                        const ACHAR* dxfName, const ACHAR* appName, AppNameChangeFuncPtr appNameChange) {
    if (!className || !*className || acrxFindAcRxClass(className)) return nullptr;
    if (dxfName && *dxfName && host::findClassByDxfName(dxfName)) return nullptr;
    AcRxClass* c =
        insert(std::make_unique<AcRxClass>(className, parentClassName, dwgVersion, maintenanceVersion,
                                           proxyFlags, constructor, dxfName, appName, appNameChange));
    registry().moduleOrder.push_back(c);
    return c;
}

Acad::ErrorStatus deleteAcRxClass(AcRxClass* c) {
    Registry& r = registry();
    auto it = std::find(r.moduleOrder.begin(), r.moduleOrder.end(), c);
    if (!c || it == r.moduleOrder.end()) return Acad::eInvalidInput;
    r.moduleOrder.erase(it);
    for (auto& [name, other] : r.classes)
        if (other->myParent() == c) other->setParent(nullptr);
    if (*c->dxfName()) r.byDxfName.erase(c->dxfName());
    classDictionary().remove(c->name());
    r.classes.erase(c->name());
    return Acad::eOk;
}

AcRxClass* acrxFindAcRxClass(const ACHAR* className) {
    auto& classes = registry().classes;
    auto it = classes.find(text(className));
    return it == classes.end() ? nullptr : it->second.get();
}

void acrxBuildClassHierarchy() {
    for (auto& [name, c] : registry().classes)
        if (!c->myParent() && *c->parentName()) c->setParent(acrxFindAcRxClass(c->parentName()));
}

void acrx_abort(const ACHAR* format, ...) {
    wchar_t buffer[1024];
    va_list args;
    va_start(args, format);
    std::vswprintf(buffer, std::size(buffer), format ? format : L"", args);
    va_end(args);
    std::string message = host::toUtf8(buffer);
    std::fprintf(stderr, "host: abort: %s\n", message.c_str());
    throw host::HostAbort(message);
}

HOST_DEFINE_MEMBERS(AcRxDictionary, AcRxObject, L"")

AcRxObject* AcRxDictionary::at(const ACHAR* key) const {
    auto it = m_entries.find(text(key));
    return it == m_entries.end() ? nullptr : it->second;
}

AcRxObject* AcRxDictionary::atPut(const ACHAR* key, AcRxObject* object) {
    AcRxObject*& slot = m_entries[text(key)];
    AcRxObject* old = slot;
    slot = object;
    return old;
}

std::vector<std::wstring> AcRxDictionary::keys() const {
    std::vector<std::wstring> names;
    for (const auto& [name, object] : m_entries)
        names.push_back(name);
    return names;
}

AcRxObject* AcRxDictionary::remove(const ACHAR* key) {
    auto it = m_entries.find(text(key));
    if (it == m_entries.end()) return nullptr;
    AcRxObject* old = it->second;
    m_entries.erase(it);
    return old;
}

HOST_DEFINE_MEMBERS(AcRxService, AcRxObject, L"")

namespace {
constexpr const ACHAR* kServiceDictionary = L"ServiceDictionary";

AcRxDictionary& systemRegistry() {
    static AcRxDictionary* d = [] {
        auto* sys = new AcRxDictionary;
        sys->atPut(kServiceDictionary, new AcRxDictionary);
        sys->atPut(kClassDictionaryKey, new AcRxDictionary);
        return sys;
    }();
    return *d;
}

// Every registered class by name, kept with the registry.
AcRxDictionary& classDictionary() {
    return *static_cast<AcRxDictionary*>(systemRegistry().at(kClassDictionaryKey));
}
} // namespace

AcRxDictionary* acrxSysRegistry() {
    return &systemRegistry();
}

AcRxDictionary* acrxServiceDictionary() {
    return static_cast<AcRxDictionary*>(systemRegistry().at(kServiceDictionary));
}

AcRxObject* acrxRegisterService(const ACHAR* serviceName) {
    if (AcRxObject* existing = acrxServiceDictionary()->at(serviceName)) return existing;
    auto* service = new AcRxService;
    acrxServiceDictionary()->atPut(serviceName, service);
    return service;
}

bool acrxServiceIsRegistered(const ACHAR* serviceName) {
    return acrxServiceDictionary()->has(serviceName);
}

namespace host {

AcRxClass* registerHostClass(const ACHAR* name, AcRxClass* parent, const ACHAR* dxfName,
                             AcRxPseudoConstructor constructor) {
    auto c = std::make_unique<AcRxClass>(name, parent ? parent->name() : L"", 0, 0, 0, constructor, dxfName,
                                         L"ObjectDBX Classes", nullptr);
    c->setParent(parent);
    return insert(std::move(c));
}

AcRxClass* findClassByDxfName(const std::wstring& dxfName) {
    auto& m = registry().byDxfName;
    auto it = m.find(dxfName);
    return it == m.end() ? nullptr : it->second;
}

std::vector<AcRxClass*> moduleClasses() {
    return registry().moduleOrder;
}

void resetRuntime() {
    Registry& r = registry();
    while (!r.moduleOrder.empty())
        deleteAcRxClass(r.moduleOrder.back());
    AcRxDictionary* services = acrxServiceDictionary();
    for (const std::wstring& name : services->keys())
        delete services->remove(name.c_str());
}

} // namespace host
