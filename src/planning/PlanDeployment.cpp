#include "planning/PlanDeployment.h"

#include "planning/DefaultStructures.h"

namespace qpx::planning {

PlannerInputs PlanDeployment(model::UnitSystem unitSystem, const SystemChoice& choice) {
    PlannerInputs inputs;
    inputs.system = MakeDefaultSystemConfiguration(choice.frequencyIndex);
    inputs.user = MakeDefaultUserSetup(choice.frequencyIndex);
    ApplyWavesOption(inputs.user, choice.wavesOption);
    inputs.operation = MakeDefaultOperationConfiguration(choice.frequencyIndex);
    inputs.unitSystem = unitSystem;
    inputs.wavesOption = choice.wavesOption;
    inputs.planning = true;
    inputs.planningRecorderBytes = RecorderSizeBytes(choice.recorderSizeMegabytes);
    return inputs;
}

} // namespace qpx::planning
