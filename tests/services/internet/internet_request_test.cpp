// Requests against a small HTTP server of the test's own on 127.0.0.1.
#include "services/internet/internet.h"
#include "tests/services/internet/internet_test_support.h"

#include "platform/internet/internet.h"

#include <gtest/gtest.h>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>

namespace {

using internet_testing::get;
using internet_testing::InternetTest;
using internet_testing::pattern;
using internet_testing::post;
using internet_testing::TestServer;
using internet_testing::text;

TEST_F(InternetTest, LargeAnswersComeWholeInMemoryAndInFiles) {
    TestServer server;
    CInternet client;
    ASSERT_EQ(client.Connect("zorta", server.server().c_str(), nullptr, nullptr), 1);
    EXPECT_EQ(get(client, "/bytes/2500000"), pattern(2500000));

    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(client.Request("/bytes/10000000", "GET", nullptr, 0, file, 0), nullptr)
        << "written, not answered";
    std::string written(10000000 + 1, '\0');
    std::rewind(file);
    written.resize(std::fread(written.data(), 1, written.size(), file));
    std::fclose(file);
    EXPECT_TRUE(written == pattern(10000000));
}

TEST_F(InternetTest, AFormPostWithoutBodySendsItsQuery) {
    TestServer server;
    CInternet client;
    ASSERT_EQ(
        client.Connect("zorta", ("http://" + server.server() + "/ignored/path").c_str(), nullptr, nullptr),
        1);
    EXPECT_EQ(post(client, "/some/long/path/service?x=1"),
              "path=/some/long/path/service/\n"
              "type=application/x-www-form-urlencoded;charset=UTF-8\n"
              "body=x=1");
    EXPECT_EQ(post(client, "/some/long/path/?a=b"),
              "path=/some/long/path/\ntype=application/x-www-form-urlencoded;charset=UTF-8\nbody=a=b");
    EXPECT_EQ(post(client, "/s?early=1"),
              "path=/s?early=1\ntype=application/x-www-form-urlencoded;charset=UTF-8\nbody=")
        << "a query before the 11th character stays";
    EXPECT_EQ(post(client, "/form", "k=v&w=z", 3),
              "path=/form\ntype=application/x-www-form-urlencoded;charset=UTF-8\nbody=k=v");
}

TEST_F(InternetTest, EveryAnswerRecordsItsStatus) {
    TestServer server;
    CInternet client;
    ASSERT_EQ(client.Connect("zorta", server.server().c_str(), nullptr, nullptr), 1);
    EXPECT_EQ(get(client, "/missing", platform::internet::QUERY_STATUS_CODE), "no such page")
        << "an error page is a body";
    EXPECT_STREQ(client.GetHeader(), "404");
    EXPECT_EQ(client.GetHeaderLength(), 3);
    get(client, "/missing", platform::internet::QUERY_STATUS_TEXT);
    EXPECT_STREQ(client.GetHeader(), "Not Found");
    get(client, "/missing", platform::internet::QUERY_CONTENT_TYPE);
    EXPECT_STREQ(client.GetHeader(), "text/html");

    EXPECT_EQ(client.Request("/empty", nullptr, nullptr, 0, nullptr, platform::internet::QUERY_STATUS_CODE),
              nullptr);
    EXPECT_STREQ(client.GetHeader(), "204") << "an empty answer is null, with its status kept";
}

TEST_F(InternetTest, TheCredentialsDialogueRetriesOrCloses) {
    TestServer server({"--auth", "user:pass", "--premium"});
    int asked = 0;
    platform::internet::setCredentialsHandler([&](const platform::internet::CredentialsRequest& request) {
        ++asked;
        EXPECT_EQ(request.status, 401);
        return platform::internet::CredentialsAnswer{true, "user", asked == 1 ? "wrong" : "pass"};
    });
    CInternet client;
    ASSERT_EQ(client.Connect("zorta", server.server().c_str(), nullptr, nullptr), 1);
    EXPECT_EQ(asked, 2) << "asked again after the wrong password";
    EXPECT_EQ(get(client, "/secret", 0x800), "secret") << "the accepted credentials stay with the connection";

    platform::internet::setCredentialsHandler({});
    CInternet refused;
    EXPECT_EQ(refused.Connect("zorta", server.server().c_str(), nullptr, nullptr), 0)
        << "cancelled by default";
    EXPECT_EQ(refused.isConnected(), 0);
}

TEST_F(InternetTest, ARefusedRequestAsksWithBit0x800) {
    TestServer server({"--auth", "user:pass"});
    CInternet client;
    ASSERT_EQ(client.Connect("zorta", server.server().c_str(), nullptr, nullptr), 1);
    EXPECT_EQ(get(client, "/secret", platform::internet::QUERY_STATUS_CODE), "who are you")
        << "without the bit the refusal is the answer";
    EXPECT_STREQ(client.GetHeader(), "401");

    int asked = 0;
    platform::internet::setCredentialsHandler([&](const platform::internet::CredentialsRequest&) {
        ++asked;
        return platform::internet::CredentialsAnswer{true, "user", "pass"};
    });
    EXPECT_EQ(get(client, "/secret", 0x800 | 19), "secret");
    EXPECT_EQ(asked, 1);
    EXPECT_STREQ(client.GetHeader(), "200");

    CInternet cancelled;
    ASSERT_EQ(cancelled.Connect("zorta", server.server().c_str(), nullptr, nullptr), 1);
    platform::internet::setCredentialsHandler({});
    EXPECT_EQ(cancelled.Request("/secret", nullptr, nullptr, 0, nullptr, 0x800), nullptr);
    EXPECT_EQ(cancelled.isConnected(), 0) << "a cancelled dialogue closes the connection";
}

TEST_F(InternetTest, SilentServersAndClosedPortsFail) {
    writeSetting("[INTERNET]\nTIMEOUT=1000\n");
    TestServer server;
    CInternet client;
    ASSERT_EQ(client.Connect("zorta", server.server().c_str(), nullptr, nullptr), 1);
    EXPECT_EQ(CInternet::GetTimeout(), 1000u);
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(client.Request("/stall", nullptr, nullptr, 0, nullptr, 0), nullptr);
    // The server never answers: coming back at all is the time-out at work. The bound is loose, since a
    // loaded machine may take its time.
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20));
    EXPECT_FALSE(platform::internet::lastResponseText().empty());

    const int socketFd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(bind(socketFd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(getsockname(socketFd, reinterpret_cast<sockaddr*>(&address), &length), 0);
    close(socketFd);
    CInternet closed;
    EXPECT_EQ(closed.Connect("zorta", ("127.0.0.1:" + std::to_string(ntohs(address.sin_port))).c_str(),
                             nullptr, nullptr),
              0);
    EXPECT_EQ(closed.Request("/x", nullptr, nullptr, 0, nullptr, 0), nullptr);
}

TEST_F(InternetTest, WithoutATimeoutSettingTheDefaultBoundsEveryStall) {
    platform::internet::setDefaultTimeout(1000);
    TestServer server;
    CInternet client;
    ASSERT_EQ(client.Connect("zorta", server.server().c_str(), nullptr, nullptr), 1);
    ASSERT_EQ(CInternet::GetTimeout(), 0u);
    for (const char* path : {"/stall", "/stall-body"}) {
        const auto started = std::chrono::steady_clock::now();
        EXPECT_EQ(client.Request(path, nullptr, nullptr, 0, nullptr, 0), nullptr) << path;
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20)) << path;
    }
    platform::internet::setDefaultTimeout(0);
}

