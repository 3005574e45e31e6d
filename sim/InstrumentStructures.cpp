#include "sim/InstrumentStructures.h"

#include "planning/DefaultStructures.h"

namespace qpx::sim {

InstrumentStructures MakeInstrumentStructures(const Scenario& scenario) {
    InstrumentStructures structures{
        planning::MakeDefaultSystemConfiguration(scenario.frequencyIndex),
        planning::MakeDefaultUserSetup(scenario.frequencyIndex),
        planning::MakeDefaultOperationConfiguration(scenario.frequencyIndex),
    };
    planning::ApplyWavesOption(structures.userSetup, scenario.wavesOption);
    if (scenario.systemConfiguration) {
        structures.systemConfiguration = *scenario.systemConfiguration;
    }
    if (scenario.userSetup) {
        structures.userSetup = *scenario.userSetup;
    }
    if (scenario.operationConfiguration) {
        structures.operationConfiguration = *scenario.operationConfiguration;
    }
    return structures;
}

std::vector<std::uint8_t> WireBytes(const InstrumentStructures& structures, StructureKind kind,
                                    std::span<const BytePatch> patches) {
    std::vector<std::uint8_t> bytes;
    switch (kind) {
    case StructureKind::SystemConfiguration: {
        const auto all = model::Encode(structures.systemConfiguration);
        const std::size_t size = structures.systemConfiguration.structureVersion <= 1
                                     ? model::kSystemConfigurationLegacySize
                                     : all.size();
        bytes.assign(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(size));
        break;
    }
    case StructureKind::UserSetup: {
        const auto all = model::Encode(structures.userSetup);
        bytes.assign(all.begin(), all.end());
        break;
    }
    case StructureKind::OperationConfiguration: {
        const auto wire = model::NarrowOperationConfiguration(structures.operationConfiguration);
        bytes.assign(wire.begin(), wire.end());
        break;
    }
    }
    for (const BytePatch& patch : patches) {
        if (patch.structure == kind && patch.offset < bytes.size()) {
            bytes[patch.offset] = patch.value;
        }
    }
    return bytes;
}

} // namespace qpx::sim
