#include "cli/PlanViewSections.h"

#include "CliBench.h"
#include "planning/PlanDeployment.h"

#include <sstream>
#include <string>

#include <gtest/gtest.h>

namespace qpx::test {
namespace {

planning::DeploymentPlanner Planner(model::UnitSystem units) {
    planning::DeploymentPlanner planner;
    planner.open(planning::PlanDeployment(units, planning::SystemChoice{}));
    planner.cellsChanged("12");
    planner.cellSizeChanged("0.5");
    return planner;
}

// A header, then one row per point: the interval in seconds first, an empty field for an
// estimate that is unavailable, the plan's own interval among the rows.
TEST(PlanViewSections, TheSweepAsCsv) {
    const auto planner = Planner(model::kMetricUnits);
    const auto sweep = planning::EnduranceSweep(planner);
    std::istringstream csv(cli::SweepCsv(sweep));
    std::string line;
    std::getline(csv, line);
    EXPECT_EQ(line, "profiling_interval_s,battery_days,recorder_days");
    std::size_t rows = 0;
    bool planned = false;
    while (std::getline(csv, line)) {
        ++rows;
        planned = planned || line.starts_with("1200,");
        EXPECT_EQ(std::count(line.begin(), line.end(), ','), 2) << line;
    }
    EXPECT_EQ(rows, sweep.size());
    EXPECT_TRUE(planned);
    EXPECT_EQ(cli::SweepCsv({{30.0f, std::nullopt, 2.5f, false}}),
              "profiling_interval_s,battery_days,recorder_days\n30,,2.50\n");
}

TEST(PlanViewSections, TheCellsWithTheSurfaceMarks) {
    const auto planner = Planner(model::kMetricUnits);
    cli::Report report;
    cli::AddCellsSection(report, planner, 5.0);
    const auto& section = report.sections.front();
    ASSERT_EQ(section.tables.size(), 1u);
    const auto& rows = section.tables.front().rows;
    ASSERT_EQ(rows.size(), 12u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"1", "0.65", ""}));
    EXPECT_EQ(rows[8], (std::vector<std::string>{"9", "4.65", "side lobes"}));
    EXPECT_EQ(rows[11], (std::vector<std::string>{"12", "6.15", "out of the water"}));
    EXPECT_EQ(section.fields[1].text, "4.53 m"); // 5 m x cos 25 degrees
}

} // namespace
} // namespace qpx::test

namespace qpx::test {
namespace {

// The views' options on the command line: the sweep as JSON rows, the surface in feet, and the
// CSV only with the sweep it prints.
TEST(PlanViewOptions, SweepSurfaceAndPingRateOnTheCommandLine) {
    CliBench json;
    ASSERT_EQ(json.run({"plan", "--sweep", "--json", "--ping-rate", "2"}), 0) << json.err;
    for (const char* part : {"\"endurance-sweep\"", "\"profiling-interval\": \"1200\"",
                             "\"planned\": \"plan\"", "over 240 pings"}) {
        EXPECT_NE(json.out.find(part), std::string::npos) << part;
    }
    CliBench feet;
    ASSERT_EQ(feet.run({"plan", "--units", "english", "--surface", "40", "cells=25"}), 0);
    EXPECT_NE(feet.out.find("  Side-lobe limit: 36.25 ft\n"), std::string::npos) << feet.out;
    CliBench csv;
    EXPECT_EQ(csv.run({"plan", "--csv"}), 2);
    EXPECT_EQ(csv.out, "");
    EXPECT_EQ(csv.run({"plan", "--surface", "0"}), 2);
}

} // namespace
} // namespace qpx::test
