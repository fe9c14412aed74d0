// The HTTP client stand-in over libcurl.
#include "platform/internet/internet.h"

#include "platform/base/ascii.h"
#include "platform/internet/curl_library.h"
#include "platform/internet/last_response.h"

#include <atomic>
#include <charconv>
#include <mutex>
#include <utility>

namespace platform::internet {

static_assert(FILESIZE_EXCEEDED == CURLE_FILESIZE_EXCEEDED);

// One server through one session; its handle keeps the connection alive between requests.
class Connection {
public:
    Connection(const CurlFunctions& curl, const Session& session, std::string host, int port, bool secure,
               std::string user, std::string password)
        : curl(curl), session(session), host(std::move(host)), port(port), secure(secure),
          user(std::move(user)), password(std::move(password)), handle(curl.easy_init()) {}
    ~Connection() {
        if (handle) curl.easy_cleanup(handle);
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    const CurlFunctions& curl;
    const Session& session;
    const std::string host;
    const int port;
    const bool secure;
    std::string user;
    std::string password;
    CURL* const handle;
};

namespace {

std::mutex g_settingsLock;
std::string g_extraAuthority;
CredentialsHandler g_credentialsHandler;
std::atomic<unsigned long> g_defaultTimeoutMs{kDefaultTimeoutMs};
thread_local std::string t_lastResponse;

struct Transfer {
    const BodySink* sink;
    Answer* answer;
    std::size_t mostBodyBytes;
    std::size_t bodyBytes = 0;
    bool tooLong = false;
};

size_t onBody(char* bytes, size_t, size_t size, void* data) {
    auto* transfer = static_cast<Transfer*>(data);
    transfer->bodyBytes += size;
    if (transfer->mostBodyBytes > 0 && transfer->bodyBytes > transfer->mostBodyBytes) {
        transfer->tooLong = true;
        return 0;
    }
    return (*transfer->sink)(bytes, size) ? size : 0;
}

// Keeps the header lines of the final answer: a new status line starts them over.
size_t onHeader(char* bytes, size_t, size_t size, void* data) {
    Answer& answer = *static_cast<Transfer*>(data)->answer;
    const std::string_view line(bytes, size);
    if (line.starts_with("HTTP/")) {
        answer.rawHeaders.clear();
        const std::size_t code = line.find(' ');
        if (code != std::string_view::npos)
            std::from_chars(line.data() + code + 1, line.data() + line.size(), answer.status);
        const std::size_t text = code == std::string_view::npos ? code : line.find(' ', code + 1);
        answer.statusText = text == std::string_view::npos ? "" : std::string(line.substr(text + 1));
        while (!answer.statusText.empty() &&
               (answer.statusText.back() == '\r' || answer.statusText.back() == '\n'))
            answer.statusText.pop_back();
    }
    answer.rawHeaders.append(line);
    return size;
}

std::string headerValue(const std::string& rawHeaders, std::string_view name) {
    std::size_t at = 0;
    while (at < rawHeaders.size()) {
        const std::size_t end = std::min(rawHeaders.find("\r\n", at), rawHeaders.size());
        const std::string_view line(rawHeaders.data() + at, end - at);
        const std::size_t colon = line.find(':');
        if (colon != std::string_view::npos && sameNoCase(line.substr(0, colon), name)) {
            std::string_view value = line.substr(colon + 1);
            while (!value.empty() && isBlank(value.front()))
                value.remove_prefix(1);
            return std::string(value);
        }
        at = end + 2;
    }
    return {};
}

void setOptions(Connection& connection, const Request& request, Transfer& transfer, curl_slist* headers,
                const std::string& url) {
    const CurlFunctions& curl = connection.curl;
    CURL* handle = connection.handle;
    curl.easy_reset(handle);
    curl.easy_setopt(handle, CURLOPT_URL, url.c_str());
    curl.easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    curl.easy_setopt(handle, CURLOPT_USERAGENT, connection.session.agent.c_str());
    // libcurl's own GET, POST and HEAD change to a GET on a redirect that asks for it; a named verb is kept.
    const bool plainGet = request.verb == "GET" && request.body.empty();
    if (!plainGet && request.verb != "POST" && request.verb != "HEAD")
        curl.easy_setopt(handle, CURLOPT_CUSTOMREQUEST, request.verb.c_str());
    if (request.verb == "HEAD") curl.easy_setopt(handle, CURLOPT_NOBODY, 1L);
    curl.easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
    curl.easy_setopt(handle, CURLOPT_MAXREDIRS, kMostRedirects);
    curl.easy_setopt(handle, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    if (request.verb == "POST" || !request.body.empty()) {
        curl.easy_setopt(handle, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(request.body.size()));
        curl.easy_setopt(handle, CURLOPT_POSTFIELDS, request.body.data());
    }
    curl.easy_setopt(handle, CURLOPT_HTTPHEADER, headers);
    curl.easy_setopt(handle, CURLOPT_WRITEFUNCTION, onBody);
    curl.easy_setopt(handle, CURLOPT_WRITEDATA, &transfer);
    curl.easy_setopt(handle, CURLOPT_HEADERFUNCTION, onHeader);
    curl.easy_setopt(handle, CURLOPT_HEADERDATA, &transfer);
    const std::string& user = request.user.empty() ? connection.user : request.user;
    const std::string& password = request.user.empty() ? connection.password : request.password;
    if (!user.empty()) {
        curl.easy_setopt(handle, CURLOPT_USERNAME, user.c_str());
        curl.easy_setopt(handle, CURLOPT_PASSWORD, password.c_str());
        curl.easy_setopt(handle, CURLOPT_HTTPAUTH, CURLAUTH_ANY);
    }
    const Session& session = connection.session;
    if (session.proxy == Proxy::Named) curl.easy_setopt(handle, CURLOPT_PROXY, session.proxyName.c_str());
    if (session.proxy == Proxy::Direct) curl.easy_setopt(handle, CURLOPT_PROXY, "");
    if (!request.proxyUser.empty()) {
        curl.easy_setopt(handle, CURLOPT_PROXYUSERNAME, request.proxyUser.c_str());
        curl.easy_setopt(handle, CURLOPT_PROXYPASSWORD, request.proxyPassword.c_str());
        curl.easy_setopt(handle, CURLOPT_PROXYAUTH, CURLAUTH_ANY);
    }
    {
        const std::lock_guard lock(g_settingsLock);
        if (!g_extraAuthority.empty()) curl.easy_setopt(handle, CURLOPT_CAINFO, g_extraAuthority.c_str());
    }
    // A limit per read, as WinINet's receive time-out: the connection, and any stall of the answer.
    const unsigned long timeoutMs = request.timeoutMs > 0 ? request.timeoutMs : g_defaultTimeoutMs.load();
    curl.easy_setopt(handle, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(timeoutMs));
    curl.easy_setopt(handle, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl.easy_setopt(handle, CURLOPT_LOW_SPEED_TIME, static_cast<long>((timeoutMs + 999) / 1000));
}

} // namespace

int schemeCode(std::string_view scheme) {
    constexpr std::pair<std::string_view, int> kSchemes[] = {
        {"ftp", SCHEME_FTP},   {"gopher", SCHEME_GOPHER}, {"http", SCHEME_HTTP},    {"https", SCHEME_HTTPS},
        {"file", SCHEME_FILE}, {"news", SCHEME_NEWS},     {"mailto", SCHEME_MAILTO}};
    for (const auto& [name, code] : kSchemes)
        if (sameNoCase(scheme, name)) return code;
    return SCHEME_UNKNOWN;
}

std::optional<std::string> queryInfo(const Answer& answer, unsigned query) {
    std::string text;
    switch (query) {
    case QUERY_STATUS_CODE:
        if (answer.status == 0) return std::nullopt;
        return std::to_string(answer.status);
    case QUERY_STATUS_TEXT:
        text = answer.statusText;
        break;
    case QUERY_RAW_HEADERS_CRLF:
        text = answer.rawHeaders;
        break;
    case QUERY_CONTENT_TYPE:
        text = headerValue(answer.rawHeaders, "Content-Type");
        break;
    case QUERY_CONTENT_LENGTH:
        text = headerValue(answer.rawHeaders, "Content-Length");
        break;
    default:
        return std::nullopt;
    }
    if (text.empty()) return std::nullopt;
    return text;
}

Connection* connect(const Session& session, const std::string& host, int port, bool secure,
                    const std::string& user, const std::string& password) {
    const CurlFunctions* curl = curlLibrary();
    if (!curl) {
        setLastResponseText(curlMissingText());
        return nullptr;
    }
    auto* connection = new Connection(*curl, session, host, port, secure, user, password);
    if (connection->handle) return connection;
    delete connection;
    return nullptr;
}

void closeConnection(Connection* connection) {
    delete connection;
}

int send(Connection& connection, const Request& request, const BodySink& sink, Answer& answer) {
    const CurlFunctions& curl = connection.curl;
    answer = Answer{};
    Transfer transfer{&sink, &answer, request.mostBodyBytes};
    curl_slist* headers = nullptr;
    for (const std::string& header : request.headers)
        headers = curl.slist_append(headers, header.c_str());
    const bool ipv6 = connection.host.find(':') != std::string::npos && connection.host.front() != '[';
    const std::string host = ipv6 ? "[" + connection.host + "]" : connection.host;
    const std::string url = std::string(connection.secure ? "https://" : "http://") + host + ":" +
                            std::to_string(connection.port) + (request.path.starts_with('/') ? "" : "/") +
                            request.path;
    setOptions(connection, request, transfer, headers, url);
    const CURLcode performed = curl.easy_perform(connection.handle);
    const CURLcode result = transfer.tooLong ? CURLE_FILESIZE_EXCEEDED : performed;
    curl.easy_getinfo(connection.handle, CURLINFO_RESPONSE_CODE, &answer.status);
    curl.slist_free_all(headers);
    // Credentials the server accepted stay with the connection, as WinINet keeps them.
    if (result == CURLE_OK && !request.user.empty() && answer.status != 401 && answer.status != 407) {
        connection.user = request.user;
        connection.password = request.password;
    }
    if (result != CURLE_OK)
        t_lastResponse = curl.easy_strerror(result);
    else
        t_lastResponse = std::to_string(answer.status) + " " + answer.statusText;
    return static_cast<int>(result);
}

std::string lastResponseText() {
    return t_lastResponse;
}

void setLastResponseText(std::string text) {
    t_lastResponse = std::move(text);
}

void setDefaultTimeout(unsigned long ms) {
    g_defaultTimeoutMs = ms > 0 ? ms : kDefaultTimeoutMs;
}

void setExtraCertificateAuthority(std::string pemFile) {
    const std::lock_guard lock(g_settingsLock);
    g_extraAuthority = std::move(pemFile);
}

DialogResult errorDialog(long status, const std::string& host, Request& request) {
    if (status != 401 && status != 407) return DialogResult::Success;
    CredentialsHandler handler;
    {
        const std::lock_guard lock(g_settingsLock);
        handler = g_credentialsHandler;
    }
    // Without a display there is nobody to ask: the default cancels.
    const CredentialsAnswer answer =
        handler ? handler(CredentialsRequest{status, host}) : CredentialsAnswer{};
    if (!answer.retry) return DialogResult::Cancel;
    (status == 407 ? request.proxyUser : request.user) = answer.user;
    (status == 407 ? request.proxyPassword : request.password) = answer.password;
    return DialogResult::Retry;
}

void setCredentialsHandler(CredentialsHandler handler) {
    const std::lock_guard lock(g_settingsLock);
    g_credentialsHandler = std::move(handler);
}

} // namespace platform::internet
