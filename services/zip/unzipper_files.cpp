// The folders and file times of extraction.
#include "services/zip/unzipper.h"

#include "services/zip/dos_date_time.h"

#include "platform/files/path_map.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <ctime>
#include <optional>
#include <string>

bool CUnzipper::CreateFolder(const char* path) {
    if (!path || !*path) return false;
    std::string folder(path);
    while (folder.size() > 1 && (folder.back() == '\\' || folder.back() == '/'))
        folder.pop_back();
    const std::string host = platform::hostPath(folder);
    struct stat st;
    if (stat(host.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
    const std::size_t separator = folder.find_last_of("\\/");
    if (separator != std::string::npos && separator > 0 && folder[separator - 1] != ':' &&
        !CreateFolder(folder.substr(0, separator).c_str()))
        return false;
    return mkdir(host.c_str(), 0777) == 0 ||
           (errno == EEXIST && stat(host.c_str(), &st) == 0 && S_ISDIR(st.st_mode));
}

bool CUnzipper::CreateFilePath(const char* path) {
    if (!path) return false;
    const std::string file(path);
    const std::size_t separator = file.find_last_of('\\');
    return separator != std::string::npos && CreateFolder(file.substr(0, separator).c_str());
}

std::optional<std::time_t> zip_dates::timeOfDosDate(unsigned long dosDateTime) {
    const unsigned long date = dosDateTime >> 16;
    const unsigned long time = dosDateTime & 0xFFFF;
    std::tm local{};
    local.tm_year = static_cast<int>((date >> 9) & 0x7F) + 80;
    local.tm_mon = static_cast<int>((date >> 5) & 0x0F) - 1;
    local.tm_mday = static_cast<int>(date & 0x1F);
    local.tm_hour = static_cast<int>((time >> 11) & 0x1F);
    local.tm_min = static_cast<int>((time >> 5) & 0x3F);
    local.tm_sec = static_cast<int>(time & 0x1F) * 2;
    local.tm_isdst = -1;
    const std::time_t seconds = std::mktime(&local);
    if (seconds == static_cast<std::time_t>(-1)) return std::nullopt;
    return seconds;
}

bool CUnzipper::SetFileModTime(const char* file, unsigned long dosDateTime) {
    if (!file) return false;
    const std::optional<std::time_t> seconds = zip_dates::timeOfDosDate(dosDateTime);
    if (!seconds) return false;
    // The last-access time is kept; Linux has no creation time to set.
    const struct timespec times[2] = {{0, UTIME_OMIT}, {*seconds, 0}};
    return utimensat(AT_FDCWD, platform::hostPath(file).c_str(), times, AT_SYMLINK_NOFOLLOW) == 0;
}
