#pragma once
// The checks that explain why a laptop does not reach the device, each finding with its fix.
#include "PortSurvey.h"
#include "SystemRoot.h"

#include <string>
#include <vector>

namespace tensiq::cli {

struct Finding {
    std::string check; // "group", "modem-manager", "braille", "no-port", "held"
    std::string problem;
    std::string fix;
};

// Who runs the checks: the process's own ids and groups, as the kernel will judge an open.
struct UserIdentity {
    unsigned uid = 0;
    unsigned gid = 0; // primary group of the account
    std::string name;
    std::vector<unsigned> activeGroups; // of this login session (this process)
    static UserIdentity Current();
};

struct DoctorReport {
    std::vector<std::string> checked;
    std::vector<Finding> findings;
};

DoctorReport RunDoctor(const SystemRoot& system, const std::vector<PortInfo>& ports,
                       const UserIdentity& user);

} // namespace tensiq::cli
