#include "host/editor/menus.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "host/db/database.h"
#include "host/db/resbuf.h"
#include "host/filing/text_codec.h"

namespace host {

namespace {

struct Menus {
    std::vector<std::wstring> groups;
    std::vector<std::wstring> log;
};

Menus& menus() {
    static Menus m;
    return m;
}

// The group a menu file declares, or its file name without extension.
std::wstring groupOf(const std::filesystem::path& path, std::ifstream& in) {
    std::string line;
    const std::string marker = "***MENUGROUP=";
    while (std::getline(in, line)) {
        if (line.compare(0, marker.size(), marker) != 0) continue;
        std::string name = line.substr(marker.size());
        while (!name.empty() && (name.back() == '\r' || name.back() == ' '))
            name.pop_back();
        if (!name.empty()) return fromCp1252(name);
    }
    return path.stem().wstring();
}

auto findGroup(const std::wstring& group) {
    return std::ranges::find_if(menus().groups,
                                [&](const std::wstring& g) { return sameSymbolName(g, group); });
}

} // namespace

bool loadMenuFile(const std::wstring& path, std::wstring& group, std::wstring& error) {
    std::filesystem::path file(toUtf8(path));
    // A device or a pipe may never end, nor give a line.
    std::error_code status;
    if (std::filesystem::exists(file, status) && !std::filesystem::is_regular_file(file, status)) {
        error = L"the menu file \"" + path + L"\" is not a plain file";
        return false;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        error = L"cannot read the menu file \"" + path + L"\"";
        return false;
    }
    group = groupOf(file, in);
    if (findGroup(group) == menus().groups.end()) menus().groups.push_back(group);
    return true;
}

bool unloadMenuGroup(const std::wstring& group) {
    auto it = findGroup(group);
    if (it == menus().groups.end()) return false;
    menus().groups.erase(it);
    return true;
}

const std::vector<std::wstring>& menuCommandLog() {
    return menus().log;
}

void resetMenus() {
    menus() = Menus{};
}

} // namespace host

int acedMenuCmd(const ACHAR* command) {
    if (!command) return RTERROR;
    host::menus().log.emplace_back(command);
    return RTNORM;
}

bool acedIsMenuGroupLoaded(const ACHAR* groupName) {
    return groupName && host::findGroup(groupName) != host::menus().groups.end();
}
