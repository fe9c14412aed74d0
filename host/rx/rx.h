#pragma once
// Run-time classes of the host: every object knows its class, classes form a hierarchy, are registered by
// name and by DXF name, create their objects, and carry protocol extensions. Also the host heap, the system
// registry and its service dictionary.
#include <cstddef>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/rx/acad_status.h"
#include "host/rx/adesk.h"

class AcRxClass;
class AcRxObject;

using AcRxPseudoConstructor = AcRxObject* (*)();
using AppNameChangeFuncPtr = void (*)(const AcRxClass* classObj, ACHAR*& newAppName, int saveVer);

// Host heap: objects of the drawing are allocated here (plain malloc, aligned for any type).
struct AcHeap;
void* acHeapAlloc(AcHeap* heap, std::size_t size);
void acHeapFree(AcHeap* heap, void* p);

class AcHeapOperators {
public:
    static void* operator new(std::size_t size);
    static void operator delete(void* p);
    static void* operator new[](std::size_t size);
    static void operator delete[](void* p);
};

// Declares desc(), cast() and isA() of a host class; HOST_DEFINE_MEMBERS in its source registers it.
#define HOST_DECLARE_MEMBERS(CLASS)                                                                          \
public:                                                                                                      \
    static AcRxClass* desc();                                                                                \
    static CLASS* cast(const AcRxObject* o) {                                                                \
        return o && o->isKindOf(desc()) ? static_cast<CLASS*>(const_cast<AcRxObject*>(o)) : nullptr;         \
    }                                                                                                        \
    AcRxClass* isA() const override;

class AcRxObject : public AcHeapOperators {
public:
    virtual ~AcRxObject() = default;
    static AcRxClass* desc();
    static AcRxObject* cast(const AcRxObject* o) { return const_cast<AcRxObject*>(o); }
    virtual AcRxClass* isA() const;
    bool isKindOf(const AcRxClass* c) const;
    // A new object of the same class holding a copy of this one (null when the class cannot create).
    virtual AcRxObject* clone() const;
    virtual Acad::ErrorStatus copyFrom(const AcRxObject* other);
    // The protocol extension of `protocolClass` attached to this object's class or its nearest parent.
    AcRxObject* queryX(const AcRxClass* protocolClass) const;
};

class AcRxClass : public AcRxObject {
    HOST_DECLARE_MEMBERS(AcRxClass)
public:
    AcRxClass(const ACHAR* name, const ACHAR* parentName, int dwgVersion, int maintenanceVersion,
              int proxyFlags, AcRxPseudoConstructor constructor, const ACHAR* dxfName, const ACHAR* appName,
              AppNameChangeFuncPtr appNameChange);

    const ACHAR* name() const { return m_name.c_str(); }
    const ACHAR* dxfName() const { return m_dxfName.c_str(); }
    const ACHAR* appName() const { return m_appName.c_str(); }
    const ACHAR* parentName() const { return m_parentName.c_str(); }
    AcRxClass* myParent() const { return m_parent; }
    int proxyFlags() const { return m_proxyFlags; }
    Acad::ErrorStatus getClassVersion(int& dwgVersion, int& maintenanceVersion) const;
    AppNameChangeFuncPtr appNameCallbackPtr() const { return m_appNameChange; }
    bool isDerivedFrom(const AcRxClass* other) const;
    // A new object of this class; null for an abstract class.
    AcRxObject* create() const { return m_constructor ? m_constructor() : nullptr; }

    // Protocol extensions: addX answers the extension it replaces, delX the one it removes.
    AcRxObject* addX(const AcRxClass* protocolClass, AcRxObject* extension);
    AcRxObject* delX(const AcRxClass* protocolClass);
    AcRxObject* getX(const AcRxClass* protocolClass) const;
    AcRxObject* queryX(const AcRxClass* protocolClass) const;

    void setParent(AcRxClass* parent) { m_parent = parent; }

private:
    std::wstring m_name, m_parentName, m_dxfName, m_appName;
    AcRxClass* m_parent = nullptr;
    int m_dwgVersion, m_maintenanceVersion, m_proxyFlags;
    AcRxPseudoConstructor m_constructor;
    AppNameChangeFuncPtr m_appNameChange;
    std::map<const AcRxClass*, AcRxObject*> m_extensions;
};

