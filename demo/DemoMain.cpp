// qpx-demo: the connected download against a simulated QPX, in-process on virtual time. Wakes the
// instrument, identifies it, fetches its three configuration structures and prints them decoded.
//
//     qpx-demo [--frequency N] [--sleeping]

#include "link/FetchStructure.h"
#include "link/MessageSink.h"
#include "link/SystemType.h"
#include "link/WakeAndIdentify.h"
#include "model/DisplayConversions.h"
#include "model/FieldTexts.h"
#include "model/OperationConfiguration.h"
#include "model/SystemConfiguration.h"
#include "model/TextFormat.h"
#include "model/TransformationMatrix.h"
#include "model/UserSetup.h"
#include "planning/DefaultStructures.h"
#include "sim/Scenario.h"
#include "sim/SimulatedLine.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace {

using namespace qpx;

// Failures the core reports arrive here; the demo has nobody to ask, so questions are taken as OK.
class StderrMessageSink final : public link::MessageSink {
public:
    void showMessage(std::string_view text) override { Print(stderr, text); }
    bool askOkCancel(std::string_view text, std::string_view title) override {
        Print(stderr, std::string(title) + ": " + std::string(text) + " (OK)");
        return true;
    }
    void showInformation(std::string_view title, std::string_view text) override {
        Print(stderr, std::string(title) + ": " + std::string(text));
    }

private:
    static void Print(std::FILE* to, std::string_view text) {
        std::fwrite(text.data(), 1, text.size(), to);
        std::fputc('\n', to);
    }
};

void Out(const std::string& text) {
    std::fputs(text.c_str(), stdout);
}

void Field(std::string_view name, const std::string& value) {
    Out(model::FormatText("  %-28.*s %s\n", static_cast<int>(name.size()), name.data(),
                          value.c_str()));
}

std::string Int(long long value) {
    return model::FormatText("%lld", value);
}

std::string Text(std::string_view text) {
    return std::string(text);
}

// A fixed-width text field up to its terminator (never past the field).
template <std::size_t N>
std::string FieldString(const std::array<char, N>& field) {
    std::string text;
    for (const char c : field) {
        if (c == '\0') {
            break;
        }
        text.push_back(c);
    }
    return text;
}

std::string Metres(std::uint32_t centimetres) {
    return model::FormatText("%.2f m",
                             static_cast<double>(model::CentimetresToMetres(centimetres)));
}

// The 32-character step label of the download's progress lines.
void Step(std::string_view name) {
    std::string label(name);
    label.resize(31, '.');
    Out(label + " ");
}

void PrintSystemConfiguration(const model::SystemConfiguration& conf) {
    Out("\nSystem Configuration\n");
    Field("cpuSoftwareVersion",
          model::FormatText("%.1f",
                            static_cast<double>(model::SoftwareVersion(conf.cpuSoftwareVersion))));
    Field("dspSoftwareVersion",
          model::FormatText("%.1f",
                            static_cast<double>(model::SoftwareVersion(conf.dspSoftwareVersion))));
    Field("boardRevision", conf.boardRevision != '\0' ? std::string(1, conf.boardRevision) : "");
    Field("serialNumber", FieldString(conf.serialNumber));
    Field("systemFrequency", Int(conf.systemFrequency) + " (" +
                                 Text(model::FrequencyText(conf.systemFrequency)) + ")");
    Field("numberOfBeams", Int(conf.numberOfBeams));
    Field("beamGeometry", Text(model::BeamGeometryText(conf.beamGeometry)));
    Field("slantAngle",
          model::FormatText("%.1f deg",
                            static_cast<double>(model::SlantAngleDegrees(conf.slantAngle))));
    Field("sensorOrientation", Text(model::SensorOrientationText(conf.sensorOrientation)));
    Field("compassInstalled", Text(model::FlagText(conf.compassInstalled)));
    Field("recorderInstalled", Text(model::FlagText(conf.recorderInstalled)));
    Field("temperatureSensorInstalled", Text(model::FlagText(conf.temperatureSensorInstalled)));
    Field("pressureSensorInstalled", Text(model::FlagText(conf.pressureSensorInstalled)));
    Field("pressureScale",
          model::FormatText("%g dbar/count", model::PressureScaleDbarPerCount(conf.pressureScale)));
    Field("pressureOffset",
          model::FormatText("%g dbar", model::PressureOffsetDbar(conf.pressureOffset)));
    Field("pressureScale2",
          model::FormatText("%g pdbar/count^2",
                            model::PressureScale2PdbarPerCount2(conf.pressureScale2)));
    Field("extSensorInstalled", Text(model::FlagText(conf.extSensorInstalled)));
    Field("extPressureSensor", Text(model::ExtPressureSensorText(conf.extPressureSensor)));
    Field("ctdSensorInstalled", Text(model::FlagText(conf.ctdSensorInstalled)));
    const model::TransformationMatrix matrix(conf);
    for (int row = 0; row < matrix.size(); ++row) {
        std::string text;
        for (int column = 0; column < matrix.size(); ++column) {
            text += model::MatrixElementText(matrix.stored(row, column));
        }
        Field(row == 0 ? "transformationMatrix" : "", text);
    }
}

