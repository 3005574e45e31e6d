#include "cli/ReportSections.h"

#include "instrument/RecorderDialogModel.h"

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

std::string Selected(const std::vector<std::string_view>& list, int selection) {
    if (selection < 0 || selection >= static_cast<int>(list.size())) {
        return {};
    }
    return EntryText(list[static_cast<std::size_t>(selection)]);
}

template <std::size_t N>
std::string Selected(const std::array<std::string_view, N>& list, int selection) {
    return Selected(std::vector<std::string_view>(list.begin(), list.end()), selection);
}

} // namespace

std::string EntryText(std::string_view entry) {
    const auto first = entry.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string() : std::string(entry.substr(first));
}

void AddPlannerSections(Report& report, const planning::DeploymentPlanner& planner) {
    using planning::DeploymentPlanner;
    auto& deployment = report.section("deployment", "System Deployment");
    deployment.add("file-name", "File Name:", planner.fileNameText());
    deployment.add("start", "Start Date/Time:", planner.startDateTimeText());
    deployment.add("comment1", "Comment 1:", planner.commentText(0));
    deployment.add("comment2", "Comment 2:", planner.commentText(1));
    deployment.add("comment3", "Comment 3:", planner.commentText(2));
    deployment.add("averaging-interval", "Averaging Interval (s):", planner.averagingText());
    deployment.add("profiling-interval", "Profiling Interval (s):", planner.profilingText());
    deployment.add("coordinate-system", "Coordinate System:",
                   Selected(planner.coordinateEntries(), planner.coordinateSelection()));
    deployment.add("cells", "Number of Cells:", planner.cellsText());
    deployment.add("cell-size", planner.cellSizeLabel(), planner.cellSizeText());
    deployment.add("blanking", planner.blankingLabel(), planner.blankingText());
    deployment.add("profiling-range", "", planner.rangeText());
    deployment.add("output-mode", "Output Mode:",
                   Selected(DeploymentPlanner::kOutputModeList, planner.outputModeSelection()));
    deployment.add(
        "recorder-enabled", "Recorder Enabled:",
        Selected(DeploymentPlanner::kRecorderEnabledList, planner.recorderEnabledSelection()));
    deployment.add("battery-type", "Battery Pack Type:",
                   Selected(DeploymentPlanner::batteryTypeList(), planner.batteryTypeSelection()));
    deployment.add("battery-packs", "Number of Battery Packs:", planner.batteryPacksText());
    deployment.add("battery-capacity", "Battery Capacity (Wh):", planner.capacityText());
    deployment.add("power-consumption", "Power Consumption (W):", planner.powerDrawText());
    deployment.add("power-summary", "", planner.powerText());
    deployment.add("free-space-summary", "", planner.freeSpaceText());

    const planning::AdvancedSettings advanced = planner.advancedSettings();
    auto& block = report.section("advanced", "Advanced Settings");
    block.add("temperature-mode", "Temperature Mode:",
              Selected(planning::AdvancedSettings::kTemperatureModeList,
                       advanced.temperatureModeSelection()));
    block.add("temperature", advanced.temperatureLabel(), advanced.temperatureText());
    block.add("salinity", planning::AdvancedSettings::salinityLabel(), advanced.salinityText());
    block.add("sound-speed", advanced.soundSpeedLabel(), EntryText(advanced.soundSpeedText()));
    block.add("burst-mode", "Burst Mode:",
              Selected(planning::AdvancedSettings::kBurstModeList, advanced.burstModeSelection()));
    block.add("burst-interval", planning::AdvancedSettings::burstIntervalLabel(),
              advanced.burstIntervalText());
    block.add("profiles-per-burst", planning::AdvancedSettings::profilesPerBurstLabel(),
              advanced.profilesPerBurstText());

    if (planner.wavesEnabled()) {
        const planning::WavesSettings waves = planner.wavesSettings();
        auto& series = report.section("waves", "Waves Settings");
        series.add("wave-every", "Record Wave Series every (profiles):", waves.recordEveryText());
        series.add("wave-rate", "Wave Series Rate:",
                   Selected(planning::WavesSettings::kRateList, waves.rateSelection()));
        series.add("wave-length", "Wave Series Length:", waves.lengthText());
        series.add("wave-type",
                   "Wave Series Type:", Selected(waves.typeList(), waves.typeSelection()));
        series.add("wave-duration", "Wave Series Duration (s):", EntryText(waves.durationText()));
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
