#include "editor/app/the_app.h"

#include "editor/app/child_frame.h"
#include "editor/app/main_frame.h"
#include "editor/document/pad_view.h"
#include "editor/link/bus_pump.h"
#include "platform/files/path_map.h"
#include "platform/windows/process_memory.h"
#include "services/dos/dos.h"
#include "services/output/output_mode.h"
#include "services/output/pad_mem_record.h"
#include "services/startup/shared_records.h"
#include "services/startup/window_messages.h"

#include <sys/stat.h>
#include <unistd.h>

using namespace platform;

namespace {

CTheApp* theApp = nullptr;
constexpr std::int32_t kTitleLimit = 999;

bool isFile(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

} // namespace

CTheApp::CTheApp() {
    theApp = this;
}

CTheApp::~CTheApp() {
    pump_.reset();
    frame_.reset();
    theApp = nullptr;
}

CTheApp& CTheApp::instance() {
    return *theApp;
}

bool CTheApp::InitInstance(const std::vector<std::string>& arguments) {
    parse_.foregroundWindow = window_table::foreground();
    frame_ = std::make_unique<CMainFrame>();
    if (!frame_->handle()) return false;
    pump_ = std::make_unique<BusPump>();
    char printingOn[] = "1000000";
    i_mode(printingOn);
    ParseActions actions;
    actions.mainFrame = frame_->handle();
    actions.setExplicitTitle = [this](const std::string& title) { frame_->setExplicitTitle(title); };
    parseCommandLine(arguments, parse_, actions);
    callerWindow_ = actions.callerWindow;
    frame_->show();
    event_ = std::make_unique<NamedEvent>("hDwx2000", true, false);
    if (parse_.foundWindow) {
        handOff(parse_.foundWindow);
        return false;
    }
    OpenFromCommandLine(&parse_);
    return true;
}

// Sends the whole command line to the instance found, which reads it out of this process while this one
// waits.
void CTheApp::handOff(Hwnd instance) {
    PadMemRecord record{kPadCommandLine, reinterpret_cast<std::uint64_t>(&parse_), sizeof parse_};
    if (parse_.bringToFront) MyForegroundWindow(instance);
    allowMemoryAccessBy(processOfHandle(instance));
    sendMessage(instance, wm_TavroMem, static_cast<std::uint64_t>(getpid()),
                static_cast<std::int64_t>(reinterpret_cast<std::uintptr_t>(&record)));
}

CPadDoc* CTheApp::newDocument() {
    auto* child = new CChildFrame(frame_->clientHandle());
    frame_->mdiArea().addSubWindow(child);
    child->document().SetTitle("Sans titre");
    child->show();
    return &child->document();
}

CPadDoc* CTheApp::openDocument(const std::string& path) {
    CPadDoc* document = newDocument();
    if (!document->open(path)) {
        delete document->view->parentWidget()->parentWidget();
        return nullptr;
    }
    document->SetTitle(path.substr(path.find_last_of('/') + 1));
    return document;
}

bool CTheApp::OpenFromCommandLine(const CMyParse* block) {
    if (block->globalScreen && g_pTpadG && g_pTpadG->Text(1)) {
        g_pTpadG->TShow(1);
        return false;
    }
    CPadDoc* document = nullptr;
    const std::string path = block->fileName[0] ? hostPath(block->fileName) : "";
    if (!path.empty() && isFile(path)) document = openDocument(path);
    if (!document) document = newDocument();
    if (block->foregroundWindow) document->returnWindow = block->foregroundWindow;
    if (block->titleSuffix[0]) document->titleSuffix = block->titleSuffix;
    document->SetTitle(document->title());
    if (block->stopProcessId) document->setStopProcess(block->stopProcessId);
    if (block->readOnly && document->view) document->view->setEditReadOnly(true);
    if (block->bringToFront) MyForegroundWindow(frame_->handle());
    return true;
}

CPadView* CTheApp::textScreenView() const {
    for (QMdiSubWindow* window : frame_->mdiArea().subWindowList()) {
        auto* child = dynamic_cast<CChildFrame*>(window);
        if (child && child->view() && child->view()->handle() == textScreen_) return child->view();
    }
    return nullptr;
}

Hwnd CTheApp::GetTextScreen(int open) {
    if (textScreen_ == 0 || !window_table::isWindow(textScreen_)) {
        textScreen_ = 0;
        if (!open) return 0;
        CPadDoc* document = newDocument();
        const bool global = g_pTpadG && g_pTpadG->frameWindow == frame_->handle();
        const std::string title = std::string("Ecran Texte ") + (global ? "( *G\xE9n\xE9ral* )" : "");
        document->titleSuffix = title;
        document->SetTitle(title);
        document->setAskToSave(0);
        textScreen_ = document->view->handle();
        SetTextScreenReadOnly(1);
    }
    return textScreen_;
}

int CTheApp::SetTextScreenReadOnly(int mode) {
    CPadView* view = textScreenView();
    if (!view) return -1;
    if (mode == 0 || mode == 1) view->setEditReadOnly(mode == 1);
    if (mode == 2) view->setEditReadOnly(!view->isReadOnly());
    return static_cast<int>(window_table::style(view->handle()) & ES_READONLY);
}

int CTheApp::ClearTextScreen() {
    if (CPadView* view = textScreenView()) view->padDocument().DeleteContents();
    return 1;
}

void CTheApp::onActivate(const Message& message) {
    if (message.wParam == WA_INACTIVE) return;
    if (swallowActivation_) {
        swallowActivation_ = false;
        return;
    }
    const Hwnd own = frame_->handle();
    if (!g_pTpadG || !g_pTpadG->frameWindow || g_pTpadG->frameWindow == own || !callerWindow_) return;
    MyForegroundWindow(callerWindow_);
    swallowActivation_ = true;
    MyForegroundWindow(own);
}

// A title, or another instance's command line, read out of the sender while it waits.
std::int64_t CTheApp::onRecord(const Message& message) {
    const auto sender = static_cast<pid_t>(message.wParam);
    PadMemRecord record{};
    if (!readProcessMemory(sender, static_cast<std::uint64_t>(message.lParam), &record, sizeof record))
        return 0;
    if (record.kind == kPadTitle && record.length >= 0) {
        std::string title(static_cast<std::size_t>(std::min(record.length, kTitleLimit)), '\0');
        if (readProcessMemory(sender, record.address, title.data(), title.size()))
            frame_->setExplicitTitle(title);
    } else if (record.kind == kPadCommandLine &&
               record.length == static_cast<std::int32_t>(sizeof(CMyParse))) {
        std::vector<char> bytes(sizeof(CMyParse));
        CMyParse block;
        if (readProcessMemory(sender, record.address, bytes.data(), bytes.size()) &&
            block.assignReceived(bytes.data(), bytes.size()))
            OpenFromCommandLine(&block);
    }
    return 0;
}

std::int64_t CTheApp::onFrameMessage(Message& message) {
    if (message.id == wm_Tavro) {
        if (message.wParam == 1) return static_cast<std::int64_t>(GetTextScreen(1));
        return message.wParam == 2 ? ClearTextScreen() : 0;
    }
    if (message.id == wm_TavroMem) return onRecord(message);
    switch (message.id) {
    case WM_ACTIVATE:
        onActivate(message);
        return 0;
    case WM_COMMAND: {
        CChildFrame* child = frame_->activeChild();
        return routeCommand(static_cast<int>(message.wParam & 0xFFFF), child ? child->view() : nullptr);
    }
    case WM_CLOSE:
        frame_->close();
        return 0;
    case WM_SHOWWINDOW: {
        const int command = static_cast<int>(message.wParam);
        if (command == SW_MINIMIZE || command == SW_SHOWMINIMIZED)
            frame_->showMinimized();
        else if (command == SW_HIDE)
            frame_->hide();
        else
            frame_->showNormal();
        return 0;
    }
    default:
        return defWindowProc(message);
    }
}

std::int64_t CTheApp::routeCommand(int command, CPadView* view) {
    if (command == CPadView::kValidateAndReturn && view) {
        view->validateAndReturn();
        return 1;
    }
    if (command == kActivateTextScreen) {
        if (g_pTpadG && g_pTpadG->Text(1)) g_pTpadG->TShow(1);
        return 1;
    }
    return 0;
}
