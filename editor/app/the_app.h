#pragma once
// The editor program: start-up with the library link and the hand-off to another instance, the settings
// read at start and written at exit, the documents and the text screen that the library writes into, the
// main frame's requests and the routing of every command through one table.
#include "editor/app/command_table.h"
#include "editor/app/pad_settings.h"
#include "editor/link/my_parse.h"
#include "platform/ipc/named_event.h"
#include "platform/windows/message_bus.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class BusPump;
class CMainFrame;
class CPadDoc;
class CPadView;

class CTheApp {
public:
    static constexpr std::size_t kRecentFiles = 15;

    // Sets the locale of the whole program from the environment (dates and messages follow it; numbers
    // never go through it).
    CTheApp();
    ~CTheApp();
    static CTheApp& instance();

    // Builds the main frame and acts on the command line; false when the process is to end at once (its
    // command line was handed to another instance, or the frame could not be made).
    bool InitInstance(const std::vector<std::string>& arguments);
    // Writes the settings that changed; after the main frame closed.
    void ExitInstance();

    // The text screen's edit window, opening the screen when `open` is set; 0 when there is none.
    platform::Hwnd GetTextScreen(int open);
    // -1 asks, 0 writable, 1 read-only, 2 toggles; the read-only bit (ES_READONLY or 0) after, -1 without a
    // screen.
    int SetTextScreenReadOnly(int mode);
    int ClearTextScreen();
    // Opens what a command line asks for; false when it showed the global text screen instead.
    bool OpenFromCommandLine(const CMyParse* block);

    CPadDoc* newDocument();
    // The document of the file: the one already open for it, activated, so that one file is never two
    // documents whose saves overwrite each other; else the file opened in a new child frame; null (no
    // frame left) when it cannot be read.
    CPadDoc* openDocument(const std::string& path);
    // The open document of that file (the same path or another name of it), or null.
    CPadDoc* documentOfFile(const std::string& path) const;
    // Closes a document's frame after asking about its changes; false when the close was stopped.
    bool closeDocument(CPadDoc& document);
    // Saves a document to its path, or to one chosen when it has none or `choose` is set.
    bool saveDocument(CPadDoc& document, bool choose);

    std::int64_t onFrameMessage(platform::Message& message);
    // Runs a command on the view, its document, the frame or the application, the first that has it; 1
    // when it ran, 0 when no one has it or it is not available now.
    std::int64_t routeCommand(int command, CPadView* view);
    CommandTable& commands() { return commands_; }

    PadSettings& settings() { return settings_; }
    const std::string& profilePath() const { return profile_.path(); }
    int lineLimit() const { return settings_.lineLimit; }
    const std::vector<std::string>& recentFiles() const { return recent_; }
    // Opens entry `index` of the recent list; an entry whose file no longer exists is removed.
    void openRecentFile(std::size_t index);
    // By value: the path may be one of the list's own entries.
    void addRecentFile(std::string path);
    CMainFrame* mainFrame() const { return frame_.get(); }
    platform::Hwnd callerWindow() const { return callerWindow_; }
    // The view of the text screen, or null.
    CPadView* textScreenView() const;
    // The documents' views, in the order of their frames.
    std::vector<CPadView*> views() const;

    // Where files are chosen: (caption, save) to a path, empty when cancelled. A file dialog by default;
    // tests put their own.
    std::function<std::string(const std::string& caption, bool save)> chooseFile;

private:
    void onActivate(const platform::Message& message);
    std::int64_t onRecord(const platform::Message& message);
    void handOff(platform::Hwnd instance);
    void showMainWindow();
    bool onMainFrameClosing();
    void readRecentFiles();
    void writeRecentFiles() const;

    PadProfile profile_;
    PadSettings settings_;
    CommandTable commands_;
    std::vector<std::string> recent_;
    std::unique_ptr<CMainFrame> frame_;
    std::unique_ptr<BusPump> pump_;
    std::unique_ptr<platform::NamedEvent> event_;
    CMyParse parse_;
    platform::Hwnd callerWindow_ = 0;
    bool swallowActivation_ = false;
    platform::Hwnd textScreen_ = 0;
};
