#pragma once

#include "sim/ScenarioOptions.h"
#include "sim/StructureFields.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qpx::sim::options {

// What the options build up; the structure overrides wait until the frequency index and the
// waves option are known, whatever the order they came in.
struct Builder {
    SimOptions options;
    std::vector<FieldOverride> overrides;
    Scenario& scenario() { return options.scenario; }
};

// Empty: done; otherwise what is wrong with the value.
using Apply = std::function<std::string(Builder&, std::string_view)>;

// One qpx-sim option, which is also the scenario file key of the same name.
struct Option {
    std::string_view name; // without the leading "--"
    bool takesValue;
    std::string_view valueName;
    std::string_view help;
    Apply apply;
};

// The instrument played: identity, structures, recorder, clock, pacing.
std::vector<Option> InstrumentOptions();
// The faults it shows on purpose.
std::vector<Option> FaultOptions();
// How the process serves it: links, transcript, dying on cue.
std::vector<Option> ServingOptions();

// All of them in the order --help lists them.
const std::vector<Option>& OptionTable();
const Option* FindOption(std::string_view name);

} // namespace qpx::sim::options
