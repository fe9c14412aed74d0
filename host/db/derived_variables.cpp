#include "host/db/derived_variables.h"

#include <sys/utsname.h>

#include <chrono>
#include <ctime>
#include <string_view>

#include "host/db/database.h"
#include "host/rx/host_versions.h"

namespace host {

namespace {

std::tm localNow(double& fractionOfSecond) {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    fractionOfSecond = static_cast<double>(now.tv_nsec) / 1e9;
    std::tm local{};
    localtime_r(&now.tv_sec, &local);
    return local;
}

// The Julian day: its number, then the part of the day gone since midnight (local time).
Group julianDate() {
    double fraction = 0;
    const std::tm t = localNow(fraction);
    // Days from 1 March of year 0 of the proleptic Gregorian calendar, then to the Julian day number.
    const int a = (14 - (t.tm_mon + 1)) / 12;
    const int y = t.tm_year + 1900 + 4800 - a;
    const int m = t.tm_mon + 1 + 12 * a - 3;
    const long day = t.tm_mday + (153 * m + 2) / 5 + 365L * y + y / 4 - y / 100 + y / 400 - 32045;
    const double seconds = t.tm_hour * 3600.0 + t.tm_min * 60.0 + t.tm_sec + fraction;
    return {40, static_cast<double>(day) + seconds / 86400.0};
}

// The calendar date as YYYYMMDD.HHMMSSmmm.
Group calendarDate() {
    double fraction = 0;
    const std::tm t = localNow(fraction);
    const double date = (t.tm_year + 1900) * 10000.0 + (t.tm_mon + 1) * 100.0 + t.tm_mday;
    const double time = t.tm_hour * 1e4 + t.tm_min * 1e2 + t.tm_sec + static_cast<int>(fraction * 1000) / 1e3;
    return {40, date + time / 1e6};
}

Group platform() {
    utsname machine{};
    if (uname(&machine) != 0) return {1, std::wstring(L"Linux")};
    const std::string text =
        std::string(machine.sysname) + " Version " + machine.release + " (" + machine.machine + ")";
    return {1, std::wstring(text.begin(), text.end())};
}

// The product without its release: "AutoCAD 2021" is "AutoCAD".
Group product() {
    const std::string_view name = emulatedHost().product;
    const std::string_view family = name.substr(0, name.find(' '));
    return {1, std::wstring(family.begin(), family.end())};
}

// Milliseconds on a steady clock, wrapping as a 32-bit count does: routines time their work by differences.
Group milliseconds() {
    const auto count = std::chrono::duration_cast<std::chrono::milliseconds>(
                           std::chrono::steady_clock::now().time_since_epoch())
                           .count();
    return {90, static_cast<Adesk::Int32>(static_cast<Adesk::UInt32>(count))};
}

} // namespace

bool derivedVariable(const std::wstring& name, const AcDbDatabase* db, Group& value) {
    if (sameSymbolName(name, L"DBMOD"))
        // Routines test it before they save or quit.
        value = {70, Adesk::Int16(db && db->isModifiedSinceSaved() ? 1 : 0)};
    else if (sameSymbolName(name, L"DATE"))
        value = julianDate();
    else if (sameSymbolName(name, L"CDATE"))
        value = calendarDate();
    else if (sameSymbolName(name, L"MILLISECS"))
        value = milliseconds();
    else if (sameSymbolName(name, L"PLATFORM"))
        value = platform();
    else if (sameSymbolName(name, L"PRODUCT"))
        value = product();
    else
        return false;
    return true;
}

std::wstring colorText(int index) {
    if (index == 256) return L"BYLAYER";
    if (index == 0) return L"BYBLOCK";
    return std::to_wstring(index);
}

int colorIndexOf(const std::wstring& text) {
    if (sameSymbolName(text, L"BYLAYER")) return 256;
    if (sameSymbolName(text, L"BYBLOCK")) return 0;
    if (text.empty() || text.size() > 3) return -1;
    int index = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9') return -1;
        index = index * 10 + (c - L'0');
    }
    return index >= 1 && index <= 255 ? index : -1;
}

} // namespace host
