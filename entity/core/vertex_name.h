#pragma once
// Vertex names: LISP entity names that designate one vertex of a polyline. Word 1 is the polyline's own
// name word and word 2 the address of the vertex node, each with bit 63 set; word 2 with bit 63 alone is the
// polyline's end marker ("SEQEND"), what follows its last vertex and precedes its first. A name whose word 1
// has bit 63 clear is a plain entity name. A vertex name says nothing by itself: it holds only while the
// polyline keeps that node, which whoever reads one must check.
#include <cstdint>

#include "host/db/resbuf.h"

class P_Vertex;

constexpr Adesk::Int64 kVNameBit = static_cast<Adesk::Int64>(std::uint64_t(1) << 63);

// What decodeVName finds in a name.
enum VNameKind { kNoName = 0, kPlainName = -1, kVertexName = -2, kEndMarker = -3 };

// The name of vertex v of the polyline whose plain name word is `entityWord`; the end marker for null.
void makeVName(ads_name out, Adesk::Int64 entityWord, const P_Vertex* v);
// kNoName for a null name or a first word of 0. Otherwise `entityWord` receives word 1 without bit 63, and
// `nodeWord` word 2 without bit 63 for a vertex (bit 63 alone for the end marker).
int decodeVName(const ads_name name, Adesk::Int64& entityWord, Adesk::Int64& nodeWord);
