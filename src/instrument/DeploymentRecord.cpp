#include "instrument/DeploymentRecord.h"

#include "instrument/HardwareConfigView.h"
#include "instrument/SystemTimeDialogModel.h"
#include "link/SystemType.h"
#include "model/TextFormat.h"
#include "operations/SettingsTable.h"

#include <algorithm>
#include <cctype>
#include <nlohmann/json.hpp>

namespace qpx::instrument {
namespace {

using Json = nlohmann::ordered_json;

std::string ClockTimeText(const link::CalendarTime& t) {
    return model::FormatText("%02d:%02d:%02d", t.hour, t.minute, t.second);
}

std::vector<RecordLine> Labelled(const std::vector<ReviewLine>& lines) {
    std::vector<RecordLine> labelled;
    for (const auto& line : lines) {
        labelled.push_back({line.label, line.text});
    }
    return labelled;
}

Json LinesJson(const std::vector<ReviewLine>& lines) {
    Json object = Json::object();
    for (const auto& line : lines) {
        object[line.key] = line.text;
    }
    return object;
}

Json InstantJson(const operations::RecordInstant& instant) {
    return {{"local", operations::LocalInstantText(instant)},
            {"utc", operations::UtcInstantText(instant)}};
}

// The "Ver" answer on one line: its lines joined by " / ", other control characters as "?".
std::string OneLine(std::string_view text) {
    std::string out;
    std::string line;
    const auto endLine = [&] {
        const std::size_t first = line.find_first_not_of(' ');
        if (first != std::string::npos) {
            out += (out.empty() ? "" : " / ") +
                   line.substr(first, line.find_last_not_of(' ') - first + 1);
        }
        line.clear();
    };
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\r' || c == '\n') {
            endLine();
        } else {
            line.push_back(byte < 0x20 || byte == 0x7F ? '?' : c);
        }
    }
    endLine();
    return out;
}

std::string WithoutColon(std::string label) {
    while (!label.empty() && (label.back() == ':' || label.back() == ' ')) {
        label.pop_back();
    }
    return label;
}

// "CPU Software Version #" -> "cpuSoftwareVersion": a JSON name from a dialog label.
std::string CamelKey(std::string_view label) {
    std::string key;
    bool wordStart = true;
    for (const char c : label) {
        if (std::isalnum(static_cast<unsigned char>(c)) == 0) {
            wordStart = true;
            continue;
        }
        const auto byte = static_cast<unsigned char>(c);
        key.push_back(
            static_cast<char>(wordStart && !key.empty() ? std::toupper(byte) : std::tolower(byte)));
        wordStart = false;
    }
    return key;
}

std::vector<ReviewLine> HardwareLines(const planning::DeploymentPlanner& planner) {
    std::vector<ReviewLine> lines;
    const HardwareConfigView view =
        MakeHardwareConfigView(planner.systemConfiguration(), planner.wavesOption());
    for (const auto& field : view.fields) {
        const std::string label = WithoutColon(std::string(field.label));
        lines.push_back({CamelKey(label), label, field.text});
    }
    return lines;
}

std::string ResultText(const DeploymentRecord& record) {
    if (record.result.empty()) {
        return "not run";
    }
    return record.result;
}

} // namespace

DeploymentRecord StartDeploymentRecord(const planning::DeploymentPlanner& planner,
                                       const planning::PlannerInputs& downloaded,
                                       const planning::AcceptedPlan& plan,
                                       const link::InstrumentIdentity& identity,
                                       const operations::RecordInstant& made) {
    DeploymentRecord record;
    record.made = made;
    record.serialNumber = operations::SerialNumberText(planner.systemConfiguration());
    record.identity = identity;
    record.hardware = HardwareLines(planner);
    record.review = MakeDeploymentReview(planner, plan, identity, made.local);
    record.clock = planner.clockReading();
    record.plannedDuration = planner.plannedDurationText();
    record.remarks = planner.operatorRemarks();

    planning::DeploymentPlanner before;
    before.open(downloaded, made.local);
    for (const operations::SettingRow& row : operations::SettingsTable()) {
        if (row.shown.text == nullptr) {
            continue;
        }
        RecordedSetting setting;
        setting.name =
            WithoutColon(row.shown.label != nullptr ? row.shown.label(planner)
                                                    : std::string(operations::ReportName(row)));
        setting.downloaded = row.shown.text(before);
        setting.planned = row.shown.text(planner);
        setting.changed = setting.downloaded != setting.planned;
        record.settings.push_back(std::move(setting));
    }
    return record;
}

