// Pop-up menus described by settings files: the keys of a section are the items, in order; a key "*LABEL"
// is a sub-menu whose value names its section ("SECTION", or "FILE;SECTION"); the value of the key chosen is
// what the item does.
#include "services/dos/dos.h"
#include "services/settings/settings_store_internal.h"

#include "platform/ui/screens.h"
#include "platform/ui/user_dialogs.h"
#include "platform/windows/message_bus.h"

#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace {

constexpr int kFirstCommand = 5000;
constexpr int kKeyListSize = 3000;
constexpr int kSubMenuValueSize = 3000;
constexpr int kItemValueSize = 500;
// Keys read back from the store's lists carry this character where the key holds ";".
constexpr char kListSemicolon = '\xBB';

bool menuBusy = false;

struct MenuSource {
    std::string file;
    std::string section;
    bool operator<(const MenuSource& other) const {
        return std::tie(file, section) < std::tie(other.file, other.section);
    }
};

// What a command number stands for: the key and the menu it was read from.
struct Choice {
    MenuSource source;
    std::string key;
};

std::string trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return std::string(text);
}

std::string read(const MenuSource& source, const char* key, int size) {
    std::string text(static_cast<size_t>(size), '\0');
    const int length =
        settings::readSetting(source.file.c_str(), source.section.c_str(), "lr", key, text.data(), size);
    text.resize(length > 0 ? static_cast<size_t>(length) : 0);
    return text;
}

MenuSource subMenuSource(const MenuSource& parent, const std::string& value) {
    const size_t semicolon = value.find(';');
    if (semicolon == std::string::npos) return {parent.file, trimmed(value)};
    return {trimmed(value.substr(0, semicolon)), trimmed(value.substr(semicolon + 1))};
}

// Builds the items of one menu, numbering the items that can be chosen across the whole tree. A sub-menu
// that names a menu already open above it stays empty, so a loop in the files cannot recurse for ever.
std::vector<platform::MenuItem> buildMenu(const MenuSource& source, std::vector<Choice>& choices,
                                          std::set<MenuSource>& open) {
    std::vector<platform::MenuItem> items;
    if (!open.insert(source).second) return items;
    const std::string keys = read(source, nullptr, kKeyListSize);
    for (std::string_view list = keys; !list.empty();) {
        const size_t end = std::min(list.find(';'), list.size());
        std::string key = trimmed(list.substr(0, end));
        list.remove_prefix(std::min(end + 1, list.size()));
        if (key.empty()) continue;
        std::replace(key.begin(), key.end(), kListSemicolon, ';');
        if (key[0] == '*') {
            const MenuSource sub = subMenuSource(source, read(source, key.c_str(), kSubMenuValueSize));
            items.push_back({key.substr(1), 0, buildMenu(sub, choices, open)});
        } else {
            const int command = kFirstCommand + static_cast<int>(choices.size());
            choices.push_back({source, key});
            items.push_back({key, command, {}});
        }
    }
    open.erase(source);
    return items;
}

// Runs what the chosen item's value says: copied to the caller's buffer, else typed into the window that was
// in front at the call (a value beginning with "/k"), else started.
void act(const Choice& choice, char* out, std::uint64_t front) {
    const std::string value = read(choice.source, choice.key.c_str(), kItemValueSize);
    if (value.empty()) return;
    if (out) {
        std::memcpy(out, value.c_str(), value.size() + 1);
        return;
    }
    if (value.starts_with("/k"))
        DOS::clav_write(value.c_str() + 2, front);
    else
        mshell(value.c_str(), 0, 1);
}

} // namespace

// The item chosen counts from 1 in the order the items were read; 0 when none was chosen, or while another
// menu is open.
int DOS::popmenu(const char* file, const char* section, char* out) {
    if (!file || !*file || !section || !*section) return -1;
    if (menuBusy) return 0;
    menuBusy = true;
    const std::uint64_t front = platform::window_table::foreground();
    std::vector<Choice> choices;
    std::set<MenuSource> open;
    platform::PopupMenuRequest request;
    request.items = buildMenu({file, section}, choices, open);
    std::tie(request.x, request.y) = platform::cursorPos();
    const int command = platform::trackPopupMenu(request);
    menuBusy = false;
    const int index = command - kFirstCommand;
    if (index < 0 || index >= static_cast<int>(choices.size())) return 0;
    act(choices[static_cast<size_t>(index)], out, front);
    return index + 1;
}
