#include "fuzz/Harnesses.h"
#include "fuzz/support/FuzzInput.h"
#include "instrument/HardwareConfigView.h"
#include "instrument/PcQpxSettings.h"
#include "model/OperationConfiguration.h"
#include "model/SystemConfiguration.h"
#include "model/UserSetup.h"
#include "planning/DefaultStructures.h"
#include "planning/DeploymentPlanner.h"

#include <algorithm>
#include <cmath>

namespace qpx::fuzz {
namespace {

// The first input byte: which decoder, the unit system, the version value and the waves option.
struct Choice {
    int decoder;
    int unitSystem;
    std::uint8_t version;
    int wavesOption;
};

Choice ChoiceOf(std::uint8_t byte) {
    return {byte % 3, (byte >> 2) & 1, static_cast<std::uint8_t>((byte & 0x08) != 0 ? 16 : 15),
            (byte >> 4) % 3};
}

void CheckPlannerTexts(const planning::DeploymentPlanner& planner) {
    for (const std::string* text :
         {&planner.rangeText(), &planner.capacityText(), &planner.powerDrawText(),
          &planner.powerText(), &planner.freeSpaceText(), &planner.averagingText(),
          &planner.profilingText(), &planner.cellSizeText(), &planner.blankingText()}) {
        Require(!ShowsNonNumber(*text), "the planner shows inf or nan for received values");
    }
    if (planner.freeSpaceDays()) {
        Require(std::isfinite(*planner.freeSpaceDays()) && *planner.freeSpaceDays() >= 0.0f,
                "free-space days not a finite count");
    }
}

void CheckPcQpxTexts(const instrument::PcQpxSettings& settings) {
    for (const std::string* text :
         {&settings.pulseLengthText(), &settings.userPulseLagText(), &settings.userResLagText(),
          &settings.systemLagText(), &settings.systemResLagText(),
          &settings.maxVerticalVelocityText(), &settings.maxHorizontalVelocityText(),
          &settings.minCorrLevelText()}) {
        Require(!ShowsNonNumber(*text), "the PC-QPX view shows inf or nan");
    }
}

// Opens the planner and the PC-QPX view on a downloaded set of structures, as the connected
// setup does.
void ShowDownloaded(const model::SystemConfiguration& conf, const model::UserSetup& user,
                    const model::OperationConfiguration& oper, const Choice& choice) {
    planning::PlannerInputs inputs;
    inputs.system = conf;
    inputs.user = user;
    inputs.operation = oper;
    inputs.unitSystem = choice.unitSystem;
    inputs.wavesOption = choice.wavesOption;
    inputs.recorder = {64 * 1024 * 1024, 1024 * 1024};
    planning::DeploymentPlanner planner;
    planner.open(inputs);
    CheckPlannerTexts(planner);
    const instrument::PcQpxSettings settings(choice.unitSystem, conf, user, oper);
    CheckPcQpxTexts(settings);
}

void DecodeSystem(std::span<const std::uint8_t> block, const Choice& choice) {
    const auto decoded = model::DecodeSystemConfiguration(block);
    if (decoded.ok()) {
        const auto bytes = model::Encode(decoded.value());
        Require(std::equal(bytes.begin(), bytes.end(), block.begin(), block.end()),
                "a system configuration does not encode back to its bytes");
    } else {
        Require(!decoded.error().empty(), "a refused configuration without a reason");
    }
    const auto copied = model::CopyReceivedSystemConfiguration(block);
    if (!copied.ok()) {
        return;
    }
    Require(block.size() == model::kSystemConfigurationSize ||
                block.size() == model::kSystemConfigurationLegacySize,
            "a configuration of another size was copied");
    const auto& conf = copied.value();
    Require(conf.systemFrequency < 8 && conf.numberOfBeams >= 2 && conf.numberOfBeams <= 4,
            "a copied configuration that indexes outside its tables");
    const auto view = instrument::MakeHardwareConfigView(conf, choice.wavesOption);
    for (const auto& field : view.fields) {
        // The serial number and board letter are the instrument's own text, not numbers.
        const bool text = field.controlId == instrument::kSerialNumberId ||
                          field.controlId == instrument::kBoardRevisionId;
        Require(text || !ShowsNonNumber(field.text), "the hardware view shows inf or nan");
    }
    for (const auto& entry : view.matrix.entries) {
        Require(!ShowsNonNumber(entry), "the matrix shows inf or nan");
    }
    ShowDownloaded(conf, planning::MakeDefaultUserSetup(conf.systemFrequency),
                   planning::MakeDefaultOperationConfiguration(conf.systemFrequency), choice);
}

void DecodeUser(std::span<const std::uint8_t> block, const Choice& choice) {
    const auto decoded = model::DecodeUserSetup(block);
    if (!decoded.ok()) {
        Require(!decoded.error().empty(), "a refused user setup without a reason");
        return;
    }
    const auto bytes = model::Encode(decoded.value());
    Require(std::equal(bytes.begin(), bytes.end(), block.begin(), block.end()),
            "a user setup does not encode back to its bytes");
    // The frequency comes from the user setup's own bytes, so every table row is reached.
    const int frequency = block[0x20] % 8;
    ShowDownloaded(planning::MakeDefaultSystemConfiguration(frequency), decoded.value(),
                   planning::MakeDefaultOperationConfiguration(frequency), choice);
}

void DecodeOperation(std::span<const std::uint8_t> block, const Choice& choice) {
    const auto decoded = model::DecodeOperationConfiguration(block);
    if (decoded.ok()) {
        const auto bytes = model::Encode(decoded.value());
        Require(std::equal(bytes.begin(), bytes.end(), block.begin(), block.end()),
                "an operation configuration does not encode back to its bytes");
    }
    const auto widened = model::WidenOperationConfiguration(block, choice.version);
    if (!widened.ok()) {
        return;
    }
    Require(block.size() == model::kOperationConfigurationWireSize,
            "an operation configuration of another size was widened");
    const auto& oper = widened.value();
    Require(oper.pulseLength <= 0xFFFF && oper.userResLag <= 0xFFFF && oper.systemLag <= 0xFFFF,
            "a widened field beyond 16 bits");
    if (choice.version < model::kSystemLagMinimumVersion) {
        Require(oper.systemLag == 0 && oper.systemResLag == 0,
                "system lags taken from older firmware");
    }
    const int frequency = block[12] % 8;
    auto user = planning::MakeDefaultUserSetup(frequency);
    user.pulseCoherentMode = 1;
    ShowDownloaded(planning::MakeDefaultSystemConfiguration(frequency), user, oper, choice);
}

} // namespace

int StructureDecodersFuzz::FuzzOne(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const Choice choice = ChoiceOf(data[0]);
    const std::span<const std::uint8_t> block(data + 1, size - 1);
    switch (choice.decoder) {
    case 0:
        DecodeSystem(block, choice);
        break;
    case 1:
        DecodeUser(block, choice);
        break;
    default:
        DecodeOperation(block, choice);
        break;
    }
    return 0;
}

} // namespace qpx::fuzz
