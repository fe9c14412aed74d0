// The exported settings of DOS, and the reset of its process-wide state.
#include "services/dos/dos.h"
#include "services/dos/dos_state.h"

#include "platform/ui/speaker.h"

#include <cstdlib>

int DOS::Nbresauve = 20;
int DOS::Poste = 1;
int DOS::gWinNT = -1;
int DOS::Debug = 0;
long DOS::m_ModulesArxLoaded = 0;
char DOS::m_NomChtDef[260] = "";
char* DOS::chemins_aide = nullptr;
char* DOS::chemins_aideZorta = nullptr;
char* DOS::chemins_ENTETE = nullptr;
char* DOS::chemins_WAU = nullptr;
char* DOS::Dwg_Dxf = nullptr;

void DOS::Reset() {
    std::free(chemins_aide);
    chemins_aide = nullptr;
    gWinNT = -1;
    services::resetSharedDosText();
    services::resetTemporaryFolder();
    platform::resetPortAccess();
}