void PrintOperationConfiguration(const model::OperationConfiguration& oper) {
    Out("\nSensor Operation Configuration\n");
    const std::array<std::pair<const char*, std::uint16_t>, 13> words{{
        {"operWord12", oper.operWord12},
        {"operWord14", oper.operWord14},
        {"operWord16", oper.operWord16},
        {"operWord18", oper.operWord18},
        {"operWord20", oper.operWord20},
        {"operWord22", oper.operWord22},
        {"operWord24", oper.operWord24},
        {"operWord26", oper.operWord26},
        {"operWord28", oper.operWord28},
        {"operWord30", oper.operWord30},
        {"operWord32", oper.operWord32},
        {"operWord34", oper.operWord34},
        {"operWord36", oper.operWord36},
    }};
    for (const auto& [name, value] : words) {
        Field(name, Int(value));
    }
    Field("pulseLength", Metres(oper.pulseLength));
    Field("userPulseLag", Metres(oper.userPulseLag));
    Field("systemLag", Metres(oper.systemLag));
    Field("operByte59 (min correlation)", Int(oper.operByte59) + " %");
    Field("userResLag", Metres(oper.userResLag));
    Field("systemResLag", Metres(oper.systemResLag));
}

void PrintUserSetup(const model::UserSetup& user) {
    Out("\nUser Setup\n");
    const auto tenths = [](std::int16_t value, const char* unit) {
        return model::FormatText("%.1f %s", static_cast<double>(model::TenthsToUnits(value)), unit);
    };
    const auto interval = [&](std::uint16_t value) {
        return model::FormatText(
            "%g s", static_cast<double>(model::IntervalSeconds(value, user.pulseCoherentMode)));
    };
    Field("defaultTemperature", tenths(user.defaultTemperature, "degC"));
    Field("salinity", tenths(user.salinity, "ppt"));
    Field("soundSpeed", tenths(user.soundSpeed, "m/s"));
    Field("numberOfCells", Int(user.numberOfCells));
    Field("cellSize", Metres(user.cellSize));
    Field("blankingDistance", Metres(user.blankingDistance));
    Field("temperatureMode", Text(model::TemperatureModeText(user.temperatureMode)));
    Field("averagingInterval", interval(user.averagingInterval));
    Field("profilingInterval", interval(user.profilingInterval));
    Field("burstMode", Text(model::BurstModeText(user.burstMode)));
    Field("burstInterval", Int(user.burstInterval) + " s");
    Field("profilesPerBurst", Int(user.profilesPerBurst));
    Field("coordinateSystem", Text(model::CoordinateSystemText(user.coordinateSystem)));
    Field("outputMode", Text(model::OutputModeText(user.outputMode)));
    Field("recorderEnabled", Text(model::RecorderEnabledText(user.recorderEnabled)));
    Field("deploymentName", FieldString(user.deploymentName));
    Field("startDate", model::FormatText("%04d/%02d/%02d", user.startDate.year,
                                         user.startDate.month, user.startDate.day));
    Field("startTime", model::FormatText("%02d:%02d:%02d", user.startTime.hour,
                                         user.startTime.minute, user.startTime.second));
    Field("comment1", FieldString(user.comment1));
    Field("comment2", FieldString(user.comment2));
    Field("comment3", FieldString(user.comment3));
    Field("waveInterval", Int(user.waveInterval));
    Field("waveOptions", model::FormatText("0x%02X", user.waveOptions));
    Field("waveSamples", Int(user.waveSamples));
    Field("waveEnabled", Text(model::FlagText(user.waveEnabled)));
    Field("pulseCoherentMode", Text(model::FlagText(user.pulseCoherentMode)));
}

