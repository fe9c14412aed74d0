#include "platform/windows/window_table.h"

#include "platform/ipc/robust_mutex.h"
#include "platform/ipc/shared_segment.h"
#include "platform/windows/process_start.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>
#include <poll.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr std::size_t kThreadCapacity = 256;

struct WindowEntry {
    Hwnd handle; // 0: a free slot
    pid_t process;
    pid_t thread;
    std::uint64_t processStart;
    Hwnd parent;
    Hwnd owner;
    std::uint32_t style;
    std::uint64_t zStamp;      // higher is nearer the top among siblings
    std::uint64_t activeStamp; // when it was last made active
    char className[kWindowClassLimit + 1];
    char title[kWindowTitleLimit + 1];
};

struct ThreadEntry {
    pid_t process; // 0: a free slot
    pid_t thread;
    std::uint64_t processStart;
    Hwnd focus;
    Hwnd active;
};

struct Table {
    RobustMutex mutex;
    std::uint32_t nextSerial;
    std::uint64_t stamp;
    Hwnd foreground;
    WindowEntry windows[kWindowTableCapacity];
    ThreadEntry threads[kThreadCapacity];
};

constexpr const char* kTableName = "WindowTable";

std::mutex segmentLock;
SharedSegment* segment = nullptr; // closed at unload, never by a static destructor
bool unloaded = false;            // after the unload no window is looked at, so the table stays closed

// A killed last user leaves the table behind: the next process to load the bus removes it.
__attribute__((constructor)) void removeStaleTable() {
    removeStaleSegment(kTableName);
}

// The last process out removes the table.
__attribute__((destructor)) void closeTableAtUnload() {
    std::lock_guard guard(segmentLock);
    unloaded = true;
    delete segment;
    segment = nullptr;
}

Table* openTable() {
    std::lock_guard guard(segmentLock);
    if (unloaded) return nullptr;
    if (!segment || !segment->isOpen()) {
        delete segment;
        segment = new SharedSegment(kTableName, sizeof(Table), [](void* data) {
            auto* table = static_cast<Table*>(data);
            table->mutex.initialise(false);
            table->nextSerial = 1;
        });
    }
    return static_cast<Table*>(segment->data());
}

// Whether the process `process` that started at `start` still runs, for the sweep that every look at the
// table begins with. Reading /proc costs a file opened and parsed per process and look: a process seen
// running once is watched through a pidfd, which becomes readable when it ends. Used under the table's lock.
class RunningProcesses {
public:
    bool running(pid_t process, std::uint64_t start) {
        auto known = watched_.find(process);
        if (known == watched_.end() || known->second.start != start) {
            if (known != watched_.end() && !ended(known->second.pidfd))
                return false; // another process took the id: the one that started then has ended
            forget(known);
            // Opened before the start time is read, so that the pidfd is known to be that process's.
            const int pidfd = static_cast<int>(syscall(SYS_pidfd_open, process, 0));
            if (pidfd < 0) return false;
            if (processStartTime(process) != start) {
                ::close(pidfd);
                return false;
            }
            known = watched_.emplace(process, Watched{start, pidfd}).first;
        }
        if (!ended(known->second.pidfd)) return true;
        forget(known);
        return false;
    }

private:
    struct Watched {
        std::uint64_t start;
        int pidfd;
    };

    static bool ended(int pidfd) {
        pollfd exit{pidfd, POLLIN, 0};
        return poll(&exit, 1, 0) != 0;
    }

    void forget(std::map<pid_t, Watched>::iterator known) {
        if (known == watched_.end()) return;
        ::close(known->second.pidfd);
        watched_.erase(known);
    }

    std::map<pid_t, Watched> watched_;
};

RunningProcesses& runningProcesses() {
    static auto* processes = new RunningProcesses; // looked at after static destructors too
    return *processes;
}

pid_t currentThread() {
    return static_cast<pid_t>(syscall(SYS_gettid));
}

std::uint64_t ownStart() {
    return processStartTime(getpid()).value_or(0);
}

// The table, locked, with the entries of ended processes cleared; empty when the table cannot be opened.
class Locked {
public:
    Locked() : table_(openTable()) {
        if (table_ && !holds(table_->mutex.lock())) table_ = nullptr;
        if (table_) sweep();
    }
    ~Locked() {
        if (table_) table_->mutex.unlock();
    }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;

    explicit operator bool() const { return table_ != nullptr; }
    Table* operator->() const { return table_; }

    WindowEntry* find(Hwnd window) const {
        if (window == 0) return nullptr;
        for (WindowEntry& entry : table_->windows)
            if (entry.handle == window) return &entry;
        return nullptr;
    }

    ThreadEntry* thread(const WindowOwner& owner, bool create) const {
        ThreadEntry* free = nullptr;
        for (ThreadEntry& entry : table_->threads) {
            if (entry.process == owner.process && entry.thread == owner.thread) return &entry;
            if (!free && entry.process == 0) free = &entry;
        }
        if (!create || !free) return nullptr;
        *free = ThreadEntry{owner.process, owner.thread, ownStart(), 0, 0};
        return free;
    }

