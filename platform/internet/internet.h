#pragma once
// HTTP sessions, connections and requests (WinINet) over libcurl.
//
// A session carries the agent name and the proxy choice: a named proxy, the system's settings (the
// http_proxy, https_proxy and no_proxy variables) or a direct connection. A connection is one server and
// port, kept alive between its requests. HTTPS certificates are always verified against the system's
// authorities, plus the one file that setExtraCertificateAuthority names (for tests). The receive time-out
// is, as in WinINet, a limit per read: it bounds the connection and any stall, not the whole transfer; a
// request that sets none gets the default time-out, as WinINet has one, so no server can hold it forever.
// Redirects are followed, at most kMostRedirects of them, over HTTP and HTTPS only.
//
// The error dialogue (InternetErrorDlg) is asked only for the answers that want credentials (401 and 407);
// it is a pluggable handler like the message box: the default cancels, tests script the answers.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::internet {

// URL schemes (INTERNET_SCHEME_*).
constexpr int SCHEME_UNKNOWN = -1;
constexpr int SCHEME_DEFAULT = 0;
constexpr int SCHEME_FTP = 1;
constexpr int SCHEME_GOPHER = 2;
constexpr int SCHEME_HTTP = 3;
constexpr int SCHEME_HTTPS = 4;
constexpr int SCHEME_FILE = 5;
constexpr int SCHEME_NEWS = 6;
constexpr int SCHEME_MAILTO = 7;

// The code of a scheme name, case ignored; SCHEME_UNKNOWN for others.
int schemeCode(std::string_view scheme);

// Header queries (HTTP_QUERY_*).
constexpr unsigned QUERY_CONTENT_TYPE = 1;
constexpr unsigned QUERY_CONTENT_LENGTH = 5;
constexpr unsigned QUERY_STATUS_CODE = 19;
constexpr unsigned QUERY_STATUS_TEXT = 20;
constexpr unsigned QUERY_RAW_HEADERS_CRLF = 22;

enum class Proxy { Named, System, Direct };

struct Session {
    std::string agent;
    Proxy proxy = Proxy::System;
    std::string proxyName;
};

class Connection;

// The status line and headers of the last answer of a request.
struct Answer {
    long status = 0;
    std::string statusText;
    std::string rawHeaders; // every header line of the final answer, each ending with "\r\n"
};

// Text of the answer's header that `query` selects; nullopt when the answer has none.
std::optional<std::string> queryInfo(const Answer& answer, unsigned query);

// The time-out of requests that set none: WinINet's 30 seconds.
constexpr unsigned long kDefaultTimeoutMs = 30000;
constexpr long kMostRedirects = 10;

struct Request {
    std::string verb = "GET";
    std::string path = "/";
    std::string body;
    std::vector<std::string> headers; // "Name: value" lines
    unsigned long timeoutMs = 0;      // 0: the default time-out
    std::size_t mostBodyBytes = 0;    // a longer body fails the request (FILESIZE_EXCEEDED); 0: no bound
    std::string user;                 // credentials for this request; empty: the connection's
    std::string password;
    std::string proxyUser; // credentials for the proxy; empty: none
    std::string proxyPassword;
};

// Receives the answer's body as it arrives; false stops the transfer.
using BodySink = std::function<bool(const char* bytes, std::size_t size)>;

// A connection to one server through the session; null when libcurl cannot be loaded (the last response
// text then says why) or cannot make a handle. libcurl is loaded at the first connection, not with the
// library. The session must outlive it. closeConnection frees it (null is allowed).
Connection* connect(const Session& session, const std::string& host, int port, bool secure,
                    const std::string& user, const std::string& password);
void closeConnection(Connection* connection);

// libcurl's code for a body longer than the request's bound.
constexpr int FILESIZE_EXCEEDED = 63;

// Sends the request and hands the body to `sink`. 0 on success, else libcurl's error code; `answer` holds
// what came back either way. The last response text is set to the status line or the error's text.
int send(Connection& connection, const Request& request, const BodySink& sink, Answer& answer);

// The text of the last answer or error of this thread (InternetGetLastResponseInfo).
std::string lastResponseText();

// Replaces the default time-out (tests shorten it); 0 puts kDefaultTimeoutMs back.
void setDefaultTimeout(unsigned long ms);

// An extra certificate authority (a PEM file) trusted besides the system's; "" for none.
void setExtraCertificateAuthority(std::string pemFile);

// The error dialogue.
struct CredentialsRequest {
    long status = 0; // 401 the server, 407 the proxy
    std::string host;
};
struct CredentialsAnswer {
    bool retry = false; // false: cancelled
    std::string user;
    std::string password;
};
using CredentialsHandler = std::function<CredentialsAnswer(const CredentialsRequest&)>;

enum class DialogResult { Success, Retry, Cancel };

// Success for an answer that wants no credentials; otherwise asks the handler and, on a retry, puts its user
// and password into `request` (as the proxy's for a 407).
DialogResult errorDialog(long status, const std::string& host, Request& request);

void setCredentialsHandler(CredentialsHandler handler);

} // namespace platform::internet
