#include "CliBench.h"
#include "sim/Instrument.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace qpx::test {
namespace {

using Lines = std::vector<std::string>;
namespace fs = std::filesystem;

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

Lines AfterLastVer(const Lines& transcript) {
    const auto ver = std::find(transcript.rbegin(), transcript.rend(), "Ver");
    return Lines(ver.base(), transcript.end());
}

// The one record pair in `folder`: its stem, or "" when there is not exactly one of each.
std::string RecordStem(const fs::path& folder) {
    std::vector<std::string> json;
    std::vector<std::string> text;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.ends_with("_deploy.json")) {
            json.push_back(name.substr(0, name.size() - 5));
        } else if (name.ends_with("_deploy.txt")) {
            text.push_back(name.substr(0, name.size() - 4));
        }
    }
    return json.size() == 1 && text == json ? json.front() : std::string();
}

std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Deployed, stopped at a middle command by bad echoes, and the line going dead: each leaves a
// record of exactly the lines the instrument was sent, how they went, and where it stopped.
TEST(DeploymentRecord, WrittenAfterEveryRunThatReachedTheUpload) {
    struct Case {
        const char* name;
        void (*fault)(sim::Scenario&);
        int exitCode;
        std::string result;
        std::string failedStep;
    };
    const Case cases[] = {
        {"deployed", [](sim::Scenario&) {}, 0, "deployed", ""},
        {"bad echoes",
         [](sim::Scenario& s) {
             s.wrongEcho = sim::EchoFault{{"nc 25", -1}};
         },
         3, "the upload failed", "Update Number of Cells"},
        {"line dead",
         [](sim::Scenario& s) {
             s.silence = sim::SilenceFault{-1, "of ascii"};
         },
         3, "the upload failed", "Set Output Format"},
    };
    for (const Case& c : cases) {
        CliBench bench;
        bench.ports.simulated.instruments[0] = sim::QpxScenario();
        c.fault(bench.ports.simulated.instruments[0]);
        EXPECT_EQ(bench.run({"deploy", "--port", "COM1", "cells=25", "start=2001/07/04 10:00:00",
                             "--remarks", "R. Diver, pier 3"}),
                  c.exitCode)
            << c.name << bench.err;
        const std::string stem = RecordStem(bench.folder.path());
        ASSERT_EQ(stem, "DEFAULT_20010704T0900" + stem.substr(21, 3) + "_deploy") << c.name;
        EXPECT_TRUE(Has(bench.err, "Deployment record: " +
                                       (fs::path(".") / (stem + ".txt")).string() + " and .json\n"))
            << c.name;

        const auto json =
            nlohmann::json::parse(Read(bench.folder.path() / (stem + ".json")), nullptr, false);
        ASSERT_FALSE(json.is_discarded()) << c.name;
        EXPECT_EQ(json["result"], c.result) << c.name;
        EXPECT_EQ(json["instrument"]["serialNumber"], "DEFAULT");
        EXPECT_EQ(json["remarks"], "R. Diver, pier 3");
        Lines sent;
        for (const auto& entry : json["sent"]) {
            sent.push_back(entry["command"]);
        }
        // The instrument heard the lines the record lists, in order, after the upload's own
        // wake-up "Ver" (a line sent again after a bad echo is one entry with its attempts).
        Lines heard = AfterLastVer(bench.transcript());
        heard.erase(std::unique(heard.begin(), heard.end()), heard.end());
        ASSERT_FALSE(sent.empty());
        EXPECT_EQ(sent.front(), "Ver");
        EXPECT_EQ(Lines(sent.begin() + 1, sent.end()), heard) << c.name;
        const std::string text = Read(bench.folder.path() / (stem + ".txt"));
        for (const auto& line : sent) {
            EXPECT_TRUE(Has(text, "  " + line + "  [")) << c.name << ": " << line;
        }
        if (c.failedStep.empty()) {
            EXPECT_TRUE(json["failure"].is_null());
            EXPECT_EQ(json["sent"].back()["outcome"], "echo matched at attempt 1, reply OK");
        } else {
            EXPECT_EQ(json["failure"]["step"], c.failedStep) << c.name;
            EXPECT_FALSE(json["sent"].back()["succeeded"]) << c.name;
        }
    }
}

TEST(DeploymentRecord, AFolderThatCannotBeWrittenEndsWithTheRecordElsewhere) {
    CliBench bench;
    bench.ports.simulated.instruments[0] = sim::QpxScenario();
    // A folder under a plain file cannot be made, even by root.
    std::ofstream(bench.folder.path() / "plain-file") << "x";
    ASSERT_EQ(bench.run({"deploy", "--port", "COM1", "cells=25", "--record",
                         (bench.folder.path() / "plain-file" / "records").string()}),
              0)
        << bench.err;
    EXPECT_TRUE(Has(bench.err, "The deployment record could not be written to ")) << bench.err;
    EXPECT_FALSE(RecordStem(bench.folder.path()).empty()) << bench.err;
}

// The review is printed before anything is sent; --strict stops at a warning, --check-clock adds
// the one clock reading and its offset.
TEST(DeployReview, PrintedStrictRefusesAtAWarningCheckClockReadsTheOffset) {
    {
        CliBench bench;
        bench.ports.simulated.instruments[0] = sim::QpxScenario();
        EXPECT_EQ(bench.run({"deploy", "--port", "COM1", "cells=25", "start=2001/07/04 08:00:00",
                             "--strict"}),
                  1);
        EXPECT_TRUE(Has(bench.err, "Deployment Review\n  Warning: The start time is in the past"))
            << bench.err;
        EXPECT_TRUE(Has(bench.err, "Commands\n   1  StartDate 2001/07/04\n")) << bench.err;
        EXPECT_EQ(bench.transcript().back(), "bdir");
        EXPECT_TRUE(RecordStem(bench.folder.path()).empty());
    }
    {
        CliBench bench;
        bench.ports.simulated.instruments[0] = sim::QpxScenario();
        // The line starts with the computer at 09:00:00: the instrument is two minutes ahead.
        bench.ports.simulated.instruments[0].clockMinute = 2;
        EXPECT_EQ(bench.run({"deploy", "--port", "COM1", "cells=25", "start=2001/07/04 10:00:00",
                             "--check-clock", "--planned-days", "500"}),
                  0)
            << bench.err;
        EXPECT_TRUE(Has(bench.err, "  Warning: The instrument clock differs from the computer's"))
            << bench.err;
        EXPECT_TRUE(Has(bench.err, "  Warning: The battery estimate (100.8 days) is shorter "
                                   "than the recorder estimate and the planned 500 days"))
            << bench.err;
        const auto json = nlohmann::json::parse(
            Read(bench.folder.path() / (RecordStem(bench.folder.path()) + ".json")));
        EXPECT_EQ(json["clockCheck"]["offsetSeconds"], 120) << json["clockCheck"].dump();
        EXPECT_EQ(json["plannedDurationDays"], "500");
    }
}

} // namespace
} // namespace qpx::test
