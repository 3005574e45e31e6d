#pragma once

#include "model/OperationConfiguration.h"
#include "model/SystemConfiguration.h"
#include "model/UserSetup.h"
#include "sim/Scenario.h"

#include <cstdint>
#include <span>
#include <vector>

namespace qpx::sim {

// The instrument's own copies of its three structures. Commands that change settings change
// these; "Get ..." sends what they hold at that moment.
struct InstrumentStructures {
    model::SystemConfiguration systemConfiguration;
    model::UserSetup userSetup;
    model::OperationConfiguration operationConfiguration; // held form
};

// The planning defaults for the scenario's frequency index and waves option, with any whole
// structure the scenario carries in their place.
InstrumentStructures MakeInstrumentStructures(const Scenario& scenario);

// The data of a frame as the instrument sends it, with the patches for that structure applied
// (a patch past the end is ignored): the SystemConfiguration in 96 bytes (64 for
// structureVersion 1 or lower), the UserSetup in 256, the OperationConfiguration in its 64-byte
// wire form.
std::vector<std::uint8_t> WireBytes(const InstrumentStructures& structures, StructureKind kind,
                                    std::span<const BytePatch> patches = {});

} // namespace qpx::sim
