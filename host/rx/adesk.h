#pragma once
// Basic scalar types of the host interface. Wide text (ACHAR) is wchar_t: the host keeps every name and text
// as wide characters, 32 bits each on Linux.
#include <cstdint>

namespace Adesk {
using Int8 = std::int8_t;
using Int16 = std::int16_t;
using Int32 = std::int32_t;
using Int64 = std::int64_t;
using UInt8 = std::uint8_t;
using UInt16 = std::uint16_t;
using UInt32 = std::uint32_t;
using UInt64 = std::uint64_t;
using Boolean = bool;
using LongPtr = std::int64_t;
using IntDbId = std::int64_t;
using GsMarker = std::int64_t;
constexpr Boolean kTrue = true;
constexpr Boolean kFalse = false;
} // namespace Adesk

using ACHAR = wchar_t;
