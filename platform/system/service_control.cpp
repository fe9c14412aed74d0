#include "platform/system/service_control.h"

#include "platform/system/process.h"

#include <optional>
#include <vector>

namespace platform {
namespace {

constexpr int kSystemctlTimeoutMs = 30000;

// The exit code of systemctl with these arguments; nullopt when it could not be run or did not answer.
std::optional<int> systemctl(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "systemctl");
    const pid_t pid = spawnProcess(arguments, false);
    if (pid < 0) return std::nullopt;
    const std::optional<int> code = waitForProcess(pid, kSystemctlTimeoutMs);
    if (!code || *code < 0) return std::nullopt;
    return code;
}

ServiceOutcome outcome(std::optional<int> code, std::string_view name, std::string_view verb) {
    if (!code) return {false, "systemctl ne r\xE9pond pas"};
    if (*code != 0)
        return {false, "systemctl " + std::string(verb) + " " + std::string(name) +
                           " a \xE9"
                           "chou\xE9 (code " +
                           std::to_string(*code) + ")"};
    return {true, {}};
}

ServiceOutcome run(std::string_view name, std::initializer_list<const char*> verbs) {
    ServiceOutcome last{true, {}};
    for (const char* verb : verbs) {
        last = outcome(systemctl({verb, "--quiet", std::string(name)}), name, verb);
        if (!last.done) break;
    }
    return last;
}

} // namespace

ServiceOutcome openService(std::string_view name) {
    if (name.empty()) return {false, "nom de service vide"};
    const std::optional<int> code = systemctl({"cat", "--quiet", std::string(name)});
    if (!code) return {false, "systemctl est absent ou ne r\xE9pond pas"};
    if (*code != 0) return {false, "service " + std::string(name) + " inconnu"};
    return {true, {}};
}

ServiceOutcome controlService(std::string_view name, ServiceAction action) {
    switch (action) {
    case ServiceAction::Stop:
        return run(name, {"stop"});
    case ServiceAction::Start:
        return run(name, {"start"});
    case ServiceAction::Continue:
        return {false, "systemd ne suspend pas les services : rien \xE0 reprendre"};
    case ServiceAction::Delete:
        return {false, "systemctl ne supprime pas un service : son fichier d'unit\xE9 reste en place"};
    case ServiceAction::StartOnDemand:
        return run(name, {"unmask", "disable"});
    case ServiceAction::Disable:
        return run(name, {"mask"});
    case ServiceAction::StartAutomatically:
        return run(name, {"unmask", "enable"});
    }
    return {false, "action inconnue"};
}

} // namespace platform