void FinishDeploymentRecord(DeploymentRecord& record, const operations::UploadRun& run) {
    record.sent = run.sent;
    record.result = std::string(operations::OutcomeName(run.outcome));
    record.failedStep = run.failedStep;
    record.failureMessage = run.failureMessage;
}

std::string DeploymentRecordStem(const DeploymentRecord& record) {
    return operations::RecordFileStem(record.serialNumber, record.made, "deploy");
}

std::string OutcomeText(const link::JournalEntry& entry) {
    if (entry.attempts == 0) {
        return "failed: nothing sent";
    }
    std::string text;
    if (!entry.echoChecked) {
        text = "sent without echo check";
    } else if (entry.echoed) {
        text = model::FormatText("echo matched at attempt %d", entry.attempts);
    } else {
        return model::FormatText("failed: no echo match in %d attempts", entry.attempts);
    }
    if (!entry.reply.empty()) {
        text += ", reply " + entry.reply;
    } else if (entry.replyAwaited) {
        text += ", failed: no \"OK\" came";
    }
    return text;
}

std::string FormatDeploymentRecordText(const DeploymentRecord& record) {
    std::string out = std::string(operations::kProgramName) + " deployment record\n";
    AddRecordLines(out, "Record",
                   {{"Program", std::string(operations::kProgramName) + ' ' +
                                    std::string(operations::ProgramVersion())},
                    {"Computer time", operations::LocalInstantText(record.made)},
                    {"UTC", operations::UtcInstantText(record.made)},
                    {"Result", ResultText(record)}});
    if (!record.failedStep.empty() || !record.failureMessage.empty()) {
        AddRecordLines(out, "Failure",
                       {{"Step", record.failedStep}, {"Message", record.failureMessage}});
    }
    std::vector<ReviewLine> instrument = {
        {"", "Ver", OneLine(record.identity.versionText)},
        {"", "System type", std::string(link::SystemName(record.identity.systemType))}};
    instrument.insert(instrument.end(), record.hardware.begin(), record.hardware.end());
    AddRecordLines(out, "Instrument", Labelled(instrument));
    if (record.clock) {
        AddRecordLines(out, "Clock",
                       {{"Computer", CalendarText(record.clock->computer) + ' ' +
                                         operations::UtcOffsetText(record.clock->utcOffsetSeconds)},
                        {"Instrument", CalendarText(record.clock->instrument)},
                        {"Offset", ClockOffsetText(ClockOffsetSeconds(*record.clock))}});
    }
    AddRecordLines(out, "Start", Labelled(record.review.start));
    AddRecordLines(out, "Estimates", Labelled(record.review.estimates));
    out += "\nWarnings\n";
    if (record.review.warnings.empty()) {
        out += "  none\n";
    }
    for (const auto& warning : record.review.warnings) {
        out += "  " + warning.text + '\n';
    }

    std::size_t nameWidth = 0;
    std::size_t downloadedWidth = std::string_view("Downloaded").size();
    for (const auto& setting : record.settings) {
        nameWidth = std::max(nameWidth, setting.name.size());
        downloadedWidth = std::max(downloadedWidth, setting.downloaded.size());
    }
    const auto row = [&](std::string_view mark, std::string_view name, std::string_view downloaded,
                         std::string_view planned) {
        out += "  " + std::string(mark) + ' ' + std::string(name) +
               std::string(nameWidth - name.size() + 2, ' ') + std::string(downloaded) +
               std::string(downloadedWidth - downloaded.size() + 2, ' ') + std::string(planned) +
               '\n';
    };
    out += "\nSettings (* changed)\n";
    row(" ", "", "Downloaded", "Planned");
    for (const auto& setting : record.settings) {
        row(setting.changed ? "*" : " ", setting.name, setting.downloaded, setting.planned);
    }

    out += "\nCommands sent\n";
    if (record.sent.empty()) {
        out += "  none\n";
    }
    for (const auto& entry : record.sent) {
        out += "  " + ClockTimeText(entry.time) + "  " + entry.command + "  [" +
               OutcomeText(entry) + "]\n";
    }
    AddRecordLines(out, "Operator and remarks", {{"Remarks", record.remarks}});
    return out;
}

