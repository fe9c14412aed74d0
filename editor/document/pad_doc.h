#pragma once
// A text document of the editor: plain code-page text in one edit view, a title that a caller may give a
// suffix, the "Stop=" process and the window to return to that a caller attached to it.
#include "platform/windows/window_table.h"

#include <QString>

#include <cstdint>
#include <string>

class CPadView;

class CPadDoc {
public:
    CPadDoc() = default;
    ~CPadDoc();
    CPadDoc(const CPadDoc&) = delete;
    CPadDoc& operator=(const CPadDoc&) = delete;

    // Reads or writes the file as code-page text, CR LF between lines; false when it cannot be.
    bool open(const std::string& path);
    bool save(const std::string& path);
    // With a suffix: the suffix and the path in parentheses, or the suffix alone without a path; otherwise
    // `title`.
    void SetTitle(const std::string& title);
    const std::string& title() const { return title_; }
    // Empties the document and its view.
    void DeleteContents();

    bool isModified() const;
    void setModified(bool modified);
    int askToSave() const { return askToSave_; }
    void setAskToSave(int ask) { askToSave_ = ask; }

    // A process to end when the document is validated, held by a pidfd from now on so that a later process
    // with the same id is never ended; false (nothing kept) for 0, a negative id or this process.
    bool setStopProcess(std::int32_t pid);
    std::int32_t stopProcess() const { return stopPid_; }
    // Ends the "Stop=" process and forgets it; false when there was none or it could not be signalled.
    bool endStopProcess();

    CPadView* view = nullptr;
    std::string path; // of this file system; empty for a new document
    std::string titleSuffix;
    platform::Hwnd returnWindow = 0;

private:
    std::string title_;
    int askToSave_ = 1;
    std::int32_t stopPid_ = 0;
    int stopPidfd_ = -1;
};
