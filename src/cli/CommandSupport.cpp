#include "cli/Commands.h"
#include "cli/SettingApplication.h"

namespace qpx::cli {

std::optional<std::vector<SettingArgument>> ParseSettings(const std::vector<std::string>& args,
                                                          std::ostream& err) {
    std::vector<SettingArgument> settings;
    for (const auto& arg : args) {
        SettingParse parsed = ParseSettingArgument(arg);
        if (!parsed.setting) {
            err << parsed.error << '\n';
            return std::nullopt;
        }
        settings.push_back(std::move(*parsed.setting));
    }
    return settings;
}

int ApplySettings(planning::DeploymentPlanner& planner,
                  const std::vector<SettingArgument>& settings, std::ostream& err) {
    for (const auto& setting : settings) {
        const SettingOutcome outcome = ApplySetting(planner, setting);
        for (const auto& note : outcome.notes) {
            err << note << '\n';
        }
        if (!outcome.accepted) {
            err << outcome.message << '\n'
                << SettingKey(setting.name) << '=' << setting.value << " refused.\n"
                << std::flush;
            return kExitRefused;
        }
    }
    return kExitSuccess;
}

void PrintReport(CliEnvironment& env, const Report& report, bool json) {
    env.out << (json ? FormatReportJson(report) : FormatReportText(report)) << std::flush;
}

} // namespace qpx::cli
