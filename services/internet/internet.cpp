// Connecting to a server and checking the user's credentials on it.
#include "services/internet/internet.h"

#include "platform/base/ascii.h"
#include "platform/internet/internet.h"
#include "platform/internet/url.h"

#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

namespace {

namespace net = platform::internet;

constexpr char kCredentialsPage[] = "/premium/default.htm";
constexpr int kHttpsPort = 443;
// Times the credentials dialogue may send the check again.
constexpr int kCredentialsRetries = 4;

struct Server {
    std::string host;
    int port = 0; // 0: not named
    bool https = false;
};

// The host and port of "host", "host:port" or a URL; its path is left out. False for what is no server.
bool parseServer(const char* text, Server& server) {
    if (!text || !*text) return false;
    std::string url(text);
    if (url.find("://") == std::string::npos) url = "http://" + url;
    const std::optional<net::UrlParts> parts = net::splitUrl(url);
    if (!parts || parts->host.empty()) return false;
    server.https = platform::sameNoCase(parts->scheme, "https");
    server.host = parts->host;
    if (server.host.size() > 2 && server.host.front() == '[')
        server.host = server.host.substr(1, server.host.size() - 2);
    server.port = static_cast<int>(parts->port);
    return true;
}

} // namespace

CInternet::CInternet() {
    InitInternetVar(1);
}

CInternet::~CInternet() {
    Close();
    std::free(m_pHeader);
}

int CInternet::Connect(const char* agent, const char* server, const char* user, const char* password) {
    InitInternetVar(1);
    if (m_hConnect) return 1;
    Server named;
    if (!parseServer(server, named)) return 0;
    if (named.https) m_nPort = kHttpsPort;
    if (named.port) m_nPort = named.port;

    Close();
    m_hSession = new net::Session{agent ? agent : "", g_ProxyName ? net::Proxy::Named : net::Proxy::System,
                                  g_ProxyName ? g_ProxyName : ""};
    m_hConnect = net::connect(*m_hSession, named.host, m_nPort, named.https || m_nPort == kHttpsPort,
                              user ? user : "", password ? password : "");
    if (!m_hConnect) return 0;
    m_pServer = strdup(named.host.c_str());
    if (!checkCredentials()) Close();
    return isConnected();
}

bool CInternet::checkCredentials() {
    net::Request request;
    request.path = kCredentialsPage;
    request.timeoutMs = g_Timeout;
    net::Answer answer;
    const net::BodySink ignore = [](const char*, std::size_t) { return true; };
    for (int attempt = 0; attempt <= kCredentialsRetries; ++attempt) {
        // A server that cannot be reached has no connection to keep.
        if (net::send(*m_hConnect, request, ignore, answer) != 0) return false;
        switch (net::errorDialog(answer.status, m_pServer, request)) {
        case net::DialogResult::Success:
            return true;
        case net::DialogResult::Cancel:
            return false;
        case net::DialogResult::Retry:
            break;
        }
    }
    return false;
}

void CInternet::Close() {
    net::closeConnection(m_hConnect);
    m_hConnect = nullptr;
    delete m_hSession;
    m_hSession = nullptr;
    std::free(m_pServer);
    m_pServer = nullptr;
}
