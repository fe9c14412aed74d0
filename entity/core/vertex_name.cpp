#include "entity/core/vertex_name.h"

void makeVName(ads_name out, Adesk::Int64 entityWord, const P_Vertex* v) {
    out[0] = entityWord | kVNameBit;
    out[1] = reinterpret_cast<Adesk::Int64>(v) | kVNameBit;
}

int decodeVName(const ads_name name, Adesk::Int64& entityWord, Adesk::Int64& nodeWord) {
    if (!name || name[0] == 0) return kNoName;
    entityWord = name[0] & ~kVNameBit;
    if (!(name[0] & kVNameBit) || !(name[1] & kVNameBit)) return kPlainName;
    if (name[1] == kVNameBit) {
        nodeWord = kVNameBit;
        return kEndMarker;
    }
    nodeWord = name[1] & ~kVNameBit;
    return kVertexName;
}
