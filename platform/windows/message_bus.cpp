#include "platform/windows/message_bus.h"

#include "platform/windows/bus_socket.h"

#include <algorithm>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <poll.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace platform {

namespace {

using bus::Clock;
using bus::Frame;
using bus::FrameKind;

pid_t currentThread() {
    return static_cast<pid_t>(syscall(SYS_gettid));
}

struct Connection {
    int fd = -1;
    std::string input;
    std::mutex writeLock;
    ~Connection() {
        if (fd >= 0) ::close(fd);
    }
};

struct Pending {
    Message message;
    FrameKind kind = FrameKind::Post;
    std::uint64_t id = 0;
    std::shared_ptr<Connection> replyTo; // null for a post
};

struct ThreadQueue {
    std::deque<Pending> items;
    int wakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    ~ThreadQueue() { ::close(wakeFd); }
};

struct LocalWindow {
    WindowProc procedure;
    pid_t thread;
};

// What this process serves: its socket, its connections from senders, its windows and their threads' queues.
struct Server {
    pid_t process = getpid();
    int listener = -1;
    int poller = -1;
    std::mutex lock;
    std::map<int, std::shared_ptr<Connection>> incoming;
    std::map<Hwnd, LocalWindow> windows;
    std::map<pid_t, std::shared_ptr<ThreadQueue>> queues;

    bool listening() {
        if (listener >= 0) return true;
        listener = bus::listenForProcess();
        poller = epoll_create1(EPOLL_CLOEXEC);
        if (listener < 0 || poller < 0) return false;
        epoll_event event{EPOLLIN, {.fd = listener}};
        return epoll_ctl(poller, EPOLL_CTL_ADD, listener, &event) == 0;
    }

    std::shared_ptr<ThreadQueue> queueOf(pid_t thread) {
        std::shared_ptr<ThreadQueue>& queue = queues[thread];
        if (!queue) queue = std::make_shared<ThreadQueue>();
        return queue;
    }
};

std::mutex serverLock;
Server* server = nullptr; // lives as long as the process

// The server of this process; a child made by fork starts with one of its own and serves nothing of its
// parent's (the descriptors it inherited stay with the parent's connections, closed here).
Server& theServer() {
    std::lock_guard guard(serverLock);
    if (!server || server->process != getpid()) {
        if (server) {
            for (int fd : {server->listener, server->poller})
                if (fd >= 0) ::close(fd);
            for (auto& [fd, connection] : server->incoming)
                connection->fd = (::close(fd), -1);
        }
        server = new Server; // a forked child's old server is left as it is: its mutex may be held
    }
    return *server;
}

// The connections of this thread to other processes, one per process, so that its posts stay in order.
struct Outgoing {
    pid_t process = getpid();
    std::uint64_t nextId = 1;
    std::map<pid_t, std::unique_ptr<Connection>> connections;

    Connection* to(pid_t target, Clock::time_point deadline) {
        if (process != getpid()) { // inherited through fork: the parent's
            for (auto& [pid, connection] : connections)
                connection->fd = (::close(connection->fd), -1);
            connections.clear();
            process = getpid();
        }
        std::unique_ptr<Connection>& connection = connections[target];
        if (!connection) {
            const int fd = bus::connectToProcess(target, deadline);
            if (fd < 0) {
                connections.erase(target);
                return nullptr;
            }
            connection = std::make_unique<Connection>();
            connection->fd = fd;
        }
        return connection.get();
    }

