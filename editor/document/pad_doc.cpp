#include "editor/document/pad_doc.h"

#include "editor/document/file_names.h"
#include "editor/document/pad_view.h"
#include "editor/link/bus_window.h"

#include <csignal>
#include <poll.h>
#include <sys/syscall.h>
#include <unistd.h>

CPadDoc::~CPadDoc() {
    if (stopPidfd_ >= 0) ::close(stopPidfd_);
}

void CPadDoc::SetTitle(const QString& title) {
    if (titleSuffix.empty())
        title_ = title;
    else if (path.empty())
        title_ = fromCodePage(titleSuffix);
    else
        title_ = fromCodePage(titleSuffix) + QStringLiteral(" (") + shownPath(path) + u')';
    if (view) view->titleChanged();
}

void CPadDoc::DeleteContents() {
    if (view) view->clear();
    newLine_ = LineEnd::CrLf;
    encoding_ = TextEncoding::Windows1252;
    setModified(false);
}

bool CPadDoc::isModified() const {
    return view && view->document()->isModified();
}

void CPadDoc::setModified(bool modified) {
    if (view) view->document()->setModified(modified);
}

bool CPadDoc::setStopProcess(std::int32_t pid) {
    if (pid <= 0 || pid == getpid()) return false;
    const int fd = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
    if (fd < 0) return false;
    if (stopPidfd_ >= 0) ::close(stopPidfd_);
    stopPidfd_ = fd;
    stopPid_ = pid;
    return true;
}

namespace {

// How long a "Stop=" process has to end on its own before it is killed.
constexpr int kStopGraceMs = 2000;

bool signalProcess(int pidfd, int signal) {
    return syscall(SYS_pidfd_send_signal, pidfd, signal, nullptr, 0) == 0;
}

} // namespace

// Asked first, so that the program can tidy up and its caller sees a plain termination; killed only when it
// is still there after the grace period (its pidfd becomes readable when it ends).
bool CPadDoc::endStopProcess() {
    if (stopPidfd_ < 0) return false;
    bool ended = signalProcess(stopPidfd_, SIGTERM);
    pollfd exit{stopPidfd_, POLLIN, 0};
    if (ended && poll(&exit, 1, kStopGraceMs) == 0) ended = signalProcess(stopPidfd_, SIGKILL);
    ::close(stopPidfd_);
    stopPidfd_ = -1;
    stopPid_ = 0;
    return ended;
}
