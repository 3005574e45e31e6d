#include "cli/PlanViewSections.h"

#include "model/TextFormat.h"
#include "planning/VelocityPrecision.h"
#include "planning/WaterColumn.h"

namespace qpx::cli {
namespace {

std::string Days(const std::optional<float>& days) {
    return days ? model::FormatText("%.2f", static_cast<double>(*days)) : std::string();
}

std::string Seconds(float interval) {
    return model::FormatGeneral(static_cast<double>(interval), 9);
}

} // namespace

void AddCellsSection(Report& report, const planning::DeploymentPlanner& planner,
                     std::optional<double> surface) {
    auto& section = report.section("cells", "Cells");
    const auto column = planning::PlannedWaterColumn(planner, surface);
    if (!column) {
        section.add("cells", "", "unavailable");
        return;
    }
    const char* unit = planner.metric() ? "m" : "ft";
    const auto length = [unit](double value) { return model::FormatText("%.2f ", value) + unit; };
    section.add("profile-end", "Profile to:", length(column->profileEnd));
    if (column->sideLobeLimit) {
        section.add("side-lobe-limit", "Side-lobe limit:", length(*column->sideLobeLimit));
    }
    ReportTable table;
    table.key = "centres";
    table.columnKeys = {"cell", "centre", "mark"};
    table.columnTitles = {"Cell", std::string("Centre (") + unit + ")", "Mark"};
    for (const auto& cell : column->cells) {
        const char* mark = cell.outOfWater     ? "out of the water"
                           : cell.contaminated ? "side lobes"
                                               : "";
        table.rows.push_back(
            {model::FormatText("%d", cell.number), model::FormatText("%.2f", cell.centre), mark});
    }
    section.tables.push_back(std::move(table));
}

void AddPrecisionSection(Report& report, const planning::DeploymentPlanner& planner,
                         double pingRate) {
    auto& section = report.section("precision", "Velocity precision");
    section.add("estimate", "", planning::PrecisionText(planner, pingRate));
    if (const std::string inputs = planning::PrecisionInputsText(planner, pingRate);
        !inputs.empty()) {
        section.add("inputs", "", inputs);
    }
    section.add("assumptions", "", planning::PrecisionAssumptions(pingRate));
}

void AddSweepSection(Report& report, const std::vector<planning::EndurancePoint>& sweep) {
    auto& section = report.section("endurance-sweep", "Endurance sweep");
    ReportTable table;
    table.key = "points";
    table.columnKeys = {"profiling-interval", "battery-days", "recorder-days", "planned"};
    table.columnTitles = {"Profiling interval (s)", "Battery days", "Recorder days", "Plan"};
    for (const auto& point : sweep) {
        table.rows.push_back({Seconds(point.profilingInterval), Days(point.batteryDays),
                              Days(point.recorderDays), point.planned ? "plan" : ""});
    }
    if (sweep.empty()) {
        section.add("points", "", "unavailable");
    }
    section.tables.push_back(std::move(table));
}

void AddViewSections(Report& report, const planning::DeploymentPlanner& planner,
                     const ViewOptions& options) {
    AddCellsSection(report, planner, options.surface);
    if (options.sweep) {
        AddSweepSection(report, planning::EnduranceSweep(planner));
    }
    AddPrecisionSection(report, planner, options.pingRate);
}

void PrintPlanViews(std::ostream& out, const Report& report,
                    const planning::DeploymentPlanner& planner, const ViewOptions& options,
                    bool json) {
    if (options.csv) {
        out << SweepCsv(planning::EnduranceSweep(planner));
    } else {
        out << (json ? FormatReportJson(report) : FormatReportText(report));
    }
    out << std::flush;
}

std::string SweepCsv(const std::vector<planning::EndurancePoint>& sweep) {
    std::string csv = "profiling_interval_s,battery_days,recorder_days\n";
    for (const auto& point : sweep) {
        csv += Seconds(point.profilingInterval) + "," + Days(point.batteryDays) + "," +
               Days(point.recorderDays) + "\n";
    }
    return csv;
}

} // namespace qpx::cli
