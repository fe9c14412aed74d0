#pragma once
// The registered window messages of the library, the same identifiers in every process of the machine.
#include <cstdint>

extern std::uint32_t wm_ZortaMouse; // "WM_ZORTAMOUSE", registered and exported only
extern std::uint32_t wm_ZortaPalet; // "WM_ZORTPALET", registered and exported only
extern std::uint32_t wm_Tavro;      // "WM_TAVRO", requests to the editor
extern std::uint32_t wm_TavroMem;   // "WM_TAVROMEM", records passed to the editor
