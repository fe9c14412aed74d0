#include "editor/document/pad_doc.h"

#include "editor/document/edit_positions.h"
#include "editor/document/pad_view.h"
#include "editor/link/bus_window.h"

#include <csignal>
#include <fstream>
#include <iterator>
#include <sys/syscall.h>
#include <unistd.h>

CPadDoc::~CPadDoc() {
    if (stopPidfd_ >= 0) ::close(stopPidfd_);
}

bool CPadDoc::open(const std::string& filePath) {
    std::ifstream file(filePath, std::ios::binary);
    if (!file) return false;
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (view) view->setPlainText(withoutCarriageReturns(fromCodePage(bytes)));
    path = filePath;
    setModified(false);
    return true;
}

bool CPadDoc::save(const std::string& filePath) {
    std::ofstream file(filePath, std::ios::binary | std::ios::trunc);
    if (!file || !view) return false;
    const std::string bytes = toCodePage(withCarriageReturns(view->toPlainText()));
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!file.flush()) return false;
    path = filePath;
    setModified(false);
    return true;
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
