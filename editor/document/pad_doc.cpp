#include "editor/document/pad_doc.h"

#include "editor/document/pad_view.h"
#include "editor/link/bus_window.h"

#include <csignal>
#include <sys/syscall.h>
#include <unistd.h>

CPadDoc::~CPadDoc() {
    if (stopPidfd_ >= 0) ::close(stopPidfd_);
}

void CPadDoc::SetTitle(const std::string& title) {
    if (titleSuffix.empty())
        title_ = title;
    else if (path.empty())
        title_ = titleSuffix;
    else
        title_ = titleSuffix + " (" + path + ")";
    if (view) view->titleChanged();
}

void CPadDoc::DeleteContents() {
    if (view) view->clear();
    newLine_ = LineEnd::CrLf;
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

bool CPadDoc::endStopProcess() {
    if (stopPidfd_ < 0) return false;
    const bool ended = syscall(SYS_pidfd_send_signal, stopPidfd_, SIGKILL, nullptr, 0) == 0;
    ::close(stopPidfd_);
    stopPidfd_ = -1;
    stopPid_ = 0;
    return ended;
}
