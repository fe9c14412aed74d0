#include "services/startup/debug_infos.h"

// Code page 1252: "\xe9" is an e with an acute accent.
const char* const g_DebugInfos[] = {
    "+1 >> Infos Principales Redraw Wvistelxxxx.hdi (TRACE_REDRAW)",
    "+2 >> Infos Tablette3D",
    "+4 >> Infos ZORTA.ARX",
    "+8 >> Infos Momentan\xe9"
    "e de recherche d'erreure",
    "+16 >> Infos Interm\xe9"
    "diaires Wvistelxxxx.hdi (TRACE_INTER)",
    "+32 >> Infos Redraw Cursor Wvistelxxxx.hdi (TRACE_CURSOR)",
    "+64 >> Infos Context Wvistelxxxx.hdi (TRACE_CONTEXT)",
    "+128 >> Infos Dessin Images Wvistelxxxx.hdi (TRACE_IMG)",
    "+0x100 >> Infos Point Cloud Wvistelxxxx.hdi (TRACE_PTCLOUD)",
    "+0x200 >> Supprimer la lecture des Images dans WVISTEL (pour test de temp)",
    "+0x400 >> Corellation Automatique",
    "+0x800 >> Corellation Automatique D\xe9tail",
    "+0x2000 >> Palette et commande D\xe9tail",
    "",
};
