// Log lines appended to a file.
#include "services/dos/dos.h"
#include "services/settings/settings_store_internal.h"

#include "platform/files/path_map.h"

#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

namespace {

constexpr int kCreateFolder = 0x1;
constexpr int kDatedPrefix = 0x2;
constexpr size_t kMaxPrefix = 260;

// "day/month/year hour:minute:second;place;computer;" in local time.
std::string datedPrefix() {
    char place[400] = "";
    if (settings::readSetting("VB", "FACTURATION", "LR", "LIEU", place, sizeof place) < 0) place[0] = 0;
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char date[64];
    std::snprintf(date, sizeof date, "%02d/%02d/%04d %02d:%02d:%02d;", local.tm_mday, local.tm_mon + 1,
                  local.tm_year + 1900, local.tm_hour, local.tm_min, local.tm_sec);
    const std::string prefix = std::string(date) + place + ";" + DOS::ComputerName() + ";";
    return prefix.substr(0, kMaxPrefix);
}

} // namespace

int DOS::AppendFile(const char* file, const char* text, int flags) {
    if (!file || std::strlen(file) <= 3) return -1;
    if (flags & kCreateFolder) CreateDir(GetPName(file, "UR"), 4);
    std::string path(file);
    if (path.find('.', path.size() - 5) == std::string::npos) path += ".log";

    std::FILE* log = std::fopen(platform::hostPath(path).c_str(), "ab");
    if (!log) return 0;
    int result = 0;
    if (flags & kDatedPrefix) {
        std::fputs(datedPrefix().c_str(), log);
        result = 1;
    }
    const bool written = std::fputs(text ? text : "", log) >= 0 && std::fputc('\n', log) != EOF;
    const bool closed = std::fclose(log) == 0;
    return result + (written && closed ? 0 : -1);
}
