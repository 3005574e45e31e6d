#include "fuzz/Harnesses.h"
#include "fuzz/support/FuzzInput.h"
#include "fuzz/support/ModelMessages.h"
#include "instrument/PcQpxSettings.h"
#include "instrument/SystemTimeDialogModel.h"
#include "link/CalendarMath.h"
#include "planning/AdvancedSettings.h"
#include "planning/DefaultStructures.h"
#include "planning/DeploymentPlanner.h"
#include "planning/WavesSettings.h"

#include <array>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>

namespace qpx::fuzz {
namespace {

void CheckMessage(const std::optional<planning::DialogMessage>& message) {
    if (!message) {
        return;
    }
    Require(!ShowsNonNumber(message->text), "a message shows inf or nan");
    Require(MatchesAnyFormat(message->text, ModelMessages()),
            "a message that is not one of the system's own");
}

void CheckShown(std::string_view text) {
    Require(!ShowsNonNumber(text), "a shown value is inf or nan");
}

// The values the planner computes itself must always read as numbers.
void CheckPlanner(const planning::DeploymentPlanner& planner) {
    for (const std::string* text :
         {&planner.rangeText(), &planner.capacityText(), &planner.powerDrawText(),
          &planner.powerText(), &planner.freeSpaceText()}) {
        CheckShown(*text);
    }
    if (planner.freeSpaceDays()) {
        Require(std::isfinite(*planner.freeSpaceDays()) && *planner.freeSpaceDays() >= 0.0f,
                "free-space days not a finite count");
    }
    Require(std::isfinite(planner.averagingInterval()) &&
                std::isfinite(planner.profilingInterval()),
            "an interval held as inf or nan");
    const auto& assistant = planner.assistant();
    CheckShown(assistant.cellsText());
    CheckShown(assistant.cellSizeText());
    CheckShown(assistant.blankingText());
    CheckShown(assistant.rangeText());
}

void CheckPlan(const planning::AcceptedPlan& plan, bool pulseCoherent) {
    const float low = pulseCoherent ? 0.5f : 1.0f;
    const float high = pulseCoherent ? 3600.0f : 43200.0f;
    Require(plan.averagingInterval >= low && plan.averagingInterval <= high &&
                plan.profilingInterval >= low && plan.profilingInterval <= high &&
                plan.averagingInterval <= plan.profilingInterval,
            "a deployed plan with intervals outside their limits");
    Require(plan.cells >= 1 && plan.cells <= 100, "a deployed plan with a cell count out of range");
    Require(std::isfinite(plan.cellSize) && plan.cellSize > 0.0f && std::isfinite(plan.blanking) &&
                plan.blanking > 0.0f,
            "a deployed plan with a length that is not a length");
    Require(!plan.fileName.empty() && plan.fileName.size() <= 5, "a deployed file name too long");
    for (const auto& comment : plan.comments) {
        Require(comment.size() <= 59, "a deployed comment too long");
    }
}

// The fuzz input as a stream of events: one id byte, then the event's text up to a NUL.
class EventReader {
public:
    EventReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool next(int& id, std::string& text) {
        if (at_ >= size_) {
            return false;
        }
        id = data_[at_++];
        text.clear();
        while (at_ < size_ && data_[at_] != 0) {
            text.push_back(static_cast<char>(data_[at_++]));
        }
        ++at_;
        return true;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

int IndexOf(const std::string& text) {
    return text.empty() ? -1 : static_cast<signed char>(text[0]) % 4;
}

} // namespace

int ModelEventsFuzz::FuzzOne(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    // Two set-up bytes: unit system, mode, waves option, PC-QPX flag and frequency.
    const int unitSystem = data[0] & 1;
    const bool planning = (data[0] & 2) != 0;
    const int wavesOption = (data[0] >> 2) % 3;
    const bool pulseCoherent = (data[0] & 0x10) != 0;
    const int frequency = data[1] % 8;

    planning::PlannerInputs inputs;
    inputs.system = planning::MakeDefaultSystemConfiguration(frequency);
    inputs.user = planning::MakeDefaultUserSetup(frequency);
    inputs.operation = planning::MakeDefaultOperationConfiguration(frequency);
    planning::ApplyWavesOption(inputs.user, wavesOption);
    inputs.user.pulseCoherentMode = pulseCoherent ? 1 : 0;
    inputs.unitSystem = unitSystem;
    inputs.wavesOption = wavesOption;
    inputs.planning = planning;
    inputs.planningRecorderBytes = 64ll * 1048576;
    inputs.recorder = {static_cast<std::int64_t>(data[1]) * 1048576, 65536};

    planning::DeploymentPlanner planner;
    planner.open(inputs, {2001, 7, 4, 9, 0, 0});
    CheckPlanner(planner);

    std::optional<planning::AdvancedSettings> advanced;
    std::optional<planning::WavesSettings> waves;
    std::optional<instrument::PcQpxSettings> pcQpx;
    std::optional<instrument::SystemTimeDialogModel> clock;

    EventReader events(data + 2, size - 2);
    int id = 0;
    std::string text;
    while (events.next(id, text)) {
        switch (id % 40) {
        case 0:
            planner.fileNameChanged(text);
            break;
        case 1:
        case 2:
        case 3:
            planner.commentChanged(id % 40 - 1, text);
            break;
        case 4:
            CheckMessage(planner.averagingIntervalChanged(text));
            break;
        case 5:
            CheckMessage(planner.profilingIntervalChanged(text));
            break;
        case 6:
            CheckMessage(planner.cellsChanged(text));
            break;
        case 7:
            CheckMessage(planner.cellSizeChanged(text));
            break;
        case 8:
            CheckMessage(planner.blankingChanged(text));
            break;
        case 9:
            CheckMessage(planner.batteryPacksChanged(text));
            break;
        case 10:
            planner.batteryTypeSelected(IndexOf(text));
            break;
        case 11:
            planner.coordinateSelected(IndexOf(text));
            break;
        case 12:
            planner.outputModeSelected(IndexOf(text));
            break;
        case 13:
            planner.toggleAssistant();
            break;
        case 14:
            CheckMessage(planner.assistant().maximumRangeChanged(text));
            break;
        case 15:
            CheckMessage(planner.transferFromAssistant());
            break;
        case 16: {
            const auto result = planner.deploy();
            Require(result.value.has_value() != result.message.has_value(),
                    "a deploy with neither a plan nor a message, or both");
            CheckMessage(result.message);
            if (result.value) {
                CheckPlan(*result.value, pulseCoherent);
            }
            break;
        }
        // The advanced settings dialog, on a copy of the planner's values.
        case 17:
            advanced.emplace(planner.advancedSettings());
            break;
        case 18:
            if (advanced) {
                advanced->temperatureTextChanged(text);
                CheckMessage(advanced->temperatureFocusLost());
                CheckShown(advanced->soundSpeedText());
            }
            break;
        case 19:
            if (advanced) {
                advanced->salinityTextChanged(text);
                CheckMessage(advanced->salinityFocusLost());
                CheckShown(advanced->soundSpeedText());
            }
            break;
        case 20:
            if (advanced) {
                advanced->burstIntervalTextChanged(text);
            }
            break;
        case 21:
            if (advanced) {
                advanced->profilesPerBurstTextChanged(text);
            }
            break;
        case 22:
            if (advanced) {
                advanced->temperatureModeSelected(IndexOf(text));
                CheckMessage(
                    advanced->burstModeSelected(IndexOf(text.substr(text.empty() ? 0 : 1))));
            }
            break;
        case 23:
            if (advanced) {
                const auto result = advanced->ok();
                CheckMessage(result.message);
                if (result.value) {
                    Require(std::isfinite(result.value->temperatureC) &&
                                result.value->temperatureC >= -5.0f &&
                                result.value->temperatureC <= 50.0f,
                            "an accepted temperature outside -5 to 50 deg C");
                    Require(result.value->salinity >= 0.0f && result.value->salinity <= 60.0f,
                            "an accepted salinity outside 0 to 60");
                    Require(result.value->profilesPerBurst >= 1 &&
                                result.value->profilesPerBurst <= 1000,
                            "accepted profiles per burst outside 1 to 1000");
                }
                planner.advancedSettingsClosed(result.value);
                advanced.reset();
                CheckPlanner(planner);
            }
            break;
        // The waves settings dialog.
        case 24:
            waves.emplace(planner.wavesSettings());
            CheckMessage(waves->openingMessage());
            break;
        case 25:
            if (waves) {
                waves->recordEveryTextChanged(text);
            }
            break;
        case 26:
            if (waves) {
                CheckMessage(waves->lengthTextChanged(text));
                CheckShown(waves->durationText());
            }
            break;
        case 27:
            if (waves) {
                CheckMessage(waves->rateSelected(IndexOf(text)));
                waves->typeSelected(IndexOf(text.substr(text.empty() ? 0 : 1)));
            }
            break;
        case 28:
            if (waves) {
                const auto result = waves->ok();
                CheckMessage(result.message);
                if (result.value) {
                    Require(result.value->recordEvery >= 0 && result.value->recordEvery <= 255 &&
                                result.value->length >= 1 && result.value->length <= 4096,
                            "accepted wave settings outside their ranges");
                }
                planner.wavesSettingsClosed(result.value);
                waves.reset();
                CheckPlanner(planner);
            }
            break;
        // The PC-QPX dialog, in planning mode: checks only, nothing to send.
        case 29:
            pcQpx.emplace(unitSystem, planner.systemConfiguration(), planner.userSetup(),
                          planner.operationConfiguration());
            break;
        case 30:
            if (pcQpx) {
                pcQpx->pulseLengthChanged(text);
            }
            break;
        case 31:
            if (pcQpx) {
                pcQpx->userPulseLagChanged(text);
            }
            break;
        case 32:
            if (pcQpx) {
                pcQpx->userResLagChanged(text);
            }
            break;
        case 33:
            if (pcQpx) {
                const auto update = pcQpx->update();
                Require(update.value.has_value() != update.message.has_value(),
                        "a PC-QPX update with neither values nor a message, or both");
                CheckMessage(update.message);
                CheckMessage(pcQpx->readFields());
                planner.pcQpxSettingsClosed(pcQpx->systemConfiguration(), pcQpx->userSetup(),
                                            pcQpx->operationConfiguration());
                pcQpx.reset();
                CheckPlanner(planner);
            }
            break;
        // The system time dialog: the date-time control set from the text's bytes.
        case 34: {
            const auto at = [&](std::size_t i) {
                return i < text.size() ? static_cast<unsigned char>(text[i]) : 0;
            };
            const link::CalendarTime instrument = link::CalendarFromSeconds(
                static_cast<std::int64_t>(at(0) | (at(1) << 8) | (at(2) << 16) | (at(3) << 24)));
            clock.emplace(link::CalendarTime{2001, 7, 4, 9, 0, 0}, instrument);
            for (const std::string* shown :
                 {&clock->computerTimeText(), &clock->instrumentTimeText(),
                  &clock->differenceText()}) {
                CheckShown(*shown);
            }
            break;
        }
        case 35:
            if (clock) {
                if (!text.empty() && (text[0] & 1) != 0) {
                    clock->selectManual();
                } else {
                    clock->selectAuto();
                }
                Require(clock->dateTimeEnabled() ==
                            (clock->mode() == operations::ClockMode::Manual),
                        "the date-time control enabled in the wrong mode");
            }
            break;
        case 36:
            planner.recorderDetailsClosed(
                {static_cast<std::int64_t>(text.size()) * 1048576, static_cast<std::int64_t>(id)});
            break;
        default:
            planner.open(inputs, {2001, 7, 4, 9, 0, 0});
            break;
        }
        CheckPlanner(planner);
    }
    return 0;
}

} // namespace qpx::fuzz