    void drop(pid_t target) { connections.erase(target); }
};

thread_local Outgoing outgoing;

Frame frameOf(const Message& message, FrameKind kind, std::uint64_t id) {
    Frame frame;
    frame.header.kind = kind;
    frame.header.id = id;
    frame.header.window = message.window;
    frame.header.message = message.id;
    frame.header.wParam = message.wParam;
    frame.header.lParam = message.lParam;
    frame.text = message.text;
    return frame;
}

Message messageOf(const Frame& frame) {
    return Message{frame.header.window, frame.header.message, frame.header.wParam, frame.header.lParam,
                   frame.text};
}

Frame replyFrame(std::uint64_t id, FrameKind kind, std::int64_t result, std::string text) {
    Frame frame;
    frame.header.kind = kind;
    frame.header.id = id;
    frame.header.result = result;
    frame.text = std::move(text);
    return frame;
}

void writeReplies(Connection& connection, const std::vector<Frame>& frames) {
    std::lock_guard guard(connection.writeLock);
    bus::writeFrames(connection.fd, frames, Clock::now() + std::chrono::milliseconds(kSendTimeoutMs));
}

// The replies owed to the sender of a batch, written together once its last send is handled: the sender
// waits for all of them in turn, and wakes once instead of once a reply.
class OwedReplies {
public:
    void add(const std::shared_ptr<Connection>& to, Frame frame) {
        if (to != to_) flush();
        to_ = to;
        frames_.push_back(std::move(frame));
    }
    void flush() {
        if (to_ && !frames_.empty()) writeReplies(*to_, frames_);
        frames_.clear();
        to_.reset();
    }
    ~OwedReplies() { flush(); }

private:
    std::shared_ptr<Connection> to_;
    std::vector<Frame> frames_;
};

void wake(int eventFd) {
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = write(eventFd, &one, sizeof one);
}

void drain(int eventFd) {
    std::uint64_t count;
    [[maybe_unused]] const ssize_t got = read(eventFd, &count, sizeof count);
}

// Hands a frame that arrived to the queue of its window's thread. Called with the server locked.
void route(Server& self, Frame frame, const std::shared_ptr<Connection>& from) {
    const auto window = self.windows.find(frame.header.window);
    if (window == self.windows.end()) {
        if (frame.header.kind == FrameKind::Send)
            writeReplies(*from, {replyFrame(frame.header.id, FrameKind::NoWindow, 0, "")});
        return;
    }
    const bool isSend = frame.header.kind == FrameKind::Send;
    std::shared_ptr<ThreadQueue> queue = self.queueOf(window->second.thread);
    queue->items.push_back(
        Pending{messageOf(frame), frame.header.kind, frame.header.id, isSend ? from : nullptr});
    if (window->second.thread != currentThread()) wake(queue->wakeFd);
}

// Accepts new senders and reads what they wrote, without waiting.
void readIncoming(Server& self) {
    std::lock_guard guard(self.lock);
    if (self.poller < 0) return;
    epoll_event events[64];
    for (;;) {
        const int count = epoll_wait(self.poller, events, 64, 0);
        if (count <= 0) return;
        bool drained = count < 64; // unless a new sender came: what it sent already is asked for next
        for (int i = 0; i < count; ++i) {
            const int fd = events[i].data.fd;
            if (fd == self.listener) {
                for (int peer; (peer = bus::acceptPeer(self.listener)) >= 0;) {
                    auto connection = std::make_shared<Connection>();
                    connection->fd = peer;
                    epoll_event event{EPOLLIN, {.fd = peer}};
                    epoll_ctl(self.poller, EPOLL_CTL_ADD, peer, &event);
                    self.incoming[peer] = connection;
                    drained = false;
                }
                continue;
            }
            const auto found = self.incoming.find(fd);
            if (found == self.incoming.end()) continue;
            const std::shared_ptr<Connection> connection = found->second;
            const bool open = bus::readAvailable(fd, connection->input);
            bool malformed = false;
            while (std::optional<Frame> frame = bus::takeFrame(connection->input, malformed))
                if (frame->header.kind == FrameKind::Send || frame->header.kind == FrameKind::Post)
                    route(self, std::move(*frame), connection);
            if (!open || malformed) {
                epoll_ctl(self.poller, EPOLL_CTL_DEL, fd, nullptr);
                self.incoming.erase(found);
            }
        }
        if (drained) return;
    }
}

WindowProc procedureOf(Server& self, Hwnd window) {
    std::lock_guard guard(self.lock);
    const auto found = self.windows.find(window);
    return found == self.windows.end() ? WindowProc() : found->second.procedure;
}

// Whether the calling thread's next message is another send of the same batch.
bool nextIsSendFrom(Server& self, const std::shared_ptr<Connection>& connection) {
    std::lock_guard guard(self.lock);
    const auto queue = self.queues.find(currentThread());
    return queue != self.queues.end() && !queue->second->items.empty() &&
           queue->second->items.front().replyTo == connection;
}

std::int64_t dispatch(Server& self, Message& message) {
    const WindowProc procedure = procedureOf(self, message.window);
    if (!procedure) return 0;
    return procedure(message);
}

// Handles what waits in the calling thread's queue. The number handled, or -1 when `filter` ended it.
int serveQueue(Server& self, const std::function<bool(const Message&)>& filter) {
    int handled = 0;
    OwedReplies owed;
    for (;;) {
        Pending pending;
        {
            std::lock_guard guard(self.lock);
            const auto queue = self.queues.find(currentThread());
            if (queue == self.queues.end() || queue->second->items.empty()) return handled;
            pending = std::move(queue->second->items.front());
            queue->second->items.pop_front();
        }
        const bool stop = filter && filter(pending.message);
        std::int64_t result = 0;
        if (!stop) result = dispatch(self, pending.message);
        if (pending.replyTo) {
            owed.add(pending.replyTo,
                     replyFrame(pending.id, FrameKind::Reply, result, std::move(pending.message.text)));
            if (stop || !nextIsSendFrom(self, pending.replyTo)) owed.flush();
        }
        if (stop) return -1;
        ++handled;
    }
}

int wakeFdOfThread(Server& self) {
    std::lock_guard guard(self.lock);
    const auto queue = self.queues.find(currentThread());
    return queue == self.queues.end() ? -1 : queue->second->wakeFd;
}

// A peer answering a send, or sending the next message of a burst, usually does so within this time: a
// wait for a reply, or for more of a burst, looks again and again that long before it sleeps, because waking
// a sleeping processor costs more than the looks (tens of microseconds on a virtual machine, one wake a
// message). A thread that served nothing lately is not in a burst, and sleeps at once.
constexpr auto kSpin = std::chrono::microseconds(100);
constexpr auto kBurst = std::chrono::milliseconds(1);
thread_local Clock::time_point lastServed;

int spinThenPoll(pollfd* waits, nfds_t count, int waitMs, bool spin) {
    if (spin && waitMs > 0)
        for (const auto until = Clock::now() + kSpin; Clock::now() < until;)
            if (const int ready = poll(waits, count, 0); ready != 0) return ready;
    return poll(waits, count, waitMs);
}

// Waits until `fd` is readable or `deadline` passes, serving the calling thread's messages meanwhile.
// True when `fd` became readable (always false for -1). With `served`, the wait ends once a message was
// handled, and `filter` answering true ends it with -1 there. What other processes sent is read when the
// poll says it came, so a wait costs one call while nothing does.
bool serveUntil(Server& self, int fd, Clock::time_point deadline,
                const std::function<bool(const Message&)>& filter = {}, int* served = nullptr) {
    bool spin = fd >= 0 || Clock::now() - lastServed < kBurst;
    for (bool lastLook = false;; spin = false) {
        const int handled = serveQueue(self, filter);
        if (handled != 0) lastServed = Clock::now();
        if (served) *served = handled < 0 ? -1 : *served + handled;
        if (handled < 0) return false;
        if (served && *served > 0 && fd < 0) return false;
        if (lastLook) return false;
        pollfd waits[3] = {{fd, POLLIN, 0}, {self.poller, POLLIN, 0}, {wakeFdOfThread(self), POLLIN, 0}};
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        lastLook = left.count() <= 0;
        const int waitMs = lastLook ? 0 : static_cast<int>(std::min<std::int64_t>(left.count(), 20));
        if (spinThenPoll(waits, 3, waitMs, spin) > 0) {
            if (waits[0].revents) return true;
            if (waits[2].revents) drain(waits[2].fd);
            if (waits[1].revents) readIncoming(self);
        }
    }
}

// Waits for the reply numbered `id` on `connection`; replies to sends that gave up earlier are dropped.
std::optional<Frame> awaitReply(Server& self, Connection& connection, std::uint64_t id,
                                Clock::time_point deadline) {
    for (;;) {
        bool malformed = false;
        while (std::optional<Frame> frame = bus::takeFrame(connection.input, malformed))
            if (frame->header.id == id) return frame;
        if (malformed) return std::nullopt;
        if (!serveUntil(self, connection.fd, deadline)) return std::nullopt;
        if (!bus::readAvailable(connection.fd, connection.input)) return std::nullopt;
    }
}

} // namespace

