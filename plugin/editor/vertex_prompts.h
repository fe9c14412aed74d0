#pragma once
// The small prompts of the editor's form keywords: the tangency letters, the vertex code and the
// properties prompt.
#include "host/db/db_object_id.h"

class P_Vertex;

// Changes the vertex's flag word by the letter: A free angle, O tangent continuity, N refused (hard
// vertices); B blocks and D unblocks a generated smoothing point. Other letters and vertices: unchanged.
void applyTangency(int letter, P_Vertex* vertex);
// The vertex kind and qualifier asked in turn from `current` (kind in the low byte); the new code.
short askVertexCode(short current);
// The tangency and smoothing properties: the letter of the keyword given (O, N, A, B, D), or -1 after the
// smoothing angle, linetype scale or default width were set here, or with no input (count 0).
// The entity is opened only around reading and setting its values, never across a prompt.
int editProperties(AcDbObjectId id, int& count);
