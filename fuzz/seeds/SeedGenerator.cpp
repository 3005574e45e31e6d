// Writes the seed corpora of the fuzz harnesses: sessions with the simulated instrument recorded
// through a SessionTap, raw structures as the instrument sends them, and typed event sequences
// for the dialog models. Run once from the repository root: qpx-fuzz-seeds fuzz/corpus
#include "fuzz/seeds/SessionTap.h"
#include "fuzz/support/FuzzInput.h"
#include "instrument/PcQpxSettings.h"
#include "instrument/PcQpxTransmit.h"
#include "link/FetchStructure.h"
#include "link/Port.h"
#include "link/WakeAndIdentify.h"
#include "model/OperationConfiguration.h"
#include "model/SystemConfiguration.h"
#include "model/UserSetup.h"
#include "operations/ClockSync.h"
#include "operations/ConnectedSetup.h"
#include "operations/PlanFile.h"
#include "operations/Recorder.h"
#include "operations/SettingApplication.h"
#include "planning/DefaultStructures.h"
#include "planning/PlanDeployment.h"
#include "sim/Instrument.h"
#include "sim/Scenario.h"
#include "sim/SimulatedPortDevice.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace qpx;
using Bytes = std::vector<std::uint8_t>;

class QuietSink final : public link::MessageSink {
public:
    void showMessage(std::string_view) override {}
    bool askOkCancel(std::string_view, std::string_view) override { return true; }
    void showInformation(std::string_view, std::string_view) override {}
};

class RecordingViews final : public link::ProgressViewFactory {
public:
    std::unique_ptr<link::ProgressView> open() override {
        return std::make_unique<link::RecordingProgressView>();
    }
};

std::filesystem::path gRoot;
int gWritten = 0;

