#pragma once
// Access rights and ownership (access-control lists, SetNamedSecurityInfo, token elevation) mapped to POSIX
// permission bits, owners and the effective user.
//
// "Full access for Everyone, Users and Administrators" is read and write for owner, group and others, plus
// search on folders and execute on files that someone may already execute. The Administrators group as owner
// is root as owner. An elevated process runs with effective user 0; a member of the Administrators group is
// such a process or a user of the group that may become root ("sudo", "wheel" or "admin").
#include <string>

namespace platform {

bool isElevated();
bool isAdministrator();

// 0, or the errno of the failure.
int grantFullAccess(const std::string& hostPath);
int giveToAdministrators(const std::string& hostPath);

} // namespace platform
