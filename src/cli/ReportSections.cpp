#include "cli/ReportSections.h"

#include "instrument/RecorderDialogModel.h"
#include "operations/SettingsTable.h"

#include <cctype>

namespace qpx::cli {
namespace {

// "CPU Software Version #:" -> "cpu-software-version": a JSON name from a dialog label.
std::string Slug(std::string_view label) {
    std::string slug;
    for (const char c : label) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) != 0) {
            slug += static_cast<char>(std::tolower(byte));
        } else if (!slug.empty() && slug.back() != '-') {
            slug += '-';
        }
    }
    while (!slug.empty() && slug.back() == '-') {
        slug.pop_back();
    }
    return slug;
}

using operations::SettingSection;

// The planner's own figures, shown after the setting they follow.
void AddFiguresAfter(ReportSection& section, operations::SettingId id,
                     const planning::DeploymentPlanner& planner) {
    using operations::SettingId;
    switch (id) {
    case SettingId::Blanking:
        section.add("profiling-range", "", planner.rangeText());
        break;
    case SettingId::BatteryPacks:
        section.add("battery-capacity", "Battery Capacity (Wh):", planner.capacityText());
        section.add("power-consumption", "Power Consumption (W):", planner.powerDrawText());
        section.add("power-summary", "", planner.powerText());
        section.add("free-space-summary", "", planner.freeSpaceText());
        break;
    case SettingId::Salinity: {
        const planning::AdvancedSettings advanced = planner.advancedSettings();
        section.add("sound-speed", advanced.soundSpeedLabel(),
                    EntryText(advanced.soundSpeedText()));
        break;
    }
    case SettingId::WaveType:
        section.add("wave-duration",
                    "Wave Series Duration (s):", EntryText(planner.wavesSettings().durationText()));
        break;
    default:
        break;
    }
}

void AddSettings(ReportSection& section, SettingSection which,
                 const planning::DeploymentPlanner& planner) {
    for (const operations::SettingRow& row : operations::SettingsTable()) {
        if (row.shown.section != which) {
            continue;
        }
        section.add(std::string(operations::ReportName(row)), row.shown.label(planner),
                    row.shown.text(planner));
        AddFiguresAfter(section, row.id, planner);
    }
}

} // namespace

void AddPlannerSections(Report& report, const planning::DeploymentPlanner& planner) {
    AddSettings(report.section("deployment", "System Deployment"), SettingSection::Deployment,
                planner);
    AddSettings(report.section("advanced", "Advanced Settings"), SettingSection::Advanced, planner);
    if (planner.wavesEnabled()) {
        AddSettings(report.section("waves", "Waves Settings"), SettingSection::Waves, planner);
    }
}

void AddDeployCheckSection(Report& report, const std::optional<std::string>& refusal) {
    auto& check = report.section("deploy-check", "&Deploy checks");
    check.add("result", "Result:", refusal ? "refused" : "accepted");
    if (refusal) {
        check.add("message", "Message:", *refusal);
    }
}

void AddHardwareSection(Report& report, const instrument::HardwareConfigView& view) {
    auto& hardware = report.section("hardware", std::string(instrument::kHardwareConfigTitle));
    for (const auto& field : view.fields) {
        hardware.add(Slug(field.label), std::string(field.label), field.text);
    }
    ReportTable matrix;
    matrix.key = "transformation-matrix";
    const int columns = view.matrix.columns;
    for (int j = 0; j < columns; ++j) {
        matrix.columnKeys.push_back("column" + std::to_string(j + 1));
        matrix.columnTitles.push_back("");
    }
    for (int i = 0; i < columns; ++i) {
        std::vector<std::string> row;
        for (int j = 0; j < columns; ++j) {
            row.push_back(view.matrix.entries[static_cast<std::size_t>(4 * j + i)]);
        }
        matrix.rows.push_back(std::move(row));
    }
    if (columns > 0) {
        hardware.tables.push_back(std::move(matrix));
    }
}

void AddRecorderSection(Report& report, const RecorderListing& listing) {
    auto& recorder = report.section("recorder", std::string(instrument::kRecorderTitle));
    recorder.add("file-count", "", listing.fileCountText);
    recorder.add("used-space", "Used Space:", listing.usedText);
    recorder.add("free-space", "Free Space:", listing.freeText);
    ReportTable files;
    files.key = "files";
    files.columnKeys = {"name", "size", "date", "time"};
    for (const auto& column : instrument::kRecorderColumns) {
        files.columnTitles.emplace_back(column.title);
    }
    for (const auto& row : listing.rows) {
        files.rows.push_back({row.name, row.size, row.date, row.time});
    }
    recorder.tables.push_back(std::move(files));
}

RecorderListing ListingOf(const operations::RecorderDirectory& directory) {
    RecorderListing listing;
    for (const auto& entry : directory.entries) {
        if (!entry.name.empty()) {
            listing.rows.push_back(operations::MakeRecorderListRow(entry));
        }
    }
    listing.fileCountText = instrument::FileCountText(listing.rows.size());
    listing.usedText = instrument::MegabytesText(directory.usedBytes);
    listing.freeText =
        instrument::FreeSpaceText(directory.header.capacityBytes(), directory.usedBytes);
    return listing;
}

} // namespace qpx::cli