void Write(std::string_view harness, std::string_view name, const Bytes& bytes) {
    const auto folder = gRoot / harness;
    std::filesystem::create_directories(folder);
    std::ofstream out(folder / ("seed-" + std::string(name)), std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    ++gWritten;
}

// Runs `exchange` against the simulated instrument of `scenario` and returns what the
// instrument sent, as a replay script.
Bytes Record(const sim::Scenario& scenario, const std::function<void(link::Link&)>& exchange,
             const std::string& stopEchoAfter = {}) {
    link::VirtualClock clock;
    sim::Instrument instrument(scenario);
    auto tap = std::make_unique<fuzz::SessionTap>(
        std::make_unique<sim::SimulatedPortDevice>(instrument, clock));
    tap->stopEchoAfterLine = stopEchoAfter;
    fuzz::SessionTap& kept = *tap;
    link::Port port(std::move(tap), clock);
    QuietSink sink;
    link::Link link{port, sink, std::nullopt};
    exchange(link);
    for (const auto& segment : kept.segments()) {
        const std::string text(segment.begin(), segment.end());
        if (text.find(fuzz::kSegmentMarker) != std::string::npos) {
            std::fprintf(stderr, "a recorded segment holds the marker\n");
        }
    }
    return fuzz::JoinSegments(kept.segments());
}

Bytes WithSelector(std::uint8_t selector, const Bytes& script) {
    Bytes bytes{selector};
    bytes.insert(bytes.end(), script.begin(), script.end());
    return bytes;
}

void StructureFrames() {
    const char* commands[] = {"Get CONF", "Get USER", "Get OPER"};
    const std::size_t sizes[] = {96, 256, 64};
    for (int kind = 0; kind < 3; ++kind) {
        for (int frequency : {1, 0, 6}) {
            for (int leadIn : {0, 2}) {
                sim::Scenario scenario = sim::QpxScenario(frequency);
                scenario.frameLeadIn = leadIn;
                const Bytes script = Record(scenario, [&](link::Link& link) {
                    std::vector<std::uint8_t> destination(sizes[kind]);
                    link::FetchStructure(link, commands[kind], destination);
                });
                const auto selector = static_cast<std::uint8_t>(kind | (frequency == 0 ? 0x80 : 0));
                const std::string name = std::string(commands[kind] + 4) + "-f" +
                                         std::to_string(frequency) + "-lead" +
                                         std::to_string(leadIn);
                Write("StructureFrameFuzz", name, WithSelector(selector, script));
                Write("StructureFrameRepairedFuzz", name, WithSelector(selector, script));
            }
        }
    }
}

void StructureDecoders() {
    for (int frequency = 0; frequency < 8; ++frequency) {
        const auto conf = model::Encode(planning::MakeDefaultSystemConfiguration(frequency));
        const auto user = model::Encode(planning::MakeDefaultUserSetup(frequency));
        const auto oper = model::NarrowOperationConfiguration(
            planning::MakeDefaultOperationConfiguration(frequency));
        const auto unit = static_cast<std::uint8_t>((frequency & 1) << 2);
        Write("StructureDecodersFuzz", "conf-f" + std::to_string(frequency),
              WithSelector(static_cast<std::uint8_t>(0 | unit), Bytes(conf.begin(), conf.end())));
        Write("StructureDecodersFuzz", "user-f" + std::to_string(frequency),
              WithSelector(static_cast<std::uint8_t>(1 | unit), Bytes(user.begin(), user.end())));
        Write("StructureDecodersFuzz", "oper-f" + std::to_string(frequency),
              WithSelector(static_cast<std::uint8_t>(2 | unit | 0x08),
                           Bytes(oper.begin(), oper.end())));
    }
}

void RecorderTransfers() {
    for (int files : {0, 1, 3, 12}) {
        sim::Scenario scenario = sim::QpxScenario();
        for (int i = 0; i < files; ++i) {
            scenario.recorderFiles.push_back({"DEF0000" + std::to_string(i % 10) + ".QPX",
                                              static_cast<std::uint32_t>(2048 * (i + 1)), 2001 + i,
                                              3, 5 + i, 14, 2, 9, 50});
        }
        scenario.recorderUsed = static_cast<std::uint32_t>(files) * 65536u;
        const Bytes script = Record(
            scenario,
            [](link::Link& link) {
                auto directory = std::make_unique<operations::RecorderDirectory>();
                operations::ReadRecorderDirectory(link, *directory);
            },
            "bdir");
        const std::string name = "files" + std::to_string(files);
        Write("RecorderTransferFuzz", name, script);
        Write("RecorderTransferRepairedFuzz", name, script);
    }
}

void ReplyParsers() {
    // 0: wake-up and "Ver", for each kind of system and each way of waking.
    const std::pair<const char*, sim::Scenario> wakes[] = {
        {"qpx", sim::QpxScenario()},
        {"sleeping", sim::SleepingScenario()},
        {"plus-only", sim::PlusOnlyScenario()},
        {"sdi", sim::SdiScenario()},
        {"merovane", sim::SystemScenario(sim::SystemKind::Merovane)},
        {"clv", sim::SystemScenario(sim::SystemKind::Clv)},
        {"clv-wqs", sim::SystemScenario(sim::SystemKind::ClvReportingWqs)},
        {"zeb", sim::SystemScenario(sim::SystemKind::Zeb)},
    };
    for (const auto& [name, scenario] : wakes) {
        const Bytes script =
            Record(scenario, [](link::Link& link) { link::WakeAndIdentify(link); });
        Write("ReplyParsersFuzz", std::string("wake-") + name, WithSelector(0, script));
    }
    // 1: "enablewaves" replies as the line carries them.
    for (const char* reply : {"\r\nNO\r\n>", "\r\nYES\r\n>", "\r\nDIRECTIONAL\r\n>",
                              "\r\nBasic Frequency\r\n>", "\r\n>"}) {
        const std::string text(reply);
        Write("ReplyParsersFuzz", "waves-" + std::to_string(text.size()),
              WithSelector(1, Bytes(text.begin(), text.end())));
    }
    // 2: the instrument's clock.
    for (int hour : {9, 23}) {
        sim::Scenario scenario = sim::QpxScenario();
        scenario.clockHour = hour;
        const Bytes script =
            Record(scenario, [](link::Link& link) { operations::ReadInstrumentClock(link); });
        Write("ReplyParsersFuzz", "clock-" + std::to_string(hour), WithSelector(2, script));
    }
    // 3: "format", asked once or twice, or aborted.
    for (int variant = 0; variant < 3; ++variant) {
        sim::Scenario scenario = sim::QpxScenario();
        scenario.format.asksTwice = variant == 1;
        scenario.format.aborted = variant == 2;
        const Bytes script =
            Record(scenario, [](link::Link& link) { operations::FormatRecorder(link); });
        Write("ReplyParsersFuzz", "format-" + std::to_string(variant), WithSelector(3, script));
    }
    // 4: the PC-QPX update and its read-back.
    for (int frequency : {1, 0}) {
        sim::Scenario scenario = sim::QpxScenario(frequency);
        auto user = planning::MakeDefaultUserSetup(frequency);
        user.pulseCoherentMode = 1;
        scenario.userSetup = user;
        const Bytes script = Record(scenario, [&](link::Link& link) {
            instrument::PcQpxSettings settings(
                1, planning::MakeDefaultSystemConfiguration(frequency), user,
                planning::MakeDefaultOperationConfiguration(frequency));
            settings.pulseLengthChanged("0.5");
            settings.userPulseLagChanged("0.5");
            settings.userResLagChanged("0");
            RecordingViews views;
            instrument::UpdatePcQpxSettings(settings, &link, views);
        });
        Write("ReplyParsersFuzz", "pcqpx-f" + std::to_string(frequency),
              WithSelector(frequency == 1 ? 28 : 10, script));
    }
    // 5: the whole configuration download.
    for (int waves : {0, 1, 2}) {
        sim::Scenario scenario = sim::QpxScenario();
        scenario.wavesOption = waves;
        scenario.recorderFiles = {{"DEF00001.QPX", 2048, 2001, 3, 5, 14, 2, 9, 50}};
        const Bytes script = Record(
            scenario,
            [](link::Link& link) {
                auto download = std::make_unique<operations::Download>();
                operations::DownloadConfiguration(link, nullptr, 1, *download);
            },
            "bdir");
        Write("ReplyParsersFuzz", "download-w" + std::to_string(waves), WithSelector(5, script));
    }
}

// Event id, text, NUL; see ModelEventsFuzz.
void Event(Bytes& bytes, int id, std::string_view text) {
    bytes.push_back(static_cast<std::uint8_t>(id));
    bytes.insert(bytes.end(), text.begin(), text.end());
    bytes.push_back(0);
}

void ModelEvents() {
    struct Sequence {
        const char* name;
        std::uint8_t setup;
        std::uint8_t frequency;
        std::vector<std::pair<int, std::string>> events;
    };
    const std::vector<Sequence> sequences = {
        {"plan-metric",
         0x01,
         1,
         {{0, "DEF01"},
          {4, "60"},
          {5, "600"},
          {6, "20"},
          {7, "1.0"},
          {8, "0.4"},
          {9, "2"},
          {10, "\x01"},
          {16, ""}}},
        {"plan-english",
         0x00,
         1,
         {{7, "3.28"}, {8, "1.31"}, {6, "30"}, {16, ""}, {8, "1.4"}, {16, ""}}},
        {"typing",
         0x01,
         0,
         {{4, "0"},
          {4, "."},
          {4, "-"},
          {4, "1e"},
          {4, "1e39"},
          {5, "12x"},
          {6, ""},
          {7, "0"},
          {9, "0"},
          {9, "1000"},
          {16, ""}}},
        {"assistant",
         0x01,
         1,
         {{13, ""}, {14, "20"}, {15, ""}, {14, "35"}, {15, ""}, {14, "-1"}, {15, ""}, {16, ""}}},
        {"advanced",
         0x00,
         1,
         {{17, ""},
          {18, "68"},
          {19, "34.5"},
          {22, "\x01\x01"},
          {20, "3600"},
          {21, "10"},
          {23, ""},
          {17, ""},
          {18, "123"},
          {23, ""}}},
        {"waves",
         0x09,
         1,
         {{24, ""},
          {25, "4"},
          {26, "1024"},
          {27, "\x01\x02"},
          {28, ""},
          {24, ""},
          {26, "1100"},
          {28, ""},
          {16, ""}}},
        {"pcqpx",
         0x11,
         0,
         {{29, ""},
          {30, "0.5"},
          {31, "0.6"},
          {32, "0"},
          {33, ""},
          {29, ""},
          {30, "1.005"},
          {33, ""},
          {4, "0.5"},
          {5, "1"},
          {16, ""}}},
        {"clock", 0x01, 1, {{34, "\x10\x20\x30\x40"}, {35, "\x01"}, {35, ""}, {36, "abc"}}},
        {"planning", 0x03, 4, {{4, "1"}, {5, "2"}, {16, ""}, {37, ""}, {16, ""}}},
    };
    for (const auto& sequence : sequences) {
        Bytes bytes{sequence.setup, sequence.frequency};
        for (const auto& [id, text] : sequence.events) {
            Event(bytes, id, text);
        }
        Write("ModelEventsFuzz", sequence.name, bytes);
    }
}

// qpxctl arguments, NUL-separated after a set-up byte; see SettingParserFuzz. The last set starts
// with a DEPLOYQPX_PORTS value (top bit of the set-up byte) and tries port arguments against it.
void SettingArguments() {
    struct Set {
        const char* name;
        std::uint8_t setup;
        std::vector<std::string> arguments;
    };
    const std::vector<Set> sets = {
        {"plan",
         0x19,
         {"file-name=DEF01", "start=2001/07/04 09:30:00", "averaging-interval=60",
          "profiling-interval=600", "cells=20", "cell-size=1.0", "blanking=0.4",
          "comment1=First mooring", "battery-type=lithium", "battery-packs=2"}},
        {"lists",
         0x19,
         {"coordinate-system=ENU", "output-mode=Polled", "temperature-mode=measured",
          "burst-mode=enabled", "wave-rate=2", "wave-type=PUV", "COORDINATE-SYSTEM=beam"}},
        {"advanced",
         0x19,
         {"temperature=20", "salinity=34.5", "burst-interval=3600", "profiles-per-burst=10",
          "wave-every=4", "wave-length=1024"}},
        {"refused",
         0x19,
         {"cells=0", "cell-size=-1", "start=2001/02/30 09:00:00", "start=2001/7/4 9:0:0",
          "nosuch=1", "=5", "cells", "file-name=a=b", "averaging-interval=1e39"}},
        {"ports",
         0x99,
         {"/dev/pts/3::/dev/ttyUSB1", "COM1", "com3", "COM2", "COM9", "COM0", "COM01", "COM",
          "COMX", "/dev/ttyS0", ""}},
    };
    for (const auto& set : sets) {
        Bytes bytes{set.setup};
        for (const auto& argument : set.arguments) {
            bytes.insert(bytes.end(), argument.begin(), argument.end());
            bytes.push_back(0);
        }
        Write("SettingParserFuzz", set.name, bytes);
    }
}

// Plan files as the planner writes them, for planning and connected mode and both unit systems,
// and a few written by hand: comments, a byte order mark, CRLF, quotes, keys in capitals, and
// plans the reader or the planner refuses.
void PlanFiles() {
    struct Plan {
        const char* name;
        planning::PlannerInputs inputs;
        operations::PlanOrigin origin;
        std::vector<std::string> settings;
    };
    planning::SystemChoice fast{6, 880, 2};
    planning::PlannerInputs connected;
    connected.system = planning::MakeDefaultSystemConfiguration(1);
    connected.user = planning::MakeDefaultUserSetup(1);
    connected.operation = planning::MakeDefaultOperationConfiguration(1);
    connected.unitSystem = model::kEnglishUnits;
    connected.wavesOption = 2;
    connected.recorder = {64ll * 1048576, 0};
    const std::vector<Plan> plans = {
        {"planning-defaults",
         planning::PlanDeployment(model::kMetricUnits, {}),
         {"", "2026/12/09 10:15:00 +01:00"},
         {}},
        {"planning-english-waves",
         planning::PlanDeployment(model::kEnglishUnits, fast),
         {},
         {"cells=10", "cell-size=0.66", "averaging-interval=60", "wave-every=4", "wave-rate=2",
          "wave-type=puv", "battery-type=lithium", "battery-packs=2"}},
        {"connected",
         connected,
         {"QPX1234", "2026/12/09 10:15:00 +01:00"},
         {"file-name=PIER4", "start=2026/12/10 08:00:00", "comment1=  Pier 4", "comment2=\"x\"",
          "temperature-mode=user", "temperature=54.5", "burst-mode=enabled", "burst-interval=3600",
          "profiles-per-burst=10", "coordinate-system=xyz"}},
    };
    for (const auto& plan : plans) {
        planning::DeploymentPlanner planner;
        planner.open(plan.inputs, {2026, 12, 9, 10, 15, 0});
        for (const auto& text : plan.settings) {
            const auto parsed = operations::ParseSettingArgument(text);
            if (!parsed.setting || !operations::ApplySetting(planner, *parsed.setting).accepted) {
                std::fprintf(stderr, "seed plan %s: %s refused\n", plan.name, text.c_str());
                std::exit(1);
            }
        }
        const std::string written = operations::FormatPlan(planner, plan.origin).text;
        Write("PlanReaderFuzz", plan.name, Bytes(written.begin(), written.end()));
    }
    const std::vector<std::pair<const char*, std::string>> byHand = {
        {"by-hand", "\xEF\xBB\xBF# written by hand\r\nUnits = English\r\n  CELLS =  12  \r\n"
                    "comment3 = \" quoted \"\r\nwave-type = PUV\r\nfrequency = 750\r\n"
                    "pulse-coherent = yes\r\nblanking = 1.5"},
        {"refused-by-planner", "units = metric\ncells = 0\n"},
        {"refused-twice", "units = metric\ncells = 5\nCells = 6\n"},
    };
    for (const auto& [name, text] : byHand) {
        Write("PlanReaderFuzz", name, Bytes(text.begin(), text.end()));
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: qpx-fuzz-seeds CORPUS_FOLDER\n");
        return 2;
    }
    gRoot = argv[1];
    StructureFrames();
    StructureDecoders();
    RecorderTransfers();
    ReplyParsers();
    ModelEvents();
    SettingArguments();
    PlanFiles();
    std::printf("%d seed files written below %s\n", gWritten, gRoot.string().c_str());
    return 0;
}
