#pragma once
// Entity lists of vertices for LISP, the groups of such a list applied to vertices, and the walk from
// name to name along polylines and the drawing.
#include "host/db/resbuf.h"

class LispPolyline;
class P_Vertex;

// Returns the chain to LISP: nil for null, a chain starting with RTNIL or RTNONE as it is, any other as one
// list (brackets linked around it only for the call). RTNORM.
int retList(resbuf* chain);

// The list of a vertex name or end marker; with `whole`, a plain name gives the entity's list (the header
// groups only for a polyline). Returned with retList; nil when there is none. RTNORM.
int vertexList(const ads_name name, bool whole);

// Whether every group after the first item of `list` can be applied: points and bulges finite, heights and
// widths that fit their fixed-point fields.
bool vertexGroupsFit(const resbuf* list);
// Applies the groups after the first item of `list` to `vertex`; with a polyline instead (open for write),
// to its last vertex, each group 10 appending a new one. The caller has checked them with vertexGroupsFit
// and sent the change notice. RTNORM.
int applyVertexGroups(const resbuf* list, P_Vertex* vertex, const LispPolyline* poly);

// The name after `name` into `out`: the next vertex or the end marker of a vertex name, the vertex `skip`
// steps from the first of a polyline's plain name (the end marker when there is none), the next entity of
// the drawing for any other name (the first one for no name). RTERROR at an end marker, for a vertex name
// whose vertex its polyline does not hold, and after the last entity.
int vertexNext(const ads_name name, ads_name out, int skip);
