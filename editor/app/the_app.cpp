#include "editor/app/the_app.h"

#include "editor/app/app_commands.h"
#include "editor/app/font_settings.h"
#include "editor/app/french_translations.h"
#include "editor/app/main_frame.h"
#include "editor/app/message_boxes.h"
#include "editor/app/pad_frame.h"
#include "editor/app/window_placement.h"
#include "editor/cad_link/cad_commands.h"
#include "editor/document/file_names.h"
#include "editor/document/pad_view.h"
#include "editor/document/view_commands.h"
#include "editor/link/bus_pump.h"
#include "editor/link/held_output.h"
#include "editor/printing/print_commands.h"
#include "platform/files/path_map.h"
#include "platform/settings/private_profile.h"
#include "platform/windows/process_memory.h"
#include "services/dos/dos.h"
#include "services/output/output_mode.h"
#include "services/output/pad_mem_record.h"
#include "services/startup/shared_records.h"
#include "services/startup/window_messages.h"

#include <QApplication>
#include <QFileDialog>
#include <QMdiSubWindow>
#include <QStatusBar>

#include <cerrno>
#include <clocale>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

using namespace platform;

namespace {

CTheApp* theApp = nullptr;
constexpr std::int32_t kTitleLimit = 999;

// A new document's frame takes three quarters of the frame's client area, as a child made at the
// platform's default size does, and never less than a size to work in.
QSize workingSize(const QSize& client) {
    constexpr int kLeast[] = {480, 320};
    return {std::max(client.width() * 3 / 4, kLeast[0]), std::max(client.height() * 3 / 4, kLeast[1])};
}

bool isFile(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

} // namespace

CTheApp::CTheApp() {
    theApp = this;
    std::setlocale(LC_ALL, "");
    installFrenchTranslations();
    chooseFile = [this](const std::string& caption, bool save) {
        const QString title = fromCodePage(caption);
        const QString chosen = save ? QFileDialog::getSaveFileName(frame_.get(), title)
                                    : QFileDialog::getOpenFileName(frame_.get(), title);
        return fileSystemPath(chosen);
    };
    CPadDoc::chooseSavePath = [this](const CPadDoc&) { return chooseFile("Enregistrer sous", true); };
    connectAppCommands(*this, commands_);
    connectViewCommands(commands_);
    connectCadLinkCommands(commands_);
    connectPrintingCommands(commands_);
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
    installMessageBoxes();
    parse_.foregroundWindow = window_table::foreground();
    settings_ = profile_.read();
    Printing::instance().pageSetup.load(ProfileFile{profile_.path()});
    frame_ = std::make_unique<CMainFrame>();
    if (!frame_->handle()) return false;
    frame_->onClosing = [this] { return onMainFrameClosing(); };
    frame_->onActivated = [this] {
        for (CPadView* view : views()) {
            CPadDoc& document = view->padDocument();
            if (document.checkDisk() == CPadDoc::DiskChange::Deleted)
                frame_->statusBar()->showMessage(
                    QStringLiteral("Le fichier %1 a \u00e9t\u00e9 supprim\u00e9 par un "
                                   "autre programme ; l'enregistrer le recr\u00e9era.")
                        .arg(shownPath(document.path)));
        }
    };
    frame_->onFilesDropped = [this](const QStringList& paths) {
        for (const QString& path : paths)
            openDocument(fileSystemPath(path));
    };
    pump_ = std::make_unique<BusPump>();
    char printingOn[] = "1000000";
    i_mode(printingOn);
    ParseActions actions;
    actions.mainFrame = frame_->handle();
    actions.setExplicitTitle = [this](const std::string& title) { frame_->setExplicitTitle(title); };
    parseCommandLine(arguments, parse_, actions);
    callerWindow_ = actions.callerWindow;
    showMainWindow();
    readRecentFiles();
    frame_->updateMenus();
    event_ = std::make_unique<NamedEvent>("hDwx2000", true, false);
    if (parse_.foundWindow) {
        handOff(parse_.foundWindow);
        return false;
    }
    showHeldOutput(frame_->handle());
    OpenFromCommandLine(&parse_);
    return true;
}

void CTheApp::showMainWindow() {
    int show = SW_SHOWNORMAL;
    if (const std::optional<WindowPlacement> saved = usablePlacement(settings_.windowPos, g_Monitors)) {
        show = startShowCommand(show, *saved);
        const RECT& r = saved->normal;
        frame_->setGeometry(r.left, r.top, r.right - r.left, r.bottom - r.top);
    }
    if (show == SW_MAXIMIZE)
        frame_->showMaximized();
    else if (show == SW_SHOWMINIMIZED || show == SW_MINIMIZE)
        frame_->showMinimized();
    else
        frame_->show();
}

// Every document is asked about its changes first; then the placement is kept, never minimised, so that
// the next start does not open as an icon.
bool CTheApp::onMainFrameClosing() {
    for (CPadView* view : views())
        if (!view->padDocument().SaveModified()) return false;
    WindowPlacement placement;
    const QRect normal = frame_->normalGeometry();
    placement.normal = {normal.left(), normal.top(), normal.right() + 1, normal.bottom() + 1};
    const bool maximized = frame_->windowState() & Qt::WindowMaximized;
    placement.flags = maximized ? WindowPlacement::kRestoreToMaximized : 0;
    placement.showCommand = maximized ? SW_MAXIMIZE : SW_SHOWNORMAL;
    settings_.windowPos = formatPlacement(placement);
    return true;
}

void CTheApp::ExitInstance() {
    profile_.write(settings_);
    Printing::instance().pageSetup.saveChanged(ProfileFile{profile_.path()});
    writeRecentFiles();
}

void CTheApp::readRecentFiles() {
    recent_.clear();
    for (std::size_t i = 1; i <= kRecentFiles; ++i) {
        const std::optional<std::string> file = profileString(
            profile_.path(), "Recent File List", "File" + formatInteger(static_cast<long long>(i)));
        if (file && !file->empty()) recent_.push_back(*file);
    }
}

// The section is written whole, so that files dropped from the list do not come back at the next start.
void CTheApp::writeRecentFiles() const {
    writeProfileString(profile_.path(), "Recent File List", nullptr, nullptr);
    for (std::size_t i = 0; i < recent_.size(); ++i)
        writeProfileString(profile_.path(), "Recent File List",
                           ("File" + formatInteger(static_cast<long long>(i + 1))).c_str(),
                           recent_[i].c_str());
}

void CTheApp::addRecentFile(std::string path) {
    std::erase(recent_, path);
    recent_.insert(recent_.begin(), std::move(path));
    if (recent_.size() > kRecentFiles) recent_.resize(kRecentFiles);
    if (frame_) frame_->updateMenus();
}

void CTheApp::openRecentFile(std::size_t index) {
    if (index >= recent_.size()) return;
    const std::string path = recent_[index];
    if (openDocument(path)) return;
    // A file that is gone leaves the list, as the platform's own list does; one that is there stays.
    struct stat st;
    if (stat(path.c_str(), &st) != 0 && (errno == ENOENT || errno == ENOTDIR)) {
        std::erase(recent_, path);
        frame_->updateMenus();
    }
}

std::vector<CPadView*> CTheApp::views() const {
    std::vector<CPadView*> list;
    if (!frame_) return list;
    for (QMdiSubWindow* window : frame_->mdiArea().subWindowList()) {
        auto* child = dynamic_cast<CPadFrame*>(window);
        if (child && child->view()) list.push_back(child->view());
    }
    return list;
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
    auto* child = new CPadFrame(frame_->clientHandle());
    CPadView* view = child->view();
    view->setWordWrap(settings_.wordWrap != 0);
    if (settings_.font.height != 0) view->setDisplayFont(qFontOf(settings_.font));
    view->setTabStops(settings_.tabStops);
    QObject::connect(view, &CPadView::positionShown, frame_.get(), &CMainFrame::setPositionText);
    QObject::connect(view, &CPadView::titleShown, frame_.get(), &CMainFrame::refreshTitle,
                     Qt::QueuedConnection);
    frame_->mdiArea().addSubWindow(child);
    child->document().SetTitle(QStringLiteral("Sans titre"));
    if (settings_.showCmd == SW_MAXIMIZE) {
        child->showMaximized();
    } else {
        child->resize(workingSize(frame_->mdiArea().viewport()->size()));
        child->show();
    }
    frame_->updateMenus();
    return &child->document();
}

CPadDoc* CTheApp::openDocument(const std::string& path) {
    if (CPadDoc* open = documentOfFile(path)) {
        frame_->mdiArea().setActiveSubWindow(static_cast<QMdiSubWindow*>(open->view->parentWidget()));
        addRecentFile(open->path);
        return open;
    }
    CPadDoc* document = newDocument();
    if (!document->open(path)) {
        document->view->parentWidget()->deleteLater();
        document->view->parentWidget()->hide();
        return nullptr;
    }
    document->SetTitle(shownFileName(path));
    addRecentFile(path);
    return document;
}

CPadDoc* CTheApp::documentOfFile(const std::string& path) const {
    std::error_code error;
    for (CPadView* view : views()) {
        const std::string& open = view->padDocument().path;
        if (!open.empty() && (open == path || std::filesystem::equivalent(open, path, error)))
            return &view->padDocument();
    }
    return nullptr;
}

bool CTheApp::closeDocument(CPadDoc& document) {
    if (!document.SaveModified()) return false;
    document.view->parentWidget()->deleteLater();
    document.view->parentWidget()->hide();
    return true;
}

bool CTheApp::saveDocument(CPadDoc& document, bool choose) {
    const std::string path =
        choose || document.path.empty() ? chooseFile("Enregistrer sous", true) : document.path;
    if (path.empty() || !document.save(path)) return false;
    if (document.titleSuffix.empty()) document.SetTitle(shownFileName(path));
    addRecentFile(path);
    return true;
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
    for (CPadView* view : views())
        if (view->handle() == textScreen_) return view;
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
        document->SetTitle(fromCodePage(title));
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
        CPadFrame* child = frame_->activeChild();
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
    return commands_.run(command, view) ? 1 : 0;
}
