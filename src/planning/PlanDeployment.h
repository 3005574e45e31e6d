#pragma once

#include "planning/DeploymentValues.h"
#include "planning/SystemInformation.h"

namespace qpx::planning {

// Planning mode ("Plan a Deployment (No System is required)"): the planner's inputs for an
// instrument the user described in the System Information dialog. The unit system is the one
// the main dialog showed when the button was pressed. The structures are the default copies for
// the chosen frequency with the chosen waves option applied; there is no port and no recorder,
// the chosen size stands in for it. A Cancel in the System Information dialog shows no planner,
// so the front end calls this only after OK.
PlannerInputs PlanDeployment(model::UnitSystem unitSystem, const SystemChoice& choice);

} // namespace qpx::planning
