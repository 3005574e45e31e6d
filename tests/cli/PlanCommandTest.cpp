#include "CliBench.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace qpx::test {
namespace {

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(PlanCommand, DefaultsForTheFrequencyWithTheSettingsAppliedAndTheDeployCheck) {
    CliBench bench;
    ASSERT_EQ(bench.run({"plan", "--frequency", "5000", "--recorder-mb", "880", "cells=10",
                         "battery-packs=2"}),
              0)
        << bench.err;
    for (const char* line :
         {"  System Frequency: 5000 kHz\n", "  Recorder Size: 880 MB\n", "  Number of Cells: 10\n",
          "  Cell Size (m): 0.2\n", "  Blanking Distance (m): 0.1\n",
          "  Profiling Range:   0.20 -   2.20 m\n", "  Battery Capacity (Wh): 1209.6\n",
          "  Power Consumption (W): 3.00\n", "  Power is sufficient for 168 days of operation\n",
          "  Result: accepted\n"}) {
        EXPECT_TRUE(Has(bench.out, line)) << line << "\nin\n" << bench.out;
    }
    EXPECT_EQ(bench.err, "");
}

TEST(PlanCommand, EnglishUnitsAndJson) {
    CliBench bench;
    ASSERT_EQ(bench.run({"plan", "--units", "english", "--waves", "directional", "--json",
                         "cell-size=1.64", "wave-type=puv"}),
              0)
        << bench.err;
    for (const char* part :
         {"\"cell-size\": \"1.64\"", "\"blanking\": \"1.31\"", "\"waves-option\": \"Directional\"",
          "\"wave-type\": \"PUV Series\"", "\"result\": \"accepted\"",
          "\"profiling-range\": \"Profiling Range:   2.13 -  34.93 ft\""}) {
        EXPECT_TRUE(Has(bench.out, part)) << part << "\nin\n" << bench.out;
    }
    EXPECT_EQ(bench.out.front(), '{');
    EXPECT_EQ(bench.out.substr(bench.out.size() - 2), "}\n");
}

TEST(PlanCommand, RefusedSettingStopsWithTheMessageAndCodeOne) {
    CliBench bench;
    EXPECT_EQ(bench.run({"plan", "cells=25", "cell-size=0", "cells=30"}), 1);
    EXPECT_EQ(bench.err, "Cell Size must be greater than 0.\ncell-size=0 refused.\n");
    EXPECT_EQ(bench.out, "");
}

TEST(PlanCommand, FailedDeployCheckPrintsThePlanAndCodeOne) {
    CliBench bench;
    // 30 cells of 1 m after 0.4 m of blanking reach past the 30 m a 1500 kHz system profiles.
    EXPECT_EQ(bench.run({"plan", "cells=30"}), 1);
    const std::string message = "Total profile range of  30.4 meters exceeds/equals the maximum "
                                "range of this system.\nValue must be below  30.0 meters\nYou may "
                                "want to consider reducing the number of cells";
    EXPECT_TRUE(Has(bench.out, "  Result: refused\n  Message: " + message + "\n")) << bench.out;
    EXPECT_EQ(bench.err, message + "\n");
}

TEST(Usage, WrongCommandLinesGiveCodeTwoBeforeAnythingIsSent) {
    const std::vector<std::vector<std::string>> wrong{
        {},
        {"frobnicate"},
        {"plan", "--frequency", "1200"},
        {"plan", "--recorder-mb", "64"},
        {"plan", "--units", "imperial"},
        {"plan", "--waves", "yes"},
        {"plan", "cells"},
        {"plan", "size=3"},
        {"identify"},
        {"identify", "--port", "COM1", "--baud", "1234"},
        {"identify", "--port", "COM9"},
        {"deploy", "--port", "COM1", "cells=25", "start=2001/02/30 00:00:00"},
        {"deploy", "--port", "COM1", "--watch", "-1"},
        {"clock", "--port", "COM1", "set", "--manual", "tomorrow"},
        {"pcqpx", "--port", "COM1", "set", "pulse=0.5"},
        {"recorder", "--port", "COM1", "erase"},
    };
    for (const auto& args : wrong) {
        CliBench bench;
        bench.ports.simulated.instruments[0] = sim::QpxScenario();
        std::string line;
        for (const auto& a : args) {
            line += a + " ";
        }
        EXPECT_EQ(bench.run(args), 2) << line;
        EXPECT_FALSE(bench.err.empty()) << line;
        EXPECT_TRUE(bench.ports.simulated.requests.empty()) << line;
    }
}

TEST(Usage, HelpForTheToolAndEachCommand) {
    CliBench bench;
    EXPECT_EQ(bench.run({"--help"}), 0);
    for (const char* command :
         {"ports", "identify", "show", "plan", "deploy", "recorder", "clock", "pcqpx"}) {
        EXPECT_TRUE(Has(bench.out, command)) << command;
    }
    EXPECT_EQ(bench.run({"deploy", "--help"}), 0);
    EXPECT_TRUE(Has(bench.out, "--dry-run"));
    EXPECT_TRUE(Has(bench.out, "wave-type"));
    EXPECT_EQ(bench.run({"recorder", "format", "--help"}), 0);
    EXPECT_TRUE(Has(bench.out, "--yes"));
}

} // namespace
} // namespace qpx::test