operations::RecordTexts DeploymentRecordTexts(const DeploymentRecord& record) {
    return {DeploymentRecordStem(record), FormatDeploymentRecordText(record),
            FormatDeploymentRecordJson(record)};
}

void AddRecordLines(std::string& out, std::string_view title,
                    const std::vector<RecordLine>& lines) {
    std::size_t width = 0;
    for (const auto& line : lines) {
        width = std::max(width, line.label.size());
    }
    out += '\n' + std::string(title) + '\n';
    for (const auto& line : lines) {
        out +=
            "  " + line.label + std::string(width - line.label.size() + 2, ' ') + line.text + '\n';
    }
}

std::string FormatDeploymentRecordJson(const DeploymentRecord& record) {
    Json json;
    json["record"] = "deployment";
    json["formatVersion"] = 1;
    json["program"] = {{"name", operations::kProgramName},
                       {"version", operations::ProgramVersion()}};
    json["computerTime"] = InstantJson(record.made);
    json["result"] = ResultText(record);
    json["failure"] = nullptr;
    if (!record.failedStep.empty() || !record.failureMessage.empty()) {
        json["failure"] = {{"step", record.failedStep}, {"message", record.failureMessage}};
    }
    Json instrument = {{"serialNumber", record.serialNumber},
                       {"versionText", OneLine(record.identity.versionText)},
                       {"systemType", link::SystemName(record.identity.systemType)}};
    instrument["hardware"] = LinesJson(record.hardware);
    json["instrument"] = std::move(instrument);
    json["clockCheck"] = nullptr;
    if (record.clock) {
        const operations::RecordInstant computer{record.clock->computer,
                                                 record.clock->utcOffsetSeconds};
        json["clockCheck"] = {{"computerTime", InstantJson(computer)},
                              {"instrumentTime", CalendarText(record.clock->instrument)},
                              {"offsetSeconds", ClockOffsetSeconds(*record.clock)}};
    }
    json["start"] = LinesJson(record.review.start);
    json["estimates"] = LinesJson(record.review.estimates);
    json["plannedDurationDays"] = record.plannedDuration;
    Json warnings = Json::array();
    for (const auto& warning : record.review.warnings) {
        warnings.push_back(warning.text);
    }
    json["warnings"] = std::move(warnings);
    Json settings = Json::array();
    for (const auto& setting : record.settings) {
        settings.push_back({{"name", setting.name},
                            {"downloaded", setting.downloaded},
                            {"planned", setting.planned},
                            {"changed", setting.changed}});
    }
    json["settings"] = std::move(settings);
    Json planned = Json::array();
    for (const auto& line : record.review.commands) {
        planned.push_back(line);
    }
    json["plannedCommands"] = std::move(planned);
    Json sent = Json::array();
    for (const auto& entry : record.sent) {
        sent.push_back({{"time", CalendarText(entry.time)},
                        {"step", entry.step},
                        {"command", entry.command},
                        {"attempts", entry.attempts},
                        {"echoChecked", entry.echoChecked},
                        {"echoMatched", entry.echoed},
                        {"reply", entry.reply},
                        {"succeeded", entry.succeeded()},
                        {"outcome", OutcomeText(entry)}});
    }
    json["sent"] = std::move(sent);
    json["remarks"] = record.remarks;
    return json.dump(2, ' ', false, Json::error_handler_t::replace) + '\n';
}

} // namespace qpx::instrument
