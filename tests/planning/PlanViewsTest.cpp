#include "model/TextFormat.h"
#include "planning/EnduranceSweep.h"
#include "planning/PlanDeployment.h"
#include "planning/VelocityPrecision.h"
#include "planning/WaterColumn.h"

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace qpx::test {
namespace {

using planning::DeploymentPlanner;

// A 1500 kHz system in planning mode: three beams slanted 25 degrees, looking up.
DeploymentPlanner Planner(model::UnitSystem units, int orientation = 1) {
    planning::SystemChoice choice;
    auto inputs = planning::PlanDeployment(units, choice);
    inputs.system.sensorOrientation = static_cast<std::uint8_t>(orientation);
    DeploymentPlanner planner;
    planner.open(inputs);
    return planner;
}

struct ColumnCase {
    model::UnitSystem units;
    int orientation;
    const char* cellSize;
    const char* blanking;
    double boundary;
    std::vector<double> centres;
    std::vector<int> contaminated;
    std::vector<int> outOfWater;
};

// Ten cells; the boundary's echoes reach past boundary x cos 25 degrees.
TEST(WaterColumn, CellCentresAndTheSideLobeLimitInEveryOrientationAndUnit) {
    const std::vector<ColumnCase> cases{
        // Limit 9.5 x 0.906308 = 8.6099 m: the far edges 9.4 and 10.4 lie past it.
        {model::kMetricUnits, 1, "1", "0.4", 9.5, {0.9, 1.9, 2.9, 9.9}, {9, 10}, {10}},
        {model::kMetricUnits, 0, "1", "0.4", 9.5, {0.9, 1.9, 2.9, 9.9}, {9, 10}, {10}},
        // Limit 6 x 0.906308 = 5.4378 m: cells 0.5 m from 0.5 m, far edges 5.5 and on.
        {model::kMetricUnits, 2, "0.5", "0.5", 6.0, {0.75, 1.25, 1.75, 5.25}, {10}, {}},
        // Feet: limit 30 x 0.906308 = 27.189 ft; far edges 3.28 k + 1.31.
        {model::kEnglishUnits,
         1,
         "3.28",
         "1.31",
         30.0,
         {2.95, 6.23, 9.51, 32.47},
         {8, 9, 10},
         {10}},
        {model::kEnglishUnits,
         0,
         "3.28",
         "1.31",
         30.0,
         {2.95, 6.23, 9.51, 32.47},
         {8, 9, 10},
         {10}},
    };
    for (const ColumnCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.cellSize << " orientation " << c.orientation);
        DeploymentPlanner planner = Planner(c.units, c.orientation);
        planner.cellsChanged("10");
        planner.cellSizeChanged(c.cellSize);
        planner.blankingChanged(c.blanking);
        const auto column = planning::PlannedWaterColumn(planner, c.boundary);
        ASSERT_TRUE(column);
        ASSERT_EQ(column->cells.size(), 10u);
        EXPECT_EQ(column->sensorOrientation, c.orientation);
        const std::vector<int> picked{1, 2, 3, 10};
        for (std::size_t i = 0; i < picked.size(); ++i) {
            EXPECT_NEAR(column->cells[picked[i] - 1].centre, c.centres[i], 1e-5) << picked[i];
        }
        EXPECT_NEAR(*column->sideLobeLimit, c.boundary * std::cos(25.0 * std::numbers::pi / 180.0),
                    1e-9);
        std::vector<int> contaminated;
        std::vector<int> outOfWater;
        for (const auto& cell : column->cells) {
            if (cell.contaminated) {
                contaminated.push_back(cell.number);
            }
            if (cell.outOfWater) {
                outOfWater.push_back(cell.number);
            }
        }
        EXPECT_EQ(contaminated, c.contaminated);
        EXPECT_EQ(outOfWater, c.outOfWater);
        EXPECT_NEAR(column->profileEnd, column->cells.back().farEdge, 0.0);
    }
}

// The first centre is the profiling-range text's first figure, to its two decimals.
TEST(WaterColumn, TheFirstCentreIsTheRangeTextsStart) {
    DeploymentPlanner planner = Planner(model::kMetricUnits);
    planner.cellSizeChanged("0.31");
    planner.blankingChanged("0.1");
    const auto column = planning::PlannedWaterColumn(planner);
    ASSERT_TRUE(column);
    EXPECT_EQ(planner.rangeText().substr(0, 23),
              model::FormatText("Profiling Range: %6.2f", column->cells.front().centre));
    EXPECT_FALSE(column->sideLobeLimit);
}

TEST(WaterColumn, NothingForAProfileThatCannotBeDrawn) {
    DeploymentPlanner planner = Planner(model::kMetricUnits);
    EXPECT_FALSE(planning::PlannedWaterColumn(planner, 0.0));
    EXPECT_FALSE(planning::PlannedWaterColumn(planner, std::nan("")));
    planner.cellsChanged("0"); // refused: the planner keeps its cells
    EXPECT_TRUE(planning::PlannedWaterColumn(planner));
}

// Each point is what the planner itself estimates at that profiling interval.
TEST(EnduranceSweep, EqualsThePlannersEstimatesAtEveryPoint) {
    DeploymentPlanner planner = Planner(model::kMetricUnits);
    planner.profilingIntervalChanged("600");
    planner.batteryPacksChanged("2");
    const auto sweep = planning::EnduranceSweep(planner);
    ASSERT_EQ(sweep.size(), static_cast<std::size_t>(planning::kSweepPoints + 1));
    EXPECT_FLOAT_EQ(sweep.front().profilingInterval, planner.averagingInterval());
    EXPECT_FLOAT_EQ(sweep.back().profilingInterval, 43200.0f);
    int planned = 0;
    for (std::size_t i = 0; i < sweep.size(); ++i) {
        const auto& point = sweep[i];
        if (i > 0) {
            EXPECT_LE(sweep[i - 1].profilingInterval, point.profilingInterval);
        }
        planned += point.planned ? 1 : 0;
        if (!point.planned && i % 7 != 0) {
            continue;
        }
        DeploymentPlanner typed = planner;
        typed.profilingIntervalChanged(model::FormatText("%.9g", point.profilingInterval));
        EXPECT_EQ(point.recorderDays, typed.freeSpaceDays()) << point.profilingInterval;
        ASSERT_TRUE(point.batteryDays);
        EXPECT_EQ(
            model::FormatText("Power is sufficient for %.0f days of operation", *point.batteryDays),
            typed.powerText());
    }
    EXPECT_EQ(planned, 1);
}

TEST(EnduranceSweep, EmptyWithoutAnAveragingInterval) {
    DeploymentPlanner planner = Planner(model::kMetricUnits);
    planner.averagingIntervalChanged("0"); // refused: it keeps 120 s
    EXPECT_FALSE(planning::EnduranceSweep(planner).empty());
    planning::SystemChoice choice;
    auto inputs = planning::PlanDeployment(model::kMetricUnits, choice);
    inputs.user.averagingInterval = 0; // as an instrument may hold it
    DeploymentPlanner held;
    held.open(inputs);
    EXPECT_TRUE(planning::EnduranceSweep(held).empty());
}

// 288 kHz, 4 m cells, beams 20 degrees from the vertical, 9 pings, c = 1490 m/s. Four beams:
// sigma_r = 1.4 x 1490 x (1490 / 288000) / (8 pi x 4 / cos 20) x sqrt(1.036030) = 0.102679 m/s,
// sigma_h = 0.102679 / (sqrt 2 x sin 20) / 3 = 0.070761 m/s (published: 0.07 within 10 %).
// Three beams 120 degrees apart: 0.102679 x sqrt(2/3) / sin 20 / 3 = 0.081707 m/s.
TEST(VelocityPrecision, MatchesThePublishedValueAndTheThreeBeamGeometry) {
    planning::PrecisionInputs in{1490.0, 288000.0, 4.0, 20.0, 4, 9.0};
    const auto fourBeams = planning::EstimatePrecision(in);
    ASSERT_TRUE(fourBeams);
    EXPECT_NEAR(fourBeams->radialSinglePing, 0.102679, 5e-7);
    EXPECT_NEAR(fourBeams->horizontal, 0.070761, 5e-7);
    EXPECT_NEAR(fourBeams->horizontal, 0.07, 0.007);
    in.beams = 3;
    EXPECT_NEAR(planning::EstimatePrecision(in)->horizontal, 0.081707, 5e-7);
}

TEST(VelocityPrecision, UnavailableWhereTheModelCannotJudge) {
    const planning::PrecisionInputs good{1490.0, 288000.0, 4.0, 20.0, 4, 9.0};
    std::vector<planning::PrecisionInputs> bad(6, good);
    bad[0].slantDegrees = 0.0;
    bad[1].pings = 0.0;
    bad[2].cellSize = std::nan("");
    bad[3].beams = 2;
    bad[4].frequencyHz = 0.0;
    bad[5].soundSpeed = INFINITY;
    for (const auto& in : bad) {
        EXPECT_FALSE(planning::EstimatePrecision(in));
    }

    DeploymentPlanner planner = Planner(model::kMetricUnits);
    const auto planned = planning::PlannedPrecisionInputs(planner, 2.0);
    ASSERT_TRUE(planned);
    EXPECT_DOUBLE_EQ(planned->pings, planner.averagingInterval() * 2.0);
    EXPECT_DOUBLE_EQ(planned->frequencyHz, 1500000.0);
    EXPECT_DOUBLE_EQ(planned->slantDegrees, 25.0);

    planning::SystemChoice choice;
    auto inputs = planning::PlanDeployment(model::kMetricUnits, choice);
    inputs.user.pulseCoherentMode = 1;
    DeploymentPlanner pulseCoherent;
    pulseCoherent.open(inputs);
    EXPECT_FALSE(planning::PlannedPrecision(pulseCoherent));

    inputs = planning::PlanDeployment(model::kMetricUnits, choice);
    inputs.system.systemFrequency = 9; // no row of its own
    DeploymentPlanner unknownHead;
    unknownHead.open(inputs);
    EXPECT_FALSE(planning::PlannedPrecision(unknownHead));
}

} // namespace
} // namespace qpx::test