std::optional<Hwnd> createWindow(const WindowSpec& spec, WindowProc procedure, std::string* error) {
    Server& self = theServer();
    {
        std::lock_guard guard(self.lock);
        if (!self.listening()) {
            if (error) *error = "le bus des fenêtres est indisponible";
            return std::nullopt;
        }
    }
    const std::optional<Hwnd> window = window_table::add(spec, error);
    if (!window) return std::nullopt;
    std::lock_guard guard(self.lock);
    self.windows[*window] =
        LocalWindow{procedure ? std::move(procedure) : WindowProc(defWindowProc), currentThread()};
    self.queueOf(currentThread());
    return window;
}

void destroyWindow(Hwnd window) {
    if (processOfHandle(window) != getpid()) return;
    std::vector<Hwnd> doomed = window_table::descendants(window);
    doomed.push_back(window);
    window_table::remove(window);
    Server& self = theServer();
    std::lock_guard guard(self.lock);
    for (Hwnd gone : doomed)
        self.windows.erase(gone);
}

namespace {

// The process that owns `window` when it is another one, told by the handle alone: that process answers for
// its windows itself, so a message to it needs no look at the table. 0 for this process's windows and the
// desktop.
pid_t otherOwner(Hwnd window) {
    const pid_t process = processOfHandle(window);
    return process > 0 && process != getpid() ? process : 0;
}

// Sends `messages`, all to windows of `process`, one after the other without waiting in between, then takes
// their answers in order; the receiver handles them in the order sent.
std::vector<SendResult> sendInTurn(pid_t process, const std::vector<Message>& messages, int timeoutMs) {
    std::vector<SendResult> answers(messages.size());
    Server& self = theServer();
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    Connection* connection = outgoing.to(process, deadline);
    if (!connection) return answers;
    const std::uint64_t firstId = outgoing.nextId;
    std::vector<Frame> frames;
    for (const Message& message : messages)
        frames.push_back(frameOf(message, FrameKind::Send, outgoing.nextId++));
    if (!bus::writeFrames(connection->fd, frames, deadline)) {
        outgoing.drop(process);
        return answers;
    }
    for (std::size_t i = 0; i < messages.size(); ++i) {
        const std::optional<Frame> frame = awaitReply(self, *connection, firstId + i, deadline);
        if (!frame) {
            // A peer that died or broke the stream is forgotten; a slow one keeps its connection.
            if (!window_table::isWindow(messages[i].window)) outgoing.drop(process);
            break;
        }
        answers[i].delivered = frame->header.kind == FrameKind::Reply;
        answers[i].result = frame->header.result;
        answers[i].text = frame->text;
    }
    return answers;
}

} // namespace