TEST_F(InternetTest, RedirectsAreFollowedABoundedNumberOfTimes) {
    TestServer server;
    CInternet client;
    ASSERT_EQ(client.Connect("zorta", server.server().c_str(), nullptr, nullptr), 1);
    EXPECT_EQ(get(client, "/redirect/3", platform::internet::QUERY_STATUS_CODE), pattern(100));
    EXPECT_STREQ(client.GetHeader(), "200") << "the final answer's";
    EXPECT_EQ(get(client, "/redirect/10"), pattern(100));
    EXPECT_EQ(get(client, "/redirect/11"), "<null>");
    EXPECT_EQ(get(client, "/loop"), "<null>");
}

TEST_F(InternetTest, AnEndlessBodyStopsAtItsBound) {
    TestServer server;
    platform::internet::Session session;
    session.proxy = platform::internet::Proxy::Direct;
    platform::internet::Connection* connection =
        platform::internet::connect(session, "127.0.0.1", server.port(), false, "", "");
    ASSERT_NE(connection, nullptr);
    platform::internet::Request request;
    request.path = "/endless";
    request.mostBodyBytes = 1 << 20;
    std::size_t received = 0;
    platform::internet::Answer answer;
    const int error = platform::internet::send(
        *connection, request,
        [&](const char*, std::size_t size) {
            received += size;
            return true;
        },
        answer);
    platform::internet::closeConnection(connection);
    EXPECT_EQ(error, platform::internet::FILESIZE_EXCEEDED);
    EXPECT_LE(received, request.mostBodyBytes);
    EXPECT_GT(received, request.mostBodyBytes / 2);
    EXPECT_FALSE(platform::internet::lastResponseText().empty());
}

TEST_F(InternetTest, CertificatesAreVerified) {
    TestServer server(
        {"--tls", ZORTA_TEST_CERTIFICATES "/server.pem", ZORTA_TEST_CERTIFICATES "/server.key"});
    const std::string url = "https://" + server.server();
    CInternet unknown;
    EXPECT_EQ(unknown.Connect("zorta", url.c_str(), nullptr, nullptr), 0) << "an authority nobody trusts";

    platform::internet::setExtraCertificateAuthority(ZORTA_TEST_CERTIFICATES "/ca.pem");
    CInternet trusted;
    ASSERT_EQ(trusted.Connect("zorta", url.c_str(), nullptr, nullptr), 1);
    EXPECT_EQ(get(trusted, "/bytes/300"), pattern(300));
    platform::internet::setExtraCertificateAuthority("");
}

TEST_F(InternetTest, ServersThatAreNoServers) {
    CInternet client;
    for (const char* server : {"", "http://", "ht tp://x", "http://[::1"})
        EXPECT_EQ(client.Connect("zorta", server, nullptr, nullptr), 0) << server;
    EXPECT_EQ(client.Connect("zorta", nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(client.Request("/x", nullptr, nullptr, 0, nullptr, 0), nullptr) << "not connected";
}

} // namespace
