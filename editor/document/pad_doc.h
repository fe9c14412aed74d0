#pragma once
// A text document of the editor: plain code-page text in one edit view, a title that a caller may give a
// suffix, the "Stop=" process and the window to return to that a caller attached to it.
#include "editor/document/disk_state.h"
#include "editor/document/line_ends.h"
#include "editor/document/text_encoding.h"
#include "platform/windows/window_table.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <string>

class CPadView;

class CPadDoc {
public:
    CPadDoc() = default;
    ~CPadDoc();
    CPadDoc(const CPadDoc&) = delete;
    CPadDoc& operator=(const CPadDoc&) = delete;

    static constexpr std::int64_t kAskAbove = 0x400000;

    // Reads a file into the view in the encoding it is found in, asking first about one of more than 4 MiB;
    // false when the load was refused or failed (a message said why), and the view is then left as it was.
    // A long load shows its progress; cancelled, the document is left empty and without a file.
    bool open(const std::string& path);
    // Writes the view's text in the document's encoding with each line's own terminator; false (a message
    // said why, the document still modified) when the file cannot be written whole, or when the text holds
    // a character the encoding cannot and the user keeps the encoding. Over its own file that another
    // program changed or deleted since it was read here, it writes only when the user says yes, and never
    // when the file changes again before it is written.
    bool save(const std::string& path);
    // Whether another program changed or deleted the file since this document read or saved it.
    enum class DiskChange { None, Changed, Deleted };
    DiskChange diskChange() const;
    // When the program comes to the front: a file changed on disk is reloaded on a yes; each change is
    // asked about once. Answers a deletion for the caller to tell of without a box, since a box that nothing
    // answers would keep the program from closing (the document stays, and saving asks before recreating).
    DiskChange checkDisk();
    // Before a close: with the ask-to-save flag set and changes, asks whether to save them; true to go on
    // (saved, or the changes dropped), false to stop the close with the changes kept. With the flag clear
    // the changes are dropped without a question.
    bool SaveModified();
    // Where a save without a path goes: a chooser the application sets (empty: cancelled).
    static std::function<std::string(const CPadDoc&)> chooseSavePath;
    // With a suffix: the suffix and the path in parentheses, or the suffix alone without a path; otherwise
    // `title`.
    void SetTitle(const QString& title);
    const QString& title() const { return title_; }
    // The terminator of a new line: the file's first one, CR LF in a new document.
    LineEnd newLine() const { return newLine_; }
    // The encoding the file was read in and is saved in; Windows-1252 in a new document.
    TextEncoding encoding() const { return encoding_; }
    void setEncoding(TextEncoding encoding) { encoding_ = encoding; }
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
    std::string path;        // the file system's bytes; empty for a new document
    std::string titleSuffix; // code-page text
    platform::Hwnd returnWindow = 0;

private:
    bool askToWriteOver(DiskChange change) const;
    void forgetFile();

    QString title_;
    DiskState disk_;                // the file as this document last read or wrote it
    std::optional<DiskState> told_; // the file's change that the user was last asked about
    LineEnd newLine_ = LineEnd::CrLf;
    TextEncoding encoding_ = TextEncoding::Windows1252;
    int askToSave_ = 1;
    std::int32_t stopPid_ = 0;
    int stopPidfd_ = -1;
};
