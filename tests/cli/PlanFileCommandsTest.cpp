#include "CliBench.h"
#include "planning/DefaultStructures.h"
#include "sim/Instrument.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace qpx::test {
namespace {

using Lines = std::vector<std::string>;

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

struct FileBench : CliBench {
    std::string file(const std::string& name) const { return (files.path() / name).string(); }
    std::string write(const std::string& name, const std::string& contents) const {
        std::ofstream(files.path() / name, std::ios::binary) << contents;
        return file(name);
    }
    std::string read(const std::string& name) const { return files.read(name); }

    TempDir files;
};

// The instrument as downloaded, with a serial number of its own.
sim::Scenario Serial(const char* serial) {
    sim::Scenario s = sim::QpxScenario();
    model::SystemConfiguration system = planning::MakeDefaultSystemConfiguration(1);
    system.serialNumber.fill('\0');
    std::copy_n(serial, std::strlen(serial), system.serialNumber.begin());
    s.systemConfiguration = system;
    return s;
}

TEST(PlanFile, SavedPlanOpensToTheSameReportWithTheHeaderForTheSystem) {
    FileBench bench;
    ASSERT_EQ(
        bench.run({"plan", "--units", "english", "--frequency", "5000", "--recorder-mb", "880",
                   "--waves", "directional", "cells=10", "cell-size=0.66", "wave-type=puv",
                   "battery-type=lithium", "--save", bench.file("pier.qpxplan")}),
        0)
        << bench.err;
    const std::string saved = bench.out;
    EXPECT_TRUE(Has(bench.err, "The plan was saved to " + bench.file("pier.qpxplan") + "."));
    const std::string text = bench.read("pier.qpxplan");
    for (const char* line : {"units = english\n", "frequency = 5000\n", "recorder-mb = 880\n",
                             "waves = directional\n", "cells = 10\n"}) {
        EXPECT_TRUE(Has(text, line)) << line << "\nin\n" << text;
    }

    // Frequency, recorder size and waves from the header; the same report.
    ASSERT_EQ(bench.run({"plan", "--units", "english", "--plan", bench.file("pier.qpxplan")}), 0)
        << bench.err;
    EXPECT_EQ(bench.out, saved);
    EXPECT_EQ(bench.err, "");

    // What the command line says wins over the header; the difference is pointed out, and the
    // plan is checked against the limits of the system it now stands for.
    EXPECT_EQ(bench.run({"plan", "--units", "english", "--frequency", "1500", "--plan",
                         bench.file("pier.qpxplan")}),
              1);
    EXPECT_TRUE(Has(bench.err, "Cell Size should be in the range of  0.82 to 13.12 ft."))
        << bench.err;
    EXPECT_TRUE(Has(bench.out, "  System Frequency: 1500 kHz\n")) << bench.out;
    EXPECT_TRUE(Has(bench.out, "  Recorder Size: 880 MB\n")) << bench.out;
    EXPECT_TRUE(Has(bench.err, bench.file("pier.qpxplan") +
                                   ": The plan was made for a 5000 kHz system; this one is 1500"))
        << bench.err;
}

TEST(PlanFile, SettingsAfterThePlanChangeItFurther) {
    FileBench bench;
    const std::string plan =
        bench.write("p.qpxplan", "units = metric\ncells = 10\nblanking = 0.5\ncell-size = 0.75\n");
    ASSERT_EQ(bench.run({"plan", "--plan", plan, "cells=12", "--save", bench.file("out.qpxplan")}),
              0)
        << bench.err;
    for (const char* line :
         {"  Number of Cells: 12\n", "  Blanking Distance (m): 0.5\n", "  Cell Size (m): 0.75\n"}) {
        EXPECT_TRUE(Has(bench.out, line)) << line << "\nin\n" << bench.out;
    }
    EXPECT_TRUE(Has(bench.read("out.qpxplan"), "\ncells = 12\n"));
}

TEST(PlanFile, ShowSavesTheInstrumentsPlanAndDeployEntersIt) {
    FileBench bench;
    bench.ports.simulated.instruments[0] = Serial("QPX1234");
    ASSERT_EQ(bench.run({"show", "--port", "COM1", "cells=25", "--save", bench.file("i.qpxplan")}),
              0)
        << bench.err;
    EXPECT_TRUE(Has(bench.out, "  Number of Cells: 25\n")) << bench.out;
    EXPECT_FALSE(bench.received("nc 25")) << "show sends nothing";
    const std::string text = bench.read("i.qpxplan");
    EXPECT_TRUE(Has(text, "instrument = QPX1234\n")) << text;
    EXPECT_TRUE(Has(text, "\ncells = 25\n")) << text;

    ASSERT_EQ(bench.run({"deploy", "--port", "COM1", "--plan", bench.file("i.qpxplan")}), 0)
        << bench.err;
    EXPECT_TRUE(bench.received("nc 25"));
    EXPECT_TRUE(bench.received("deploy"));
    EXPECT_TRUE(bench.out.ends_with("\nDeployments:\n  COM1  QPX1234  deployed\n")) << bench.out;
}

// A plan refused in reading stops every command before a port is opened; one refused by the
// planner stops deploy after the download, with nothing sent.
TEST(PlanFile, RefusedFilesGiveCodeOneWithTheFileAndLine) {
    const struct {
        const char* contents; // none: no such file
        std::string message;
        bool readRefusal;
    } cases[]{
        {"units = metric\ncells = 10\ncells\n",
         ", line 3: \"cells\" is not a setting: use key = value.", true},
        {"# no units\ncells = 10\n", ": the file has no \"units\" line", true},
        {"units = metric\nunits = english\n", ", line 2: units is given twice (first on line 1).",
         true},
        {nullptr, ": ", true},
        {"units = metric\n\ncells = 0\n", ", line 3: cells = 0: ", false},
    };
    for (const auto& c : cases) {
        for (const Lines& command : {Lines{"plan"}, Lines{"show", "--port", "COM1"},
                                     Lines{"deploy", "--port", "COM1", "--port", "COM2"}}) {
            FileBench bench;
            bench.ports.simulated.instruments[0] = sim::QpxScenario();
            bench.ports.simulated.instruments[1] = sim::QpxScenario();
            const std::string path = c.contents != nullptr ? bench.write("bad.qpxplan", c.contents)
                                                           : bench.file("missing.qpxplan");
            Lines args = command;
            args.insert(args.end(), {"--plan", path, "cells=12"});
            EXPECT_EQ(bench.run(args), 1) << command[0] << " " << c.message;
            EXPECT_TRUE(Has(bench.err, path + c.message)) << bench.err;
            EXPECT_FALSE(Has(bench.out, "  Number of Cells:")) << bench.out;
            if (c.readRefusal) {
                EXPECT_TRUE(bench.ports.simulated.requests.empty()) << command[0];
            } else if (command[0] == "deploy") {
                // Each instrument downloaded and refused on its own.
                EXPECT_EQ(bench.transcript().back(), "bdir");
                EXPECT_TRUE(Has(bench.out, "  COM1  DEFAULT  refused: " + path + c.message))
                    << bench.out;
                EXPECT_TRUE(Has(bench.out, "  COM2  DEFAULT  refused: ")) << bench.out;
            }
        }
    }
}

TEST(DeployCommand, DryRunSavesTheCommandLinesItPrints) {
    FileBench bench;
    bench.ports.simulated.instruments[0] = Serial("QPX77");
    ASSERT_EQ(bench.run({"deploy", "--port", "COM1", "--dry-run", "cells=25",
                         "start=2002/01/02 03:04:05", "--save-commands", bench.file("cmd.txt")}),
              0)
        << bench.err;
    const std::string body = "StartDate 2002/01/02\nStartTime 03:04:05\nnc 25\nof ascii\n"
                             "AutoSleep on\nSaveSetup\n";
    EXPECT_TRUE(Has(bench.out, "after waking the instrument:\n" + body)) << bench.out;
    const std::string saved = bench.read("cmd.txt");
    EXPECT_TRUE(saved.starts_with("# DeployQpx upload commands for the instrument QPX77, "))
        << saved;
    EXPECT_TRUE(saved.ends_with("\n" + body)) << saved;
    EXPECT_FALSE(bench.received("SaveSetup"));

    // A folder that does not exist: the failure names the file, and the old file is kept.
    const std::string nowhere = bench.file("no/such/folder/cmd.txt");
    EXPECT_EQ(bench.run({"deploy", "--port", "COM1", "--dry-run", "--save-commands", nowhere}), 3);
    EXPECT_TRUE(Has(bench.err, "The command file could not be saved to " + nowhere + ": "))
        << bench.err;
    EXPECT_TRUE(Has(bench.out,
                    "  COM1  QPX77  dry run: nothing sent; the command file could not be saved\n"))
        << bench.out;

    for (const Lines& wrong :
         {Lines{"deploy", "--port", "COM1", "--save-commands", bench.file("x")},
          Lines{"deploy", "--port", "COM1", "--port", "COM2", "--dry-run", "--save-commands",
                bench.file("x")}}) {
        EXPECT_EQ(bench.run(wrong), 2);
        EXPECT_TRUE(Has(bench.err, "--save-commands")) << bench.err;
    }
}

TEST(DeployCommand, SeveralPortsEachDeployedInTurnWithALineEachAndTheWorstCode) {
    FileBench bench;
    bench.ports.simulated.instruments[0] = Serial("QPX-A");
    sim::Scenario dying = Serial("QPX-C");
    dying.silence = sim::SilenceFault{-1, "nc 25"};
    bench.ports.simulated.instruments[2] = dying;
    // A long cell size on the fourth: 25 cells reach past its range.
    sim::Scenario far = Serial("QPX-D");
    far.userSetup = sim::Instrument(sim::QpxScenario()).structures().userSetup;
    far.userSetup->cellSize = 200;
    bench.ports.simulated.instruments[3] = far;
    const std::string plan = bench.write("p.qpxplan", "units = metric\ncells = 25\n");

    EXPECT_EQ(bench.run({"deploy", "--plan", plan, "--port", "COM1", "--port", "COM2", "--port",
                         "COM3", "--port", "COM4"}),
              3);
    const std::string summary = bench.out.substr(bench.out.rfind("\nDeployments:\n"));
    EXPECT_TRUE(summary.starts_with("\nDeployments:\n"
                                    "  COM1  QPX-A  deployed\n"
                                    "  COM2  -      the port did not open\n"
                                    "  COM3  QPX-C  the upload failed\n"
                                    "  COM4  QPX-D  refused: Total profile range of"))
        << summary;
    EXPECT_TRUE(Has(bench.err, "\n== COM3 ==\n")) << bench.err;
    EXPECT_EQ(bench.ports.simulated.lines.size(), 3u) << "every opened port closed";
    for (const auto& line : bench.ports.simulated.lines) {
        EXPECT_EQ(line.closes, 1);
    }

    // A refusal alone gives 1; with --stop-on-failure the rest is not tried, nor opened.
    bench.ports.simulated.requests.clear();
    EXPECT_EQ(bench.run({"deploy", "--plan", plan, "--stop-on-failure", "--port", "COM4", "--port",
                         "COM1"}),
              1);
    EXPECT_TRUE(Has(bench.out, "  COM1  -      not tried\n")) << bench.out;
    EXPECT_EQ(bench.ports.simulated.requests.size(), 1u);

    // Every port is checked before any is opened.
    bench.ports.simulated.requests.clear();
    for (const Lines& wrong : {Lines{"deploy", "--port", "COM1", "--port", "COM12"},
                               Lines{"deploy", "--port", "COM1", "--port", "COM1"}}) {
        EXPECT_EQ(bench.run(wrong), 2) << wrong.back();
        EXPECT_FALSE(bench.err.empty());
    }
    EXPECT_TRUE(bench.ports.simulated.requests.empty());
}

TEST(PlanFile, SaveFailureNamesTheFileAndKeepsTheOldOne) {
    FileBench bench;
    const std::string path = bench.write("keep.qpxplan", "units = metric\n");
    std::filesystem::create_directory(bench.files.path() / "dir.qpxplan");
    EXPECT_EQ(bench.run({"plan", "--save", bench.file("dir.qpxplan")}), 3);
    EXPECT_TRUE(Has(bench.err, "The plan could not be saved to " + bench.file("dir.qpxplan")))
        << bench.err;
    // A refused setting saves nothing.
    EXPECT_EQ(bench.run({"plan", "cells=0", "--save", path}), 1);
    EXPECT_EQ(bench.read("keep.qpxplan"), "units = metric\n");
}

} // namespace
} // namespace qpx::test
