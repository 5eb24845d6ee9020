#pragma once
// Whether another program holds a port, and which: an exclusive flock (as Tensiq takes), the
// exclusive mode of the tty, an open descriptor seen in /proc, or a UUCP lock file.
#include "PortSurvey.h"

namespace tensiq::cli {

// Fills held, holders and openError of a port whose path is set. Opens the port for a moment.
void FindHolders(const SystemRoot& system, PortInfo& port);

} // namespace tensiq::cli