// A QPX as it comes back from the factory rather than a planning copy: calibrated, with its own
// serial number and firmware recent enough to report its lags.
sim::Scenario FactoryQpx(int frequencyIndex, bool sleeping) {
    sim::Scenario scenario =
        sleeping ? sim::SleepingScenario(frequencyIndex) : sim::QpxScenario(frequencyIndex);
    model::SystemConfiguration conf = planning::MakeDefaultSystemConfiguration(frequencyIndex);
    conf.cpuSoftwareVersion = 17;
    conf.dspSoftwareVersion = 12;
    conf.serialNumber = {'Q', '1', '0', '1', '7'};
    conf.compassInstalled = 1;
    conf.transformationMatrix = {1615, -808, -808, 0, -1399, 1399, 377, 377, 377};
    conf.pressureScale = 2046;
    conf.pressureOffset = 250;
    conf.pressureScale2 = -5;
    scenario.systemConfiguration = conf;

    model::OperationConfiguration oper =
        planning::MakeDefaultOperationConfiguration(frequencyIndex);
    oper.pulseLength = 50;
    oper.userPulseLag = 120;
    oper.systemLag = 118;
    oper.operByte59 = 50;
    oper.userResLag = 40;
    oper.systemResLag = 42;
    scenario.operationConfiguration = oper;
    return scenario;
}

struct Options {
    int frequencyIndex = 1;
    bool sleeping = false;
};

std::optional<Options> ParseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--sleeping") {
            options.sleeping = true;
        } else if (arg == "--frequency" && i + 1 < argc) {
            const std::optional<long long> index = model::ParseInteger(argv[++i]);
            if (!index || *index < 0 || *index > 7) {
                return std::nullopt;
            }
            options.frequencyIndex = static_cast<int>(*index);
        } else {
            return std::nullopt;
        }
    }
    return options;
}

} // namespace

int main(int argc, char** argv) {
    const std::optional<Options> options = ParseOptions(argc, argv);
    if (!options) {
        std::fputs(
            "usage: qpx-demo [--frequency N] [--sleeping]   (N: 0 = 3000 kHz ... 7 = 125 kHz)\n",
            stderr);
        return 2;
    }

    sim::SimulatedLine line(FactoryQpx(options->frequencyIndex, options->sleeping));
    StderrMessageSink messages;
    // The command log goes where the program keeps it: "LogFile" in the current directory.
    link::Link link = line.link(messages, std::filesystem::current_path());
    const std::int64_t started = line.clock().nowMs();

    Step("Waking up System");
    const int systemType = link::WakeAndIdentify(link);
    if (!link::IsServedSystem(systemType)) {
        Out(model::FormatText("Failed (system type %d)\n", systemType));
        return 1;
    }
    Out("Success\n");

    Step("Get System Configuration");
    std::array<std::uint8_t, model::kSystemConfigurationSize> confBytes{};
    int confLength = 0;
    if (link::FetchStructure(link, "Get CONF", confBytes, &confLength) != 1) {
        Out("Failed\n");
        return 1;
    }
    const auto conf = model::CopyReceivedSystemConfiguration(
        std::span<const std::uint8_t>(confBytes.data(), static_cast<std::size_t>(confLength)));
    if (!conf.ok()) {
        Out("Failed\n");
        messages.showMessage(conf.error());
        return 1;
    }
    Out("Success\n");

    Step("Get Sensor Operation Config");
    std::array<std::uint8_t, model::kOperationConfigurationWireSize> operBytes{};
    if (link::FetchStructure(link, "Get OPER", operBytes) != 1) {
        messages.showMessage("Failed to get the Qpx Operation Configuration");
        Out("Failed\n");
        return 1;
    }
    const auto oper =
        model::WidenOperationConfiguration(operBytes, conf.value().cpuSoftwareVersion);
    if (!oper.ok()) {
        Out("Failed\n");
        messages.showMessage(oper.error());
        return 1;
    }
    Out("Success\n");

    Step("Get User Setup");
    std::array<std::uint8_t, model::kUserSetupSize> userBytes{};
    if (link::FetchStructure(link, "Get USER", userBytes) != 1) {
        Out("Failed\n");
        return 1;
    }
    const auto user = model::DecodeUserSetup(userBytes);
    if (!user.ok()) {
        Out("Failed\n");
        messages.showMessage(user.error());
        return 1;
    }
    Out("Success\n");
    const std::int64_t tookMs = line.clock().nowMs() - started;

    Out(systemType == link::kSystemQpx ? "\nQPX found\n" : "\nMerovane found\n");
    PrintSystemConfiguration(conf.value());
    PrintOperationConfiguration(oper.value());
    PrintUserSetup(user.value());
    Out(model::FormatText("\nVirtual time of the exchange: %.3f s\n",
                          static_cast<double>(tookMs) / 1000.0));
    return 0;
}