    // Siblings of `parent` (0: top-level windows), top first.
    std::vector<WindowEntry*> children(Hwnd parent) const {
        std::vector<WindowEntry*> found;
        for (WindowEntry& entry : table_->windows)
            if (entry.handle != 0 && entry.parent == parent) found.push_back(&entry);
        std::sort(found.begin(), found.end(),
                  [](const WindowEntry* a, const WindowEntry* b) { return a->zStamp > b->zStamp; });
        return found;
    }

    std::uint64_t nextStamp() const { return ++table_->stamp; }

private:
    void sweep() const {
        std::map<pid_t, bool> alive;
        const auto isAlive = [&](pid_t process, std::uint64_t start) {
            auto [place, inserted] = alive.try_emplace(process, false);
            if (inserted) place->second = runningProcesses().running(process, start);
            return place->second;
        };
        for (WindowEntry& entry : table_->windows)
            if (entry.handle != 0 && !isAlive(entry.process, entry.processStart)) entry.handle = 0;
        for (ThreadEntry& entry : table_->threads)
            if (entry.process != 0 && !isAlive(entry.process, entry.processStart)) entry.process = 0;
        if (table_->foreground && !find(table_->foreground)) table_->foreground = 0;
    }

    Table* table_;
};

Hwnd topLevelParent(Hwnd parent) {
    return parent == kDesktopWindow ? 0 : parent;
}

void copyText(char* field, std::size_t limit, const std::string& text) {
    const std::size_t length = std::min(text.size(), limit);
    std::memcpy(field, text.data(), length);
    field[length] = '\0';
}

} // namespace

