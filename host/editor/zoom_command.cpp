#include "host/editor/zoom_command.h"

#include "host/db/system_variables.h"
#include "host/editor/editor_variables.h"
#include "host/input/prompt_input.h"
#include "host/input/prompts.h"
#include "host/input/text_numbers.h"

namespace host {

void zoomCommand() {
    acedInitGet(0, L"Centre _ Center");
    ACHAR option[32];
    const int rc = acedGetKword(L"\nZoom, option [Centre]: ", option, 32);
    if (rc != RTNORM) return;
    ads_point centre;
    if (acedGetPoint(nullptr, L"\nSpécifiez le point central: ", centre) != RTNORM) return;
    double height = realVariable(L"VIEWSIZE");
    acedInitGet(RSG_NOZERO | RSG_NONEG, nullptr);
    const std::wstring prompt = L"\nEntrez la hauteur <" + formatReal(height) + L">: ";
    const int heightRc = acedGetReal(prompt.c_str(), &height);
    if (heightRc != RTNORM && heightRc != RTNONE) return;
    setSessionVariable(L"VIEWCTR", Group{10, AcGePoint3d(centre[0], centre[1], centre[2])});
    setSessionVariable(L"VIEWSIZE", Group{40, height});
}

bool isTransparentCommand(const std::wstring& name) {
    return name == L"ZOOM";
}

} // namespace host
