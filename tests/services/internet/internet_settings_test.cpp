// The settings statics and the splitting of URLs with their service keys.
#include "services/internet/internet.h"

#include "platform/internet/internet.h"
#include "tests/services/internet/internet_test_support.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using internet_testing::InternetTest;
using Split = CInternet::CSPlitURL;

TEST_F(InternetTest, SettingsAndTheirDefaults) {
    CInternet::InitInternetVar(1);
    EXPECT_EQ(CInternet::GetTimeout(), 0u);
    EXPECT_STREQ(CInternet::GetMapsKey(), "*");
    EXPECT_STREQ(CInternet::GetIgnKey(), "brindole");
    EXPECT_STREQ(CInternet::g_MapImagesDir, "*");

    writeSetting("[INTERNET]\nTIMEOUT=25\nPROXYNAME=  my   proxy:3128 \n"
                 "[GMAPS]\nGMAPKEY=ab\nIMGDIR=C:\\maps\\images\\tile.png\n[GEOPORTAIL]\nIGNKEY=ign-key\n");
    EXPECT_EQ(CInternet::GetTimeout(), 0u) << "two characters are too few";
    EXPECT_STREQ(CInternet::g_ProxyName, "my proxy:3128");
    EXPECT_STREQ(CInternet::GetMapsKey(), "*") << "two characters are too few";
    EXPECT_STREQ(CInternet::g_MapImagesDir, "C:\\maps\\images\\");
    EXPECT_STREQ(CInternet::GetIgnKey(), "ign-key");
}

TEST_F(InternetTest, KeysTakeTheirPlaceholders) {
    const std::string longKey(5000, 'k');
    writeSetting("[GMAPS]\nGMAPKEY=" + longKey + "\n[GEOPORTAIL]\nIGNKEY=ign123\n");
    Split url("https://u:p@maps.example.org:8443/tiles/{ignkey}/x?key={GMAPKEY}&k={IgnKey}&z={other}#top");
    ASSERT_NE(url.lpszHostName, nullptr);
    EXPECT_STREQ(url.lpszScheme, "https");
    EXPECT_EQ(url.nScheme, platform::internet::SCHEME_HTTPS);
    EXPECT_STREQ(url.lpszHostName, "maps.example.org");
    EXPECT_EQ(url.nPort, 8443);
    EXPECT_STREQ(url.lpszUserName, "u");
    EXPECT_STREQ(url.lpszPassword, "p");
    EXPECT_STREQ(url.lpszUrlPath, "/tiles/ign123/x");
    EXPECT_EQ(std::string(url.lpszExtraInfo), "?key=" + longKey + "&k=ign123&z={other}#top");

    const Split copy = url;
    url.SPlit("http://other/");
    EXPECT_STREQ(copy.lpszHostName, "maps.example.org") << "a copy owns its texts";
    EXPECT_EQ(url.nPort, 80);
    EXPECT_EQ(url.nScheme, platform::internet::SCHEME_HTTP);
    EXPECT_STREQ(url.lpszExtraInfo, "");
}

TEST_F(InternetTest, TheBuiltInKeyStandsWithoutSettings) {
    CInternet::InitInternetVar(1);
    const Split url("http://h/wmts?apikey={IGNKEY}");
    EXPECT_STREQ(url.lpszExtraInfo, "?apikey=brindole");
}

TEST_F(InternetTest, WhatCannotBeSplitAnswersZero) {
    Split url;
    for (const char* text : {"", "no scheme here", "ht tp://x", "http://[::1", "http://h:99999/"}) {
        EXPECT_EQ(url.SPlit(text), 0) << text;
        EXPECT_EQ(url.lpszHostName, nullptr) << text;
    }
    EXPECT_EQ(url.SPlit(nullptr), 0);
    const std::string longUser = "http://" + std::string(200, 'u') + ":p@h/";
    EXPECT_EQ(url.SPlit(longUser.c_str()), 0) << "a user longer than its field";
    EXPECT_EQ(url.SPlit("http://h/"), 1);
}

} // namespace
