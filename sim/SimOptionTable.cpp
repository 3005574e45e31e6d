#include "sim/SimOption.h"

namespace qpx::sim::options {

const std::vector<Option>& OptionTable() {
    static const std::vector<Option> table = [] {
        std::vector<Option> all = InstrumentOptions();
        for (std::vector<Option> group : {FaultOptions(), ServingOptions()}) {
            all.insert(all.end(), std::make_move_iterator(group.begin()),
                       std::make_move_iterator(group.end()));
        }
        return all;
    }();
    return table;
}

const Option* FindOption(std::string_view name) {
    for (const Option& option : OptionTable()) {
        if (option.name == name) {
            return &option;
        }
    }
    return nullptr;
}

} // namespace qpx::sim::options
