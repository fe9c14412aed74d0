#pragma once
// Services (the Windows service control manager): systemd units driven through systemctl, where it exists.
//
// Windows actions without a systemd counterpart answer failure with the reason: a unit cannot be deleted
// through systemctl (its unit file belongs to a package or to the administrator) and a stopped unit cannot be
// "continued" (systemd does not pause units). Start types map to: on demand = disabled but not masked,
// disabled = masked, automatic = enabled.
#include <string>
#include <string_view>

namespace platform {

enum class ServiceAction { Stop, Continue, Start, Delete, StartOnDemand, Disable, StartAutomatically };

struct ServiceOutcome {
    bool done = false;
    std::string reason; // why it was not done, in French (code page 1252); "" when done
};

// Whether the service manager answers and knows the unit ("NAME" or "NAME.service").
ServiceOutcome openService(std::string_view name);

// Runs one action on the unit and waits for systemctl (at most 30 seconds).
ServiceOutcome controlService(std::string_view name, ServiceAction action);

} // namespace platform
