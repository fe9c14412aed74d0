#pragma once
// What a module sees of the host it is built for: the one place where the builds of one module source for
// the five hosts differ. The module's build defines ZHOST_TARGET as one of the ZHOST_* values below (AutoCAD
// 2021 without it) and compiles this header into every file (plugin/modules.cmake does), so no file can miss
// a switch:
//   - the handshake that the loader checks (host/module_loader.h) answers the target's version;
//   - a ZRX build calls the host's zc functions where the source says ac: this header maps the names, as the
//     ZRX compatibility headers do, so the entry point is exported as zcrxEntryPoint;
//   - the command stack and the editor are found in the system registry under the target family's names;
//   - string answers of prompts come back as an AcString (2019, 2021), through acedGetFullString into a
//     sized buffer (2017, 2018), or into an unsized buffer (ZRX);
//   - a window-message filter answers int in 2017 and 2018, bool elsewhere;
//   - the 2017 build finds classes through the class dictionary.
#include <type_traits>

#include "host/rx/host_versions.h"
#include "host/rx/rx.h"

#define ZHOST_ACAD2017 1
#define ZHOST_ACAD2018 2
#define ZHOST_ACAD2019 3
#define ZHOST_ACAD2021 4
#define ZHOST_ZRX2021 5
#ifndef ZHOST_TARGET
#define ZHOST_TARGET ZHOST_ACAD2021
#endif

namespace host::target {

constexpr HostVersion kVersion = ZHOST_TARGET == ZHOST_ACAD2017   ? HostVersion::Acad2017
                                 : ZHOST_TARGET == ZHOST_ACAD2018 ? HostVersion::Acad2018
                                 : ZHOST_TARGET == ZHOST_ACAD2019 ? HostVersion::Acad2019
                                 : ZHOST_TARGET == ZHOST_ZRX2021  ? HostVersion::Zrx2021
                                                                  : HostVersion::Acad2021;
constexpr HostFacts kFacts = hostFacts(kVersion);

constexpr const ACHAR* kCommandStackKey = commandStackKey(kFacts.zrx);
constexpr const ACHAR* kEditorKey = editorKey(kFacts.zrx);

enum class StringResults { AcStringObject, FullStringBuffer, UnsizedBuffer };
constexpr StringResults kStringResults =
    kFacts.zrx                                                               ? StringResults::UnsizedBuffer
    : kVersion == HostVersion::Acad2017 || kVersion == HostVersion::Acad2018 ? StringResults::FullStringBuffer
                                                                             : StringResults::AcStringObject;

using FilterResult =
    std::conditional_t<kVersion == HostVersion::Acad2017 || kVersion == HostVersion::Acad2018, int, bool>;

// A registered class by name, the way the target host looks classes up.
static inline AcRxClass* findClass(const ACHAR* name) {
    if constexpr (kVersion == HostVersion::Acad2017)
        return AcRxClass::cast(acrxClassDictionary->at(name));
    else
        return acrxFindAcRxClass(name);
}

} // namespace host::target

#if ZHOST_TARGET == ZHOST_ZRX2021
#include "host/rx/zrx_names.h"
#define acrxEntryPoint zcrxEntryPoint
#define acrxGetApiVersion zcrxGetApiVersion
#define acrxUnlockApplication zcrxUnlockApplication
#define acdbRegApp zcdbRegApp
#define acedDefun zcedDefun
#define acedUndef zcedUndef
#define acedGetArgs zcedGetArgs
#define deleteAcRxClass deleteZcRxClass
#define acdbGetAdsName zcdbGetZdsName
#endif