// Registers a class. A name already registered is refused: the answer is null and nothing changes.
AcRxClass* newAcRxClass(const ACHAR* className, const ACHAR* parentClassName, int dwgVersion,
                        int maintenanceVersion, int proxyFlags, AcRxPseudoConstructor constructor,
                        const ACHAR* dxfName = nullptr, const ACHAR* appName = nullptr,
                        AppNameChangeFuncPtr appNameChange = nullptr);
// Unregisters and deletes a class registered with newAcRxClass; host classes are refused.
Acad::ErrorStatus deleteAcRxClass(AcRxClass* c);
AcRxClass* acrxFindAcRxClass(const ACHAR* className);
// Links every class to its parent by the parent's name.
void acrxBuildClassHierarchy();
// Fatal error of a module: reported and thrown as host::HostAbort, which zhost turns into a failing exit.
[[noreturn]] void acrx_abort(const ACHAR* format, ...);

// Name-to-object dictionary of the run-time system. It does not own its entries.
class AcRxDictionary : public AcRxObject {
    HOST_DECLARE_MEMBERS(AcRxDictionary)
public:
    AcRxObject* at(const ACHAR* key) const;
    // Stores `object` under `key`; answers the object it replaces.
    AcRxObject* atPut(const ACHAR* key, AcRxObject* object);
    // Removes the entry; answers its object (the caller deletes it) or null.
    AcRxObject* remove(const ACHAR* key);
    bool has(const ACHAR* key) const { return at(key) != nullptr; }
    int numEntries() const { return static_cast<int>(m_entries.size()); }
    std::vector<std::wstring> keys() const;

private:
    std::map<std::wstring, AcRxObject*> m_entries;
};

// A named service object.
class AcRxService : public AcRxObject {
    HOST_DECLARE_MEMBERS(AcRxService)
};

AcRxDictionary* acrxSysRegistry();
AcRxDictionary* acrxServiceDictionary();
// Every registered class under its name, in the system registry's entry "ClassDictionary".
constexpr const ACHAR* kClassDictionaryKey = L"ClassDictionary";
#define acrxClassDictionary AcRxDictionary::cast(acrxSysRegistry()->at(kClassDictionaryKey))
// Registers the service `name` (a new AcRxService in the service dictionary) and answers it.
AcRxObject* acrxRegisterService(const ACHAR* serviceName);
bool acrxServiceIsRegistered(const ACHAR* serviceName);

namespace host {

struct HostAbort : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Registers a class of the host itself (never deleted); used by HOST_DEFINE_MEMBERS.
AcRxClass* registerHostClass(const ACHAR* name, AcRxClass* parent, const ACHAR* dxfName,
                             AcRxPseudoConstructor constructor);
AcRxClass* findClassByDxfName(const std::wstring& dxfName);
// Classes registered by modules (not the host's own), in registration order.
std::vector<AcRxClass*> moduleClasses();
// Test support: deletes the classes and services that modules registered.
void resetRuntime();

} // namespace host

#define HOST_DEFINE_MEMBERS_WITH(CLASS, PARENT, DXFNAME, CONSTRUCTOR)                                        \
    AcRxClass* CLASS::desc() {                                                                               \
        static AcRxClass* const c =                                                                          \
            host::registerHostClass(L## #CLASS, PARENT::desc(), DXFNAME, CONSTRUCTOR);                       \
        return c;                                                                                            \
    }                                                                                                        \
    AcRxClass* CLASS::isA() const {                                                                          \
        return desc();                                                                                       \
    }

#define HOST_DEFINE_MEMBERS(CLASS, PARENT, DXFNAME)                                                          \
    HOST_DEFINE_MEMBERS_WITH(CLASS, PARENT, DXFNAME, []() -> AcRxObject* { return new CLASS; })
#define HOST_DEFINE_ABSTRACT(CLASS, PARENT) HOST_DEFINE_MEMBERS_WITH(CLASS, PARENT, L"", nullptr)
