#pragma once
// The polyline that a LISP name designates, open for the length of one LISP call, and the check that a
// vertex name's node belongs to it. A vertex name carries a raw node address: it is used only after the
// node is found in the polyline's own list, through an index of that list that is rebuilt when the polyline
// changes, so that walking a polyline name by name stays linear.
#include <cstdint>
#include <unordered_set>

#include "host/db/acdb.h"
#include "host/db/resbuf.h"

class CPolyArc3D;
class P_Vertex;

class LispPolyline {
public:
    // The polyline of the plain name word `entityWord`, open in `mode` (for read, erased ones too); empty
    // when the word designates no polyline of the system or the open fails.
    LispPolyline(Adesk::Int64 entityWord, AcDb::OpenMode mode);
    ~LispPolyline();
    LispPolyline(const LispPolyline&) = delete;
    LispPolyline& operator=(const LispPolyline&) = delete;

    explicit operator bool() const { return m_poly != nullptr; }
    CPolyArc3D* operator->() const { return m_poly; }
    CPolyArc3D* get() const { return m_poly; }
    Adesk::Int64 word() const { return m_word; }

    // The node of `nodeWord` when it is a vertex of this polyline, else null.
    P_Vertex* vertex(Adesk::Int64 nodeWord) const;
    // The vertex name of v (the end marker for null).
    void nameOf(const P_Vertex* v, ads_name out) const;
    // The change notice before this call changes the vertices' attributes or appends to the list.
    void announceChange() const;
    // After this call's own change of the list: the index follows it instead of being rebuilt.
    void noteInserted(const P_Vertex* v) const;
    void noteRemoved(const P_Vertex* v) const;

private:
    // Whether the index held the list as this call last knew it; then it can follow this call's change.
    bool indexFollows() const;
    void restamp() const;

    CPolyArc3D* m_poly = nullptr;
    Adesk::Int64 m_word;
    mutable std::uint64_t m_knownStamp = 0;
};

// The nodes of one polyline's list as of one state of it (test support: how often it was built).
struct VertexNodeIndex {
    const CPolyArc3D* poly = nullptr;
    std::uint64_t stamp = 0;
    std::unordered_set<const P_Vertex*> nodes;
    long builds = 0;
};
const VertexNodeIndex& vertexNodeIndex();