SendResult sendMessage(const Message& message, int timeoutMs) {
    if (const pid_t process = otherOwner(message.window))
        return std::move(sendInTurn(process, {message}, timeoutMs).front());
    SendResult answer;
    const std::optional<WindowOwner> owner = window_table::ownerOf(message.window);
    if (!owner) return answer;
    if (owner->process == getpid() && owner->thread == currentThread()) {
        Message local = message;
        answer.result = dispatch(theServer(), local);
        answer.delivered = true;
        answer.text = std::move(local.text);
        return answer;
    }
    return std::move(sendInTurn(owner->process, {message}, timeoutMs).front());
}

std::vector<SendResult> sendMessages(const std::vector<Message>& messages, int timeoutMs) {
    const pid_t process = messages.empty() ? 0 : otherOwner(messages.front().window);
    const bool oneOtherProcess =
        process && std::all_of(messages.begin(), messages.end(),
                               [&](const Message& message) { return otherOwner(message.window) == process; });
    if (oneOtherProcess) return sendInTurn(process, messages, timeoutMs);
    std::vector<SendResult> answers;
    for (const Message& message : messages)
        answers.push_back(sendMessage(message, timeoutMs));
    return answers;
}

std::int64_t sendMessage(Hwnd window, std::uint32_t id, std::uint64_t wParam, std::int64_t lParam) {
    return sendMessage(Message{window, id, wParam, lParam, {}}).result;
}

bool postMessage(const Message& message) {
    const std::optional<WindowOwner> owner = window_table::ownerOf(message.window);
    if (!owner) return false;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(kSendTimeoutMs);
    Connection* connection = outgoing.to(owner->process, deadline);
    if (!connection) return false;
    if (bus::writeFrame(connection->fd, frameOf(message, FrameKind::Post, 0), deadline)) return true;
    outgoing.drop(owner->process);
    return false;
}

bool postMessage(Hwnd window, std::uint32_t id, std::uint64_t wParam, std::int64_t lParam) {
    return postMessage(Message{window, id, wParam, lParam, {}});
}

int broadcastMessage(Message message, int timeoutMs) {
    int answered = 0;
    for (Hwnd window : window_table::topLevelWindows()) {
        message.window = window;
        if (sendMessage(message, timeoutMs).delivered) ++answered;
    }
    return answered;
}

int pumpMessages(int waitMs, const std::function<bool(const Message&)>& filter) {
    Server& self = theServer();
    int served = 0;
    serveUntil(self, -1, Clock::now() + std::chrono::milliseconds(std::max(waitMs, 0)), filter, &served);
    return served;
}

int messageBusFd() {
    Server& self = theServer();
    std::lock_guard guard(self.lock);
    return self.poller;
}

} // namespace platform
