#pragma once
// The editor program: start-up with the library link and the hand-off to another instance, the text screen
// that the library writes into, the main frame's requests and the routing of commands.
#include "editor/link/my_parse.h"
#include "platform/ipc/named_event.h"
#include "platform/windows/message_bus.h"

#include <memory>
#include <string>
#include <vector>

class BusPump;
class CMainFrame;
class CPadDoc;
class CPadView;

class CTheApp {
public:
    static constexpr int kActivateTextScreen = 32776;
    static constexpr int kDefaultLineLimit = 5001;

    CTheApp();
    ~CTheApp();
    static CTheApp& instance();

    // Builds the main frame and acts on the command line; false when the process is to end at once (its
    // command line was handed to another instance).
    bool InitInstance(const std::vector<std::string>& arguments);

    // The text screen's edit window, opening the screen when `open` is set; 0 when there is none.
    platform::Hwnd GetTextScreen(int open);
    // -1 asks, 0 writable, 1 read-only, 2 toggles; the read-only bit (ES_READONLY or 0) after, -1 without a
    // screen.
    int SetTextScreenReadOnly(int mode);
    int ClearTextScreen();
    // Opens what a command line asks for; false when it showed the global text screen instead.
    bool OpenFromCommandLine(const CMyParse* block);

    CPadDoc* newDocument();
    CPadDoc* openDocument(const std::string& path);

    std::int64_t onFrameMessage(platform::Message& message);
    // Runs a command on the view, its document, the frame or the application, the first that has it.
    std::int64_t routeCommand(int command, CPadView* view);

    int lineLimit() const { return kDefaultLineLimit; }
    CMainFrame* mainFrame() const { return frame_.get(); }
    platform::Hwnd callerWindow() const { return callerWindow_; }

private:
    CPadView* textScreenView() const;
    void onActivate(const platform::Message& message);
    std::int64_t onRecord(const platform::Message& message);
    void handOff(platform::Hwnd instance);

    std::unique_ptr<CMainFrame> frame_;
    std::unique_ptr<BusPump> pump_;
    std::unique_ptr<platform::NamedEvent> event_;
    CMyParse parse_;
    platform::Hwnd callerWindow_ = 0;
    bool swallowActivation_ = false;
    platform::Hwnd textScreen_ = 0;
};
