#include "plugin/app/edit_reactor.h"

#include <string>
#include <vector>

#include "entity/core/poly_arc3d.h"
#include "host/editor/documents.h"
#include "plugin/app/menu_install.h"
#include "plugin/app/tef_colors.h"

myeditreact* g_pEditReactor = nullptr;

namespace {

constexpr std::size_t kShortestList = 2;

} // namespace

void myeditreact::dwgFileOpened(AcDbDatabase* database, const ACHAR*) {
    std::vector<std::string> lists;
    if (readTefColors(lists, database) == 0) return;
    for (int row = 0; row < 2 && row < static_cast<int>(lists.size()); ++row)
        if (!tefColorTable(row) && lists[row].size() >= kShortestList)
            setTefColorList(row, lists[row].c_str());
}

void myeditreact::beginSave(AcDbDatabase* database, const ACHAR*) {
    std::vector<std::string> lists{tefColorText(0), tefColorText(1)};
    if (lists[0].empty() && lists[1].empty()) return;
    writeTefColors(lists, database);
}

void myeditreact::commandWillStart(const ACHAR*) {
    int& flag = CPolyArc3D::m_PolyArc3dCmdeFlag;
    flag = (flag & kExtendForNextCommand) ? (flag & kExtendMode) : 0;
}

void myeditreact::commandEnded(const ACHAR*) {
    if (!(g_InitFlags & kMenuToInstall) || (g_InitFlags & kInstallCommandSent)) return;
    AcApDocument* doc = acDocManager->curDocument();
    if (!doc) return;
    acDocManager->sendStringToExecute(doc, L"ZORTAPOLY ", true, false, true);
    g_InitFlags |= kInstallCommandSent;
}
