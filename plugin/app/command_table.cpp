#include "plugin/app/command_table.h"

#include <array>
#include <utility>

#include "cadutil/command_line/print.h"
#include "cadutil/resbuf/text_convert.h"
#include "host/editor/editor_commands.h"
#include "host/rx/target_host.h"
#include "plugin/app/command_handlers.h"

int g_connectFlag = 0;

const CmdEntry g_CmdTable[kCommandCount + 1] = {
    {L"ZORTAPOLY", c_help, 0, L"*Aide sur les fonctions de saisie"},
    {L"ZOR_POLY", c_get_qpoly, 0, L"*saisie de ZortaPoly"},
    {L"ZOR_PAS", c_get_comme, 2, L"*saisie selon un modèle"},
    {L"ZOR_PSUIT", c_pst_qpoly, 2, L"*poursuite de ZORTAPOLY"},
    {L"ZOR_PRACORD", c_raccord_qpoly, 2, L"poursuite de ZORTAPOLY(mode photo)"},
    {L"ZOR_PINV", c_inv_qpoly, 2, L"inversion de ZORTAPOLY"},
    {L"ZOR_PMOD", c_modif_qpoly, 2, L"*Pedit Modification de ZORTAPOLY"},
    {L"ZOR_SETTEFCOLOR", c_SetTefColor, 1, L"Affecte une Couleur aux Tefs"},
    {L"ZOR_PCONVERT", c_convert, 6, L"Conversion de ZORTAPOLY en Autocad et inversement"},
    {L"ZOR_PZ", c_polyz, 0, L"Interpolation des altitudes d'une TAVROPOLY"},
    {L"ZOR_PLH", c_polyLH, 0, L"Affectation d'une Hauteur et Largeur à une Polyligne"},
    {L"ZOR_Z3DSPACE", c_Z3dSpace, 0, L"TavroPoly dans l'espace (NORMALE à saisir)"},
    {L"ZOR_EDELPARC", c_EDelParc, 0, L"Enleve les points intermediaires qui sont inutiles"},
    {L"ZOR_POLYLISS", c_PolyLisse, 0, L"Lisse les Arcs des ZORTAPOLY qui n'ont pas de lissage"},
    {L"ZOR_EPUREPTS", c_EpurePoints, 0, L"Epure les points trop proches et inutiles"},
    {L"ZOR_LISSNIV", c_LisseCNiv, 0, L"Epure ZORTAPOLY courbe, type courbe de niveau"},
    {L"ZOR_DRAWFLAG", c_DrawFlag, 0, L"Flag ZORPOLY (Dessin et Proxy)"},
    {L"ZOR_EXTEND", c_Extend, 0, L"ZORPOLY Extend (EXTEND qui Prend le Z des seuils)"},
    {L"ZOR_SDNC", c_ApplyCarto, 0, L"Appliquer Table Carto"},
    {L"", nullptr, 0, L""},
};

int c_raccord_qpoly() {
    struct Connect {
        Connect() { g_connectFlag = 1; }
        ~Connect() { g_connectFlag = 0; }
    } connect;
    return c_pst_qpoly();
}

namespace {

// The command stack takes functions without result: one per row, each running its row's handler. The
// handlers catch their own failures; what still escapes stops here, not in the host.
template <std::size_t Row> void runCommandRow() {
    const CmdEntry& row = g_CmdTable[Row];
    try {
        row.handler();
    } catch (...) {
        char name[sizeof row.name / sizeof row.name[0]];
        msgprintf("\nProbleme avec la COMMANDE %s", wideToStr(name, row.name));
    }
}

template <std::size_t... Rows> constexpr auto commandFunctions(std::index_sequence<Rows...>) {
    return std::array<AcRxFunctionPtr, sizeof...(Rows)>{&runCommandRow<Rows>...};
}

constexpr auto kCommandFunctions = commandFunctions(std::make_index_sequence<kCommandCount>());

AcEdCommandStack* commandStack() {
    return AcEdCommandStack::cast(acrxSysRegistry()->at(host::target::kCommandStackKey));
}

} // namespace

void registerCommands() {
    AcEdCommandStack* stack = commandStack();
    if (!stack) return;
    for (int i = 0; i < kCommandCount; ++i) {
        const CmdEntry& row = g_CmdTable[i];
        stack->addCommand(kCommandGroup, row.name, row.name, row.flags, kCommandFunctions[i], nullptr, -1,
                          nullptr, nullptr);
    }
}

void unregisterCommands() {
    AcEdCommandStack* stack = commandStack();
    if (!stack) return;
    for (int i = 0; i < kCommandCount; ++i)
        stack->removeCmd(kCommandGroup, g_CmdTable[i].name);
    stack->removeGroup(kCommandGroup);
}
