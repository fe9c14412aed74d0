#include "plugin/commands/polyline_batch.h"

#include <memory>
#include <string>

#include "cadutil/command_line/selection.h"
#include "cadutil/resbuf/cresbuf.h"
#include "cadutil/resbuf/text_convert.h"
#include "entity/core/poly_arc3d.h"
#include "host/selection/ssget.h"
#include "plugin/commands/command_state.h"

bool PolylineBatch::select(const char* prompt, const char* removePrompt) {
    m_ids.removeAll();
    Cresbuf filter;
    std::string mode;
    filter.AddFilterText("0=TAVROPOLY,ZORTAPOLY", mode);
    const std::wstring prompts[2] = {codePageToWide(prompt ? prompt : ""),
                                     codePageToWide(removePrompt ? removePrompt : "")};
    const ACHAR* texts[2] = {prompts[0].c_str(), prompts[1].c_str()};
    ads_name ss = {0, 0};
    const int rc = prompt ? acedSSGet(L":$", texts, nullptr, filter.head(), ss)
                          : acedSSGet(nullptr, nullptr, nullptr, filter.head(), ss);
    if (rc != RTNORM) return false;
    ssToIds(ss, m_ids);
    return !m_ids.isEmpty();
}

int PolylineBatch::forEach(const std::function<void(CPolyArc3D&)>& work, bool lastToFirst) const {
    int opened = 0;
    const int n = m_ids.length();
    for (int k = 0; k < n; ++k) {
        CPolyArc3D* poly = nullptr;
        if (acdbOpenObject(poly, m_ids[lastToFirst ? n - 1 - k : k], AcDb::kForWrite) != Acad::eOk) continue;
        // Closed whatever the work does, so that no polyline stays open after a failure.
        const std::unique_ptr<CPolyArc3D, void (*)(CPolyArc3D*)> closer(poly,
                                                                        [](CPolyArc3D* p) { p->close(); });
        ++opened;
        command_state::noteKind(poly->kindWord());
        poly->POLYModif(1);
        work(*poly);
    }
    return opened;
}
