#pragma once
// The plug-in's LISP functions on polylines and their vertices. Each reads its arguments with lisp_nextarg,
// returns its value to LISP through the host (nil when it has none, or for wrong arguments, without a
// message) and answers 1.

// Lists and changes.
int lisp_entget();    // ZOR_ENTGET
int lisp_vget();      // ZOR_VGET
int lisp_vmod();      // ZOR_VMOD and ZOR_ENTMOD
int lisp_vadd();      // ZOR_VADD
int lisp_getvertex(); // ZOR_GetVertexAt
// Walking.
int lisp_entnext(); // ZOR_ENTNEXT
int lisp_vnext();   // ZOR_VNEXT
int lisp_vback();   // ZOR_VBACK
int lisp_vtail();   // ZOR_VTAIL
int lisp_vcount();  // ZOR_VertexCount
// Inserting and deleting vertices.
int lisp_vinsert(); // ZOR_VINSERT
int lisp_vdel();    // ZOR_VDEL
// Snaps, conversions and TEF colours.
int lisp_snap();        // ZOR_SNAP
int lisp_tolwpoly();    // ZOR_ToLWPOLY
int lisp_to3dpoly();    // ZOR_To3DPOLY
int lisp_pconvert();    // ZOR_PCONVERT
int lisp_fromentity();  // ZOR_FromEntity
int lisp_settefcolor(); // ZOR_SetTefColor
