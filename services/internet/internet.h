#pragma once
// CInternet: a small client for the map services. It connects to one HTTP or HTTPS server (through the
// configured proxy, the system's settings or directly), checks that the user's credentials are accepted,
// sends GET or form POST requests and answers with the body in a movable global memory block or writes it
// to a file. CSPlitURL splits a URL after putting the configured service keys in place of "{GMapKey}" and
// "{IgnKey}". The settings are process-wide statics read from the file "GMAPS" of the settings store.
#include "platform/system/global_memory.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace platform::internet {
struct Session;
class Connection;
} // namespace platform::internet

class CInternet {
public:
    // Settings (InitInternetVar).
    static unsigned long g_Timeout; // milliseconds, 0: none
    static char* g_ProxyName;       // null: none
    static char* g_MapImagesDir;    // "*" when not set
    static char* g_GMapsKey;        // "*" when not set
    static char* g_IgnKey;          // the built-in key when not set

    // Reads every setting when `reload` is set or the image folder is not known yet; answers 1.
    static int InitInternetVar(int reload);
    static unsigned long GetTimeout();
    static const char* GetMapsKey();
    static const char* GetIgnKey();

    CInternet();
    ~CInternet();
    CInternet(const CInternet&) = delete;
    CInternet& operator=(const CInternet&) = delete;

    // Connects to `server` ("host", "host:port" or a URL whose path is left out) and checks the
    // credentials on "/premium/default.htm"; 1 connected, 0 not.
    int Connect(const char* agent, const char* server, const char* user, const char* password);
    // An answer kept in memory may be this long; a longer one fails the request with a message.
    static constexpr std::size_t kMostAnswerBytes = std::size_t{256} << 20;

    // Sends a request. The body is written to `output` (the result is then null) or answered in a block the
    // caller frees; null on failure or for an empty answer. `headerQuery` names a header query whose answer
    // is kept in the header buffer; its bit 0x800 asks for credentials on a 401. Redirects are followed;
    // without a TIMEOUT setting the platform's default time-out bounds every wait.
    [[nodiscard]] platform::HGLOBAL Request(const char* path, const char* verb, const char* body,
                                            int bodyLength, std::FILE* output, int headerQuery);
    int isConnected() const { return m_hConnect != nullptr; }
    void Close();

    // The answer of the last header query, and its length.
    const char* GetHeader() const { return m_pHeader; }
    int GetHeaderLength() const { return m_nHeaderLength; }

    class CSPlitURL;

private:
    bool checkCredentials();

    std::int32_t m_nPort = 80;
    std::int32_t m_nRetries = 4;
    platform::internet::Session* m_hSession = nullptr;
    platform::internet::Connection* m_hConnect = nullptr;
    char* m_pHeader = nullptr;
    std::int32_t m_nHeaderLength = 0;
    std::int32_t m_nFlags = 0;
    char* m_pServer = nullptr;
};

// A URL split into its parts (InternetCrackUrl), after the key placeholders were replaced.
class __attribute__((packed)) CInternet::CSPlitURL {
public:
    explicit CSPlitURL(const char* url = nullptr);
    CSPlitURL(const CSPlitURL& other);
    CSPlitURL& operator=(const CSPlitURL& other);
    ~CSPlitURL();

    // 1 when the URL could be split, else 0 with every part empty; a user or password longer than its
    // field makes it 0 too.
    int SPlit(const char* url);

    char* lpszScheme = nullptr;
    std::int32_t nScheme = 0;
    char* lpszHostName = nullptr;
    std::uint16_t nPort = 0;
    char lpszUserName[110] = {};
    char lpszPassword[110] = {};
    char* lpszUrlPath = nullptr;
    char* lpszExtraInfo = nullptr;

private:
    void clear();
    void copyFrom(const CSPlitURL& other);
};
// The record lives inside one process: its pointers take the native width (258 bytes in the 64-bit build,
// 242 in the 32-bit one).
static_assert(sizeof(CInternet::CSPlitURL) == 226 + 4 * sizeof(void*));
static_assert(offsetof(CInternet::CSPlitURL, nPort) == 4 + 2 * sizeof(void*));
static_assert(offsetof(CInternet::CSPlitURL, lpszUrlPath) == 226 + 2 * sizeof(void*));
