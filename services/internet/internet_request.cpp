// Sending a request and collecting its answer in a growing block or a file.
#include "services/internet/internet.h"
#include "services/output/output.h"
#include "services/startup/shared_records.h"

#include "platform/base/ascii.h"
#include "platform/internet/internet.h"

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

namespace net = platform::internet;
using platform::HGLOBAL;

constexpr int kAskCredentials = 0x800;
constexpr int kTracePaths = 0x20;
constexpr int kTraceConnection = 8;
// A POST's query becomes its body only past the service's root ("http://x/?" is no form).
constexpr std::size_t kFirstFormQuery = 11;
constexpr std::size_t kFirstBlock = 1000001;
constexpr std::size_t kBlockGrowth = 1000000;
constexpr std::size_t kLeastFree = 1000;
constexpr char kFormContentType[] = "Content-Type: application/x-www-form-urlencoded;charset=UTF-8";

bool tracing(int bits) {
    return pvg && (pvg->pvDeb & bits) != 0;
}

// A POST without body sends the query of its path as the body, to the path ending with "/".
void moveQueryToBody(std::string& path, std::string& body) {
    const std::size_t query = path.find('?');
    if (query == std::string::npos || query < kFirstFormQuery) return;
    body = path.substr(query + 1);
    if (path[query - 1] == '/') {
        path.resize(query);
    } else {
        path[query] = '/';
        path.resize(query + 1);
    }
}

// The answer's bytes in a movable block, grown as they come.
class BlockSink {
public:
    BlockSink() = default;
    ~BlockSink() { platform::GlobalFree(block_); }
    BlockSink(const BlockSink&) = delete;
    BlockSink& operator=(const BlockSink&) = delete;

    // The block is made with the first bytes: an answer written to a file needs none.
    bool append(const char* bytes, std::size_t size) {
        if (!block_) block_ = platform::GlobalAlloc(kFirstBlock);
        if (!block_) return false;
        while (free() < size || free() - size < kLeastFree)
            if (!platform::GlobalReAlloc(block_, platform::GlobalSize(block_) + kBlockGrowth)) return false;
        std::memcpy(static_cast<char*>(platform::GlobalLock(block_)) + used_, bytes, size);
        platform::GlobalUnlock(block_);
        used_ += size;
        return true;
    }
    void restart() { used_ = 0; }
    std::size_t used() const { return used_; }
    std::size_t size() const { return platform::GlobalSize(block_); }
    HGLOBAL handle() const { return block_; }

    // The block shrunk to the bytes read, handed to the caller.
    HGLOBAL release() {
        if (!platform::GlobalReAlloc(block_, used_)) return nullptr;
        HGLOBAL block = block_;
        block_ = nullptr;
        return block;
    }

private:
    std::size_t free() const { return platform::GlobalSize(block_) - used_; }

    HGLOBAL block_ = nullptr;
    std::size_t used_ = 0;
};

} // namespace

HGLOBAL CInternet::Request(const char* path, const char* verb, const char* body, int bodyLength,
                           std::FILE* output, int headerQuery) {
    if (!m_hConnect || !path) return nullptr;
    const auto started = std::chrono::steady_clock::now();
    net::Request request;
    request.verb = verb && *verb ? verb : "GET";
    request.path = path;
    if (body)
        request.body.assign(body, bodyLength > 0 ? static_cast<std::size_t>(bodyLength) : std::strlen(body));
    else if (platform::sameNoCase(request.verb, "POST"))
        moveQueryToBody(request.path, request.body);
    if (tracing(kTracePaths)) mprintf("\n (0x20) %s", request.path.c_str());
    request.headers.push_back(kFormContentType);
    request.timeoutMs = g_Timeout;
    request.mostBodyBytes = output ? 0 : kMostAnswerBytes;

    BlockSink block;
    net::Answer answer;
    const bool askCredentials = (headerQuery & kAskCredentials) != 0;
    const net::BodySink sink = [&](const char* bytes, std::size_t size) {
        // The page of a refusal that the dialogue may still turn into an answer is not kept.
        if (askCredentials && answer.status == 401) return true;
        return output ? std::fwrite(bytes, 1, size, output) == size : block.append(bytes, size);
    };
    int error = 0;
    for (;;) {
        block.restart();
        error = net::send(*m_hConnect, request, sink, answer);
        if (error != 0 || !askCredentials || answer.status != 401 || m_nRetries <= 0) break;
        --m_nRetries;
        if (net::errorDialog(answer.status, m_pServer, request) != net::DialogResult::Retry) {
            --m_nRetries;
            Close();
            return nullptr;
        }
    }
    const int query = headerQuery & ~kAskCredentials;
    if (query != 0) {
        const std::string header = net::queryInfo(answer, static_cast<unsigned>(query)).value_or("");
        std::free(m_pHeader);
        m_pHeader = strdup(header.c_str());
        m_nHeaderLength = static_cast<std::int32_t>(header.size());
    }
    if (error == net::FILESIZE_EXCEEDED)
        mprintf("\nR\xe9ponse HTTP de plus de %d Mo abandonn\xe9"
                "e : %s",
                static_cast<int>(kMostAnswerBytes >> 20), request.path.c_str());
    if (error != 0) {
        if (tracing(kTraceConnection))
            mprintf("$G$ ** Probl\xe8me de Connection HTTP (Err=%d=%x)\n", error, error);
        return nullptr;
    }
    if (output) return nullptr;
    if (tracing(kTraceConnection | kTracePaths))
        mprintf("\n(0x08) InternetOpen OK %d Octets hOpenRequest=%p hConnect=%p hRes=%p lpResBuffer=%p",
                static_cast<int>(block.used()), static_cast<void*>(m_hConnect),
                static_cast<void*>(m_hConnect), static_cast<void*>(block.handle()),
                platform::GlobalLock(block.handle()));
    if (block.used() > 0) return block.release();

    const std::string response = net::lastResponseText().substr(0, 2000);
    if (tracing(kTracePaths)) {
        const auto elapsed =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started);
        mprintf("\n (0x20) Err InternetReadFile : temp=%d sizeMax=%d iiRes=%d dwBytes=%d Err=%d iErr=%d "
                "iStyrErr=%s",
                static_cast<int>(elapsed.count()), static_cast<int>(block.size()), 1, 0, error,
                static_cast<int>(answer.status), response.c_str());
    }
    return nullptr;
}
