#include "sim/ScenarioOptions.h"

#include "sim/InstrumentStructures.h"
#include "sim/ScenarioFile.h"
#include "sim/SimOption.h"

namespace qpx::sim {
namespace {

using options::Builder;
using options::FindOption;
using options::Option;

std::string ApplyOption(Builder& b, const Option& option, std::string_view value) {
    const std::string problem = option.apply(b, value);
    if (problem.empty()) {
        return problem;
    }
    return "--" + std::string(option.name) + " " + std::string(value) + ": " + problem;
}

std::string ApplyEntries(Builder& b, const std::vector<ScenarioEntry>& entries,
                         std::string_view source) {
    for (const ScenarioEntry& entry : entries) {
        const Option* option = FindOption(entry.key);
        const std::string where =
            std::string(source) + "line " + std::to_string(entry.lineNumber) + ": ";
        if (option == nullptr) {
            return where + "unknown setting " + entry.key;
        }
        if (option->takesValue && entry.value.empty() && option->name != "waves-reply") {
            return where + entry.key + " needs a value";
        }
        const std::string problem = option->apply(b, entry.value);
        if (!problem.empty()) {
            return where + entry.key + ": " + problem;
        }
    }
    return {};
}

// The overrides go onto the structures the scenario would start from.
std::string ApplyOverrides(Builder& b) {
    if (b.overrides.empty()) {
        return {};
    }
    Scenario& s = b.scenario();
    InstrumentStructures structures = MakeInstrumentStructures(s);
    bool conf = false;
    bool user = false;
    bool oper = false;
    for (const FieldOverride& change : b.overrides) {
        const std::string problem = ApplyFieldOverride(structures, change);
        if (!problem.empty()) {
            return problem;
        }
        conf = conf || change.structure == StructureKind::SystemConfiguration;
        user = user || change.structure == StructureKind::UserSetup;
        oper = oper || change.structure == StructureKind::OperationConfiguration;
    }
    if (conf) {
        s.systemConfiguration = structures.systemConfiguration;
    }
    if (user) {
        s.userSetup = structures.userSetup;
    }
    if (oper) {
        s.operationConfiguration = structures.operationConfiguration;
    }
    return {};
}

SimOptionsResult Finish(Builder& b, std::string problem) {
    if (problem.empty()) {
        problem = ApplyOverrides(b);
    }
    SimOptionsResult result;
    result.ok = problem.empty();
    result.message = std::move(problem);
    result.options = std::move(b.options);
    return result;
}

} // namespace

SimOptionsResult ParseSimOptions(const std::vector<std::string>& arguments) {
    Builder b;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (argument.substr(0, 2) != "--" || argument.size() == 2) {
            return Finish(b, "unexpected argument " + std::string(argument));
        }
        std::string_view name = argument.substr(2);
        std::optional<std::string_view> inlineValue;
        if (const std::size_t equals = name.find('='); equals != std::string_view::npos) {
            inlineValue = name.substr(equals + 1);
            name = name.substr(0, equals);
        }
        if (name == "help") {
            b.options.help = true;
            continue;
        }
        if (name == "exec") {
            if (inlineValue || i + 1 >= arguments.size()) {
                return Finish(b, "--exec needs a command after it");
            }
            b.options.exec.assign(arguments.begin() + static_cast<std::ptrdiff_t>(i + 1),
                                  arguments.end());
            break;
        }
        const Option* option = FindOption(name);
        const bool isScenario = name == "scenario";
        if (option == nullptr && !isScenario) {
            return Finish(b, "unknown option --" + std::string(name));
        }
        std::string value;
        if (isScenario || option->takesValue) {
            if (inlineValue) {
                value = std::string(*inlineValue);
            } else if (i + 1 < arguments.size()) {
                value = arguments[++i];
            } else {
                return Finish(b, "--" + std::string(name) + " needs a value");
            }
        } else if (inlineValue) {
            value = std::string(*inlineValue);
        }
        std::string problem;
        if (isScenario) {
            const ScenarioFileResult file = ReadScenarioFile(value);
            problem = file.ok ? ApplyEntries(b, file.entries, value + ", ") : file.message;
        } else {
            problem = ApplyOption(b, *option, value);
        }
        if (!problem.empty()) {
            return Finish(b, problem);
        }
    }
    return Finish(b, {});
}

SimOptionsResult ParseScenarioSettings(std::string_view fileText) {
    Builder b;
    const ScenarioFileResult file = ParseScenarioText(fileText);
    if (!file.ok) {
        return Finish(b, file.message);
    }
    return Finish(b, ApplyEntries(b, file.entries, ""));
}

} // namespace qpx::sim
