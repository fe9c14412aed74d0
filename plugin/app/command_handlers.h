#pragma once
// The functions behind the command table, the LISP table and the double click on a polyline. The commands
// and LISP functions take nothing and answer an int that nobody reads; each reports its own failures.

// Commands.
int c_help();          // ZORTAPOLY, and the LISP functions C:ZOR_? and C:ZORTAPOLY
int c_get_qpoly();     // ZOR_POLY
int c_get_comme();     // ZOR_PAS
int c_pst_qpoly();     // ZOR_PSUIT
int c_raccord_qpoly(); // ZOR_PRACORD: c_pst_qpoly with the connect flag set
int c_inv_qpoly();     // ZOR_PINV
int c_modif_qpoly();   // ZOR_PMOD
int c_SetTefColor();   // ZOR_SETTEFCOLOR
int c_convert();       // ZOR_PCONVERT
int c_polyz();         // ZOR_PZ
int c_polyLH();        // ZOR_PLH
int c_Z3dSpace();      // ZOR_Z3DSPACE
int c_EDelParc();      // ZOR_EDELPARC
int c_PolyLisse();     // ZOR_POLYLISS
int c_EpurePoints();   // ZOR_EPUREPTS
int c_LisseCNiv();     // ZOR_LISSNIV
int c_DrawFlag();      // ZOR_DRAWFLAG
int c_Extend();        // ZOR_EXTEND
int c_ApplyCarto();    // ZOR_SDNC

// 1 while ZOR_PRACORD runs: c_pst_qpoly then connects a new polyline instead of continuing the picked one.
extern int g_connectFlag;

// A double click on a polyline: the editor session at the digitised vertex nearest to the picked point, on
// the polyline `id` (closed; the document is locked for writing around the call).
class AcDbObjectId;
class AcGePoint3d;
void editPolylineAtPick(const AcDbObjectId& id, const AcGePoint3d& picked);
