#pragma once
// Colours by index: 0 by block, 1-255 the colour table, 256 by layer.
#include "host/rx/adesk.h"

class AcCmColor {
public:
    AcCmColor() = default;
    explicit AcCmColor(Adesk::UInt16 index) : m_index(index) {}
    Adesk::UInt16 colorIndex() const { return m_index; }
    void setColorIndex(Adesk::UInt16 index) { m_index = index; }
    bool isByLayer() const { return m_index == kByLayer; }
    bool isByBlock() const { return m_index == kByBlock; }
    bool operator==(const AcCmColor&) const = default;
    static constexpr Adesk::UInt16 kByBlock = 0;
    static constexpr Adesk::UInt16 kByLayer = 256;

private:
    Adesk::UInt16 m_index = kByLayer;
};