namespace window_table {

std::optional<Hwnd> add(const WindowSpec& spec, std::string* error) {
    Locked table;
    const auto fail = [&](const char* reason) -> std::optional<Hwnd> {
        if (error) *error = reason;
        return std::nullopt;
    };
    if (!table) return fail("la table des fenêtres est indisponible");
    const Hwnd parent = topLevelParent(spec.parent);
    if (parent && !table.find(parent)) return fail("fenêtre parente inconnue");
    WindowEntry* slot = nullptr;
    for (WindowEntry& entry : table->windows)
        if (entry.handle == 0) {
            slot = &entry;
            break;
        }
    if (!slot) return fail("la table des fenêtres est pleine");
    const std::uint32_t serial = table->nextSerial++;
    if (table->nextSerial == 0) table->nextSerial = 1;
    *slot = WindowEntry{};
    slot->handle = (static_cast<Hwnd>(getpid()) << 32) | serial;
    slot->process = getpid();
    slot->thread = currentThread();
    slot->processStart = ownStart();
    slot->parent = parent;
    slot->owner = spec.owner;
    slot->style = spec.style;
    slot->zStamp = table.nextStamp();
    copyText(slot->className, kWindowClassLimit, spec.className);
    copyText(slot->title, kWindowTitleLimit, spec.title);
    table.thread({slot->process, slot->thread}, true);
    return slot->handle;
}

void remove(Hwnd window) {
    Locked table;
    if (!table) return;
    std::vector<Hwnd> doomed{window};
    for (std::size_t i = 0; i < doomed.size(); ++i) {
        WindowEntry* entry = table.find(doomed[i]);
        if (!entry || entry->process != getpid()) continue;
        for (WindowEntry* child : table.children(doomed[i]))
            doomed.push_back(child->handle);
        entry->handle = 0;
        if (table->foreground == doomed[i]) table->foreground = 0;
        for (ThreadEntry& thread : table->threads) {
            if (thread.focus == doomed[i]) thread.focus = 0;
            if (thread.active == doomed[i]) thread.active = 0;
        }
    }
}

bool isWindow(Hwnd window) {
    if (window == kDesktopWindow) return true;
    Locked table;
    return table && table.find(window);
}

Hwnd parent(Hwnd window) {
    Locked table;
    const WindowEntry* entry = table ? table.find(window) : nullptr;
    return entry ? (entry->parent ? entry->parent : entry->owner) : 0;
}

Hwnd owner(Hwnd window) {
    Locked table;
    const WindowEntry* entry = table ? table.find(window) : nullptr;
    return entry ? entry->owner : 0;
}

Hwnd related(Hwnd window, int relation) {
    Locked table;
    if (!table) return 0;
    if (window == kDesktopWindow && relation == GW_CHILD) {
        const std::vector<WindowEntry*> top = table.children(0);
        return top.empty() ? 0 : top.front()->handle;
    }
    const WindowEntry* entry = table.find(window);
    if (!entry) return 0;
    if (relation == GW_OWNER) return entry->owner;
    if (relation == GW_CHILD) {
        const std::vector<WindowEntry*> children = table.children(window);
        return children.empty() ? 0 : children.front()->handle;
    }
    const std::vector<WindowEntry*> siblings = table.children(entry->parent);
    const auto place = std::find(siblings.begin(), siblings.end(), entry);
    switch (relation) {
    case GW_HWNDFIRST:
        return siblings.front()->handle;
    case GW_HWNDLAST:
        return siblings.back()->handle;
    case GW_HWNDNEXT:
        return place + 1 != siblings.end() ? place[1]->handle : 0;
    case GW_HWNDPREV:
        return place != siblings.begin() ? place[-1]->handle : 0;
    default:
        return 0;
    }
}

std::vector<Hwnd> topLevelWindows() {
    Locked table;
    std::vector<Hwnd> windows;
    if (!table) return windows;
    for (const WindowEntry* entry : table.children(0))
        windows.push_back(entry->handle);
    return windows;
}

std::vector<Hwnd> descendants(Hwnd window) {
    Locked table;
    std::vector<Hwnd> found;
    if (!table || !table.find(window)) return found;
    std::vector<Hwnd> pending{window};
    while (!pending.empty()) {
        const Hwnd next = pending.back();
        pending.pop_back();
        if (next != window) found.push_back(next);
        const std::vector<WindowEntry*> children = table.children(next);
        for (auto child = children.rbegin(); child != children.rend(); ++child)
            pending.push_back((*child)->handle);
    }
    return found;
}

std::string text(Hwnd window) {
    Locked table;
    const WindowEntry* entry = table ? table.find(window) : nullptr;
    return entry ? entry->title : "";
}

std::string className(Hwnd window) {
    Locked table;
    const WindowEntry* entry = table ? table.find(window) : nullptr;
    return entry ? entry->className : "";
}

std::optional<WindowOwner> ownerOf(Hwnd window) {
    Locked table;
    const WindowEntry* entry = table ? table.find(window) : nullptr;
    if (!entry) return std::nullopt;
    return WindowOwner{entry->process, entry->thread};
}

std::uint32_t style(Hwnd window) {
    if (window == kDesktopWindow) return WS_VISIBLE;
    Locked table;
    const WindowEntry* entry = table ? table.find(window) : nullptr;
    return entry ? entry->style : 0;
}

bool setText(Hwnd window, const std::string& text) {
    Locked table;
    WindowEntry* entry = table ? table.find(window) : nullptr;
    if (!entry) return false;
    copyText(entry->title, kWindowTitleLimit, text);
    return true;
}

bool setStyle(Hwnd window, std::uint32_t set, std::uint32_t clear) {
    Locked table;
    WindowEntry* entry = table ? table.find(window) : nullptr;
    if (!entry) return false;
    entry->style = (entry->style & ~clear) | set;
    return true;
}

bool bringToTop(Hwnd window) {
    Locked table;
    WindowEntry* entry = table ? table.find(window) : nullptr;
    if (!entry) return false;
    entry->zStamp = table.nextStamp();
    return true;
}

Hwnd foreground() {
    Locked table;
    return table ? table->foreground : 0;
}

std::optional<Hwnd> setForeground(Hwnd window) {
    Locked table;
    WindowEntry* entry = table ? table.find(window) : nullptr;
    if (!entry) return std::nullopt;
    const Hwnd previous = table->foreground;
    table->foreground = window;
    entry->zStamp = entry->activeStamp = table.nextStamp();
    // The top-level window above it comes to the top too, as a whole.
    for (WindowEntry* top = entry; top;) {
        top->zStamp = table.nextStamp();
        top = top->parent ? table.find(top->parent) : nullptr;
    }
    if (ThreadEntry* thread = table.thread({entry->process, entry->thread}, true)) thread->active = window;
    return previous;
}

Hwnd focusOf(const WindowOwner& owner) {
    Locked table;
    const ThreadEntry* thread = table ? table.thread(owner, false) : nullptr;
    return thread ? thread->focus : 0;
}

Hwnd activeOf(const WindowOwner& owner) {
    Locked table;
    const ThreadEntry* thread = table ? table.thread(owner, false) : nullptr;
    return thread ? thread->active : 0;
}

bool setFocus(Hwnd window) {
    Locked table;
    const WindowEntry* entry = table ? table.find(window) : nullptr;
    if (!entry) return false;
    ThreadEntry* thread = table.thread({entry->process, entry->thread}, true);
    if (thread) thread->focus = window;
    return thread != nullptr;
}

Hwnd lastActivePopup(Hwnd window) {
    Locked table;
    const WindowEntry* entry = table ? table.find(window) : nullptr;
    if (!entry) return 0;
    const WindowEntry* best = entry;
    for (const WindowEntry& other : table->windows)
        if (other.handle != 0 && other.owner == window && (other.style & WS_VISIBLE) &&
            other.activeStamp > best->activeStamp)
            best = &other;
    return best->handle;
}

bool ownsWindow(pid_t process) {
    Locked table;
    if (!table) return false;
    for (const WindowEntry& entry : table->windows)
        if (entry.handle != 0 && entry.process == process) return true;
    return false;
}

void close() {
    std::lock_guard guard(segmentLock);
    delete segment;
    segment = nullptr;
}

} // namespace window_table

} // namespace platform
