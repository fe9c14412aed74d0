// Whether a folder is on the search path, and adding it there or taking it off.
//
// Two lists are looked at: the process's PATH (host folders separated by ":") and the machine's PATH in
// the registry (folders of the system's grammar separated by ";"). A folder matches a whole item only, and
// each list is edited only where the folder was found in it, so neither list is ever written over the other.
#include "services/dos/dos.h"
#include "services/dos/dos_environment_keys.h"
#include "services/dos/dos_path_parts.h"

#include "platform/base/ascii.h"
#include "platform/files/path_map.h"
#include "platform/settings/registry.h"

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace registry = platform::registry;

namespace {

constexpr size_t kMachinePathLimit = 10000;

std::string withoutFinalSeparators(std::string folder) {
    while (folder.size() > 1 && (folder.back() == '/' || folder.back() == '\\'))
        folder.pop_back();
    return folder;
}

std::vector<std::string> itemsOf(std::string_view list, char separator) {
    std::vector<std::string> items;
    while (!list.empty()) {
        const std::string_view item = services::nextListItem(list, separator);
        if (!item.empty()) items.emplace_back(item);
    }
    return items;
}

std::string joined(const std::vector<std::string>& items, char separator) {
    std::string list;
    for (const std::string& item : items)
        list += (list.empty() ? "" : std::string(1, separator)) + item;
    return list;
}

std::string machinePath() {
    const std::optional<registry::Value> value =
        registry::queryValue(registry::Hive::LocalMachine, services::kMachineEnvironmentKey, "PATH");
    if (!value || value->type == registry::ValueType::Dword) return {};
    return value->text.substr(0, kMachinePathLimit);
}

} // namespace

int DOS::VerifyPath(const char* folder, int mode) {
    if (!folder || !*folder || std::string_view(folder).size() > services::kMaxPath) return 0;
    const std::string systemFolder = withoutFinalSeparators(folder);
    const std::string hostFolder = withoutFinalSeparators(platform::hostPath(folder));

    const char* processList = std::getenv("PATH");
    std::vector<std::string> processItems = itemsOf(processList ? processList : "", ':');
    std::vector<std::string> machineItems = itemsOf(machinePath(), ';');
    const auto inProcess = [&](const std::string& item) {
        return withoutFinalSeparators(item) == hostFolder;
    };
    const auto inMachine = [&](const std::string& item) {
        return platform::sameNoCase(withoutFinalSeparators(item), systemFolder);
    };

    std::vector<std::string> keptProcess = processItems;
    std::vector<std::string> keptMachine = machineItems;
    const bool foundInProcess = std::erase_if(keptProcess, inProcess) > 0;
    const bool foundInMachine = std::erase_if(keptMachine, inMachine) > 0;
    if (foundInProcess || foundInMachine) {
        if (mode & 2) {
            if (foundInProcess) setenv("PATH", joined(keptProcess, ':').c_str(), 1);
            if (foundInMachine) SetEnv("PATH", joined(keptMachine, ';').c_str(), 1);
        }
        return 1;
    }
    if (!(mode & 1)) return 0;
    machineItems.push_back(folder);
    processItems.push_back(hostFolder);
    setenv("PATH", joined(processItems, ':').c_str(), 1);
    return SetEnv("PATH", joined(machineItems, ';').c_str(), 1);
}
