#include "plugin/app/lisp_table.h"

#include "host/lisp/lisp_functions.h"
#include "host/rx/target_host.h"
#include "plugin/app/command_handlers.h"
#include "plugin/lisp/lisp_arguments.h"
#include "plugin/lisp/lisp_functions.h"

const LispFuncEntry g_LispFuncTable[kLispFunctionCount + 1] = {
    {L"C:ZOR_?", c_help, L"Aide sur les fonctions de saisie"},
    {L"C:ZORTAPOLY", c_help, L"Aide sur les fonctions de saisie"},
    {L"ZOR_ENTGET", lisp_entget, L"(ZOR_ENTGET ZORTA_VENAME)>>entget   Autolisp (Tete de poly)"},
    {L"ZOR_VGET", lisp_vget, L"(ZOR_VGETZORTA_VNAME)>>entget   Autolisp sur un vertex"},
    {L"ZOR_ENTMOD", lisp_vmod, L"(ZOR_ENTMOD (ZORTA_ENAME ...))>>entmod   Autolisp"},
    {L"ZOR_VMOD", lisp_vmod, L"(ZOR_VMOD (ZORTA_VNAME ...))>>entmod   Autolisp sur un vertex"},
    {L"ZOR_VADD", lisp_vadd,
     L"(ZOR_VADD (ZORTA_ENAME ...))>>Ajoute un ou plusi. vecteurs a une tavro poly 10>>nouveau"},
    {L"ZOR_ENTNEXT", lisp_entnext, L"(ZOR_ENTNEXT ZORTA_VENAME)>>entnext  Autolisp"},
    {L"ZOR_VNEXT", lisp_vnext, L"(ZOR_VNEXT ZORTA_VNAME)>>entnext  Autolisp sur un vertex"},
    {L"ZOR_VBACK", lisp_vback, L"(ZOR_VBACK ZORTA_VNAME)>>entback un vertex (précédent)"},
    {L"ZOR_VTAIL", lisp_vtail, L"(ZOR_VTAIL ZORTA_ENAME)>>dernier vertex de la polyligne"},
    {L"ZOR_VINSERT", lisp_vinsert,
     L"(ZOR_VINSERT ZORTA_ENAME [ZORTA_VNAME]>>insersion d'un vertex de polyligne"},
    {L"ZOR_SNAP", lisp_snap, L"(ZOR_SNAP POINT ZORTA_ENAME) >> nentselp Autolisp"},
    {L"ZOR_VDEL", lisp_vdel, L"(ZOR_VDEL ZORTA_ENAME) >> Effacement d'un Vertex"},
    {L"ZOR_GetVertexAt", lisp_getvertex, L"(ZOR_GetVertexAt ZORTA_ENAME i) >> entget du i éme Vertex"},
    {L"ZOR_SetTefColor", lisp_settefcolor,
     L"(Z3D_SetTefColor 1 \"1,2,3,4\") >> Affecte une Couleur aux Tefs1"},
    {L"ZOR_VertexCount", lisp_vcount, L"(ZOR_VertexCount ZORTA_ENAME) >> Retourne le nombre de Vertex"},
    {L"ZOR_ToLWPOLY", lisp_tolwpoly, L"(ZOR_ToLWPOLY ZORTA_ENAME) >> Retourne une nouvelle entité LWPOLY"},
    {L"ZOR_To3DPOLY", lisp_to3dpoly,
     L"(ZOR_To3DPOLY [rFlecheMax] ZORTA_ENAME) >> Retourne une nouvelle entité 3DPOLY"},
    {L"ZOR_PCONVERT", lisp_pconvert,
     L"(ZOR_PCONVERT [rFlecheMax] [OPTIONS] ZORTA_ENAME) >> Convertit en entités AUTOCAD"},
    {L"ZOR_FromEntity", lisp_fromentity,
     L"(ZOR_FromEntity ENAME): Entite 3Dpoly/LWpoly/TAVROPOLY..>>ZORTAPOLY"},
    {nullptr, nullptr, nullptr},
};

int defunLispFunctions() {
    for (int code = 0; code < kLispFunctionCount; ++code)
        if (acedDefun(g_LispFuncTable[code].name, code) != RTNORM) return RTERROR;
    return RTNORM;
}

int undefLispFunctions() {
    for (int code = 0; code < kLispFunctionCount; ++code)
        if (acedUndef(g_LispFuncTable[code].name, code) != RTNORM) return RTERROR;
    return RTNORM;
}

int invokeLispFunction() {
    try {
        startLispCall(acedGetArgs());
        // The host gives only the codes defined above; any other one is not a function of this table.
        const int code = acedGetFunCode();
        if (code >= 0 && code < kLispFunctionCount) g_LispFuncTable[code].handler();
    } catch (...) {
        // The call ends without a value (nil); the functions report their own failures.
    }
    endLispCall();
    return 1;
}
