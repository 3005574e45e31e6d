#include "cli/Commands.h"
#include "cli/SettingApplication.h"
#include "model/FieldText.h"
#include "platform/TextFile.h"

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
                  const std::vector<SettingArgument>& settings, std::ostream& err,
                  std::string* refusal) {
    for (const auto& setting : settings) {
        const SettingOutcome outcome = ApplySetting(planner, setting);
        for (const auto& note : outcome.notes) {
            err << note << '\n';
        }
        if (!outcome.accepted) {
            if (refusal != nullptr) {
                *refusal = outcome.message;
            }
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

std::optional<operations::PlanDocument> ReadPlanFile(const std::string& path, std::ostream& err) {
    const platform::FileRead file = platform::ReadFileBounded(path, operations::kPlanFileMaxBytes);
    if (!file.contents) {
        err << operations::PlanErrorText(path, operations::PlanError{0, file.error, std::nullopt})
            << '\n'
            << std::flush;
        return std::nullopt;
    }
    operations::PlanRead read = operations::ReadPlan(*file.contents);
    if (!read.plan) {
        err << operations::PlanErrorText(path, read.error) << '\n' << std::flush;
        return std::nullopt;
    }
    return std::move(read.plan);
}

int EnterPlan(planning::DeploymentPlanner& planner, const operations::PlanDocument& plan,
              const std::string& path, std::ostream& err, std::string* refusal) {
    const operations::PlanOpened opened = operations::OpenPlan(planner, plan);
    for (const std::string& warning : opened.warnings) {
        err << path << ": " << warning << '\n';
    }
    // A note names its line as "line N: ...": with the file, "FILE, line N: ..." as a refusal.
    for (const std::string& note : opened.notes) {
        err << path << (note.starts_with("line ") ? ", " : ": ") << note << '\n';
    }
    if (opened.error) {
        const std::string text = operations::PlanErrorText(path, *opened.error);
        if (refusal != nullptr) {
            *refusal = text;
        }
        err << text << '\n' << std::flush;
        return kExitRefused;
    }
    err << std::flush;
    return kExitSuccess;
}

PlanAndSettings ReadPlanAndSettings(const std::vector<std::string>& settings,
                                    const std::optional<std::string>& planFile, std::ostream& err) {
    PlanAndSettings read;
    auto parsed = ParseSettings(settings, err);
    if (!parsed) {
        read.exitCode = kExitUsage;
        return read;
    }
    read.settings = std::move(*parsed);
    if (planFile) {
        read.plan = ReadPlanFile(*planFile, err);
        if (!read.plan) {
            read.exitCode = kExitRefused;
        }
    }
    return read;
}

int EnterPlanAndSettings(planning::DeploymentPlanner& planner, const operations::PlanDocument* plan,
                         const std::string& planPath, const std::vector<SettingArgument>& settings,
                         std::ostream& err, std::string* refusal) {
    if (plan != nullptr) {
        if (const int code = EnterPlan(planner, *plan, planPath, err, refusal);
            code != kExitSuccess) {
            return code;
        }
    }
    return ApplySettings(planner, settings, err, refusal);
}

int SaveDocument(const std::string& path, std::string_view contents, std::string_view what,
                 std::ostream& err) {
    const std::string failure = platform::SaveFileReplacing(path, contents);
    if (!failure.empty()) {
        err << "The " << what << " could not be saved to " << path << ": " << failure << '\n'
            << std::flush;
        return kExitFileFailure;
    }
    err << "The " << what << " was saved to " << path << ".\n" << std::flush;
    return kExitSuccess;
}

int SavePlan(const planning::DeploymentPlanner& planner, const operations::PlanOrigin& origin,
             const std::string& path, std::ostream& err) {
    const operations::PlanText plan = operations::FormatPlan(planner, origin);
    if (plan.error) {
        err << operations::PlanErrorText(path, *plan.error) << '\n' << std::flush;
        return kExitRefused;
    }
    return SaveDocument(path, plan.text, "plan", err);
}

} // namespace qpx::cli
