#pragma once

#include "link/Clock.h"
#include "model/FieldTexts.h"
#include "planning/AdvancedSettings.h"
#include "planning/Checked.h"
#include "planning/DeploymentValidation.h"
#include "planning/DeploymentValues.h"
#include "planning/DialogMessage.h"
#include "planning/Endurance.h"
#include "planning/LiveChecks.h"
#include "planning/ProfileAssistant.h"
#include "planning/WavesSettings.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qpx::planning {

// Model of the DeploymentDialog (template 162, "System Deployment"): one object for the whole run,
// reopened with open() for every plan, in either mode. It holds the dialog's values, reacts to
// its events and exposes every shown value as the exact text the dialog shows; a front end only
// binds controls to it.
//
// Text events: forward the user's edits only (Qt: textEdited, not textChanged), with the box's
// whole new text. Each returns the live-check message to show, if any; the box keeps the text
// typed, the planner the previous value.
//
// Lengths in English units are shown in feet truncated to two decimals; the exact metre value
// behind such a box is kept until the user types into it, so an untouched plan goes back to the
// instrument exactly as it came.
class DeploymentPlanner {
public:
    static constexpr int kDeployId = 1;
    static constexpr int kStartDateTimeId = 1041;
    static constexpr int kCoordinateId = 1036;
    static constexpr int kRangeTextId = 1276;
    static constexpr int kOutputModeId = 1002;
    static constexpr int kRecorderEnabledId = 1032;
    static constexpr int kBatteryTypeId = 1012;
    static constexpr int kCapacityId = 1020;
    static constexpr int kPowerDrawId = 1022;
    static constexpr int kPowerTextId = 1024;
    static constexpr int kFreeSpaceTextId = 1010;
    static constexpr int kCellSizeLabelId = 1192;
    static constexpr int kBlankingLabelId = 1193;
    static constexpr int kAdvancedButtonId = 1006;
    static constexpr int kWavesButtonId = 1011;
    static constexpr int kPcQpxButtonId = 1007;
    static constexpr int kHardwareButtonId = 1025;
    static constexpr int kRecorderButtonId = 1035;
    static constexpr int kSystemTimeButtonId = 1027;
    static constexpr int kAssistantButtonId = 1285;

    static constexpr std::array<std::string_view, 2> kOutputModeList = model::kOutputModeTexts;
    static constexpr std::array<std::string_view, 2> kRecorderEnabledList =
        model::kRecorderEnabledTexts;
    // The date-time control's display format.
    static constexpr const char* kDateTimeFormat = "yyyy'/'MM'/'dd',  'HH':'mm':'ss";

    DeploymentPlanner() = default;

    // Loads everything from the inputs, in the dialog's order of initialisation, except the
    // battery pack type and number of packs, which keep their values from the last opening.
    // `now` is the date-time control's own default, kept in planning mode (the UserSetup's start
    // time is used in connected mode).
    void open(const PlannerInputs& inputs, const link::CalendarTime& now = {});

    // Text events (see the class comment).
    void fileNameChanged(std::string text);
    void commentChanged(int index, std::string text); // index 0..2
    // Any checked box; the named events below are this for their box.
    std::optional<DialogMessage> boxEdited(CheckedBox box, std::string text);
    std::optional<DialogMessage> averagingIntervalChanged(std::string text);
    std::optional<DialogMessage> profilingIntervalChanged(std::string text);
    std::optional<DialogMessage> cellsChanged(std::string text);
    std::optional<DialogMessage> cellSizeChanged(std::string text);
    std::optional<DialogMessage> blankingChanged(std::string text);
    std::optional<DialogMessage> batteryPacksChanged(std::string text);
    // Selection events.
    void batteryTypeSelected(int index);
    void coordinateSelected(int index);
    void outputModeSelected(int index);
    void setStartTime(const link::CalendarTime& start);

    // Sub-dialogs. Each is opened on copies of what these give and closed through the matching
    // ...Closed(), with the values on OK or nothing on Cancel.
    model::UnitSystem unitSystem() const { return inputs_.unitSystem; }
    int wavesOption() const { return inputs_.wavesOption; }
    const AdvancedBlock& advancedBlock() const { return advanced_; }
    const WaveBlock& waveBlock() const { return waves_; }
    float averagingInterval() const { return decimalValue(CheckedBox::Averaging); }
    float profilingInterval() const { return decimalValue(CheckedBox::Profiling); }
    // The last accepted values of the other checked boxes (lengths in the display unit).
    int cells() const { return integerValue(CheckedBox::Cells); }
    float cellSize() const { return decimalValue(CheckedBox::CellSize); }
    float blanking() const { return decimalValue(CheckedBox::Blanking); }
    int batteryPacks() const { return integerValue(CheckedBox::BatteryPacks); }
    // The sub-dialog models, opened on copies of the planner's values.
    AdvancedSettings advancedSettings() const { return AdvancedSettings(unitSystem(), advanced_); }
    WavesSettings wavesSettings() const {
        return WavesSettings(wavesOption(), averagingInterval(), profilingInterval(), waves_);
    }
    void advancedSettingsClosed(const std::optional<AdvancedBlock>& accepted);
    void wavesSettingsClosed(const std::optional<WaveBlock>& accepted);
    // The PC-QPX dialog hands its three structures back however it closes.
    const model::SystemConfiguration& systemConfiguration() const { return inputs_.system; }
    const model::UserSetup& userSetup() const { return inputs_.user; }
    const model::OperationConfiguration& operationConfiguration() const {
        return inputs_.operation;
    }
    void pcQpxSettingsClosed(const model::SystemConfiguration& system, const model::UserSetup& user,
                             const model::OperationConfiguration& operation);
    // The recorder dialog read the directory again (and may have formatted the card).
    void recorderDetailsClosed(const RecorderSpace& recorder);
    // The card's capacity and used space the estimate works from (the download's, then each
    // recorder dialog's); the recorder dialog starts from it.
    const RecorderSpace& recorder() const { return inputs_.recorder; }

    // The profile assistant the planner owns; the front end forwards its events to it directly.
    ProfileAssistant& assistant() { return assistant_; }
    const ProfileAssistant& assistant() const { return assistant_; }
    // Button 1285: toggles the assistant; returns the first slide timer delay (ms).
    int toggleAssistant();
    std::string assistantButtonText() const { return assistant_.toggleButtonText(); }
    // "Transfer Values            >>>": the suggestion goes into the cells, cell size and
    // blanking boxes as if typed there, with their estimates; or the assistant's message.
    std::optional<DialogMessage> transferFromAssistant();

    // "&Deploy": the plan that passed, or the first failed check. Also runs in planning mode,
    // where the button is disabled, with the planning recorder size as the recorder's room.
    using DeployResult = Checked<AcceptedPlan>;
    DeployResult deploy();

    // The deployment review's own values, kept from one opening to the next like the battery
    // settings (they are no instrument's): the planned duration in days, empty for none, and the
    // operator's remarks. A duration that is not a number from kMinPlannedDays to
    // kMaxPlannedDays is refused with kPlannedDurationMessage and the last one kept.
    static constexpr double kMinPlannedDays = 0.01;
    static constexpr double kMaxPlannedDays = 3650.0;
    static constexpr std::string_view kPlannedDurationMessage =
        "Planned duration must be a number of days from 0.01 to 3650.";
    std::optional<DialogMessage> plannedDurationChanged(std::string text);
    const std::string& plannedDurationText() const { return plannedDurationText_; }
    std::optional<double> plannedDays() const { return plannedDays_; }
    void setOperatorRemarks(std::string text) { remarks_ = std::move(text); }
    const std::string& operatorRemarks() const { return remarks_; }
    // The instrument's clock as last read while this plan was open; open() forgets it.
    void noteClockReading(const ClockReading& reading) { clockReading_ = reading; }
    // The clock was set since: the last reading no longer tells how it stands.
    void forgetClockReading() { clockReading_.reset(); }
    const std::optional<ClockReading>& clockReading() const { return clockReading_; }

    // Shown texts.
    const std::string& fileNameText() const { return fileName_; }
    const std::string& commentText(int index) const; // index 0..2
    std::string startDateTimeText() const;
    const link::CalendarTime& startTime() const { return start_; }
    const std::string& boxText(CheckedBox box) const { return edit(box).text; }
    const std::string& averagingText() const { return boxText(CheckedBox::Averaging); }
    const std::string& profilingText() const { return boxText(CheckedBox::Profiling); }
    const std::string& cellsText() const { return boxText(CheckedBox::Cells); }
    const std::string& cellSizeText() const { return boxText(CheckedBox::CellSize); }
    const std::string& blankingText() const { return boxText(CheckedBox::Blanking); }
    const std::string& batteryPacksText() const { return boxText(CheckedBox::BatteryPacks); }
    std::string cellSizeLabel() const;
    std::string blankingLabel() const;
    const std::string& rangeText() const { return rangeText_; }
    const std::string& capacityText() const { return capacityText_; }
    const std::string& powerDrawText() const { return powerDrawText_; }
    const std::string& powerText() const { return powerText_; }
    const std::string& freeSpaceText() const { return freeSpaceText_; }
    std::optional<float> freeSpaceDays() const { return freeSpaceDays_; }

    // Combo boxes: entries and the selected position (-1 when the held index has no entry).
    // The coordinate systems a plan may newly choose: "     ENU" only with a compass.
    std::vector<std::string_view> coordinateList() const;
    // What the coordinate combo shows: coordinateList() and, when the instrument holds ENU
    // without a compass (the default UserSetup does), "     ENU" after it, so the box shows the
    // held value instead of nothing. Picking that entry keeps the held value; only picking
    // another one changes what is uploaded.
    std::vector<std::string_view> coordinateEntries() const;
    int coordinateSelection() const; // position in coordinateEntries()
    int outputModeSelection() const;
    int recorderEnabledSelection() const;
    static std::vector<std::string_view> batteryTypeList();
    int batteryTypeSelection() const { return batteryType_; }

    // Enabled controls.
    bool deployEnabled() const { return !inputs_.planning; }
    bool plainFieldsEnabled() const { return !inputs_.planning; } // file name, date, comments
    bool coordinateEnabled() const { return !inputs_.planning && !pulseCoherent_; }
    bool outputModeEnabled() const { return !inputs_.planning; }
    static bool recorderEnabledEnabled() { return false; }
    bool instrumentButtonsEnabled() const { return !inputs_.planning; } // recorder, hardware, time
    bool pcQpxEnabled() const { return pulseCoherent_; }
    bool wavesEnabled() const {
        return inputs_.wavesOption != static_cast<int>(model::WavesOption::None);
    }

    bool metric() const { return model::IsMetric(inputs_.unitSystem); }
    bool pulseCoherent() const { return pulseCoherent_; }
    bool planning() const { return inputs_.planning; }
    // What the two endurance estimates are computed from, as planned now.
    FreeSpaceInputs freeSpaceInputs() const;
    PowerInputs powerInputs() const;
    // Planning mode: the recorder size chosen, in bytes, the room the estimates work from.
    std::int64_t planningRecorderBytes() const { return inputs_.planningRecorderBytes; }

private:
    // A checked box's text and the reading it last accepted, held in a double, which keeps the
    // int and float readings exactly; for a length (in the display unit), also the exact metres
    // behind it while nobody typed into it.
    struct CheckedEdit {
        double value = 0.0;
        std::string text;
        std::optional<float> exactMetres;
    };
    using CheckedEdits = std::array<CheckedEdit, kCheckedBoxCount>;

    static CheckedEdits FreshEdits();
    CheckedEdit& edit(CheckedBox box) { return edits_[static_cast<std::size_t>(box)]; }
    const CheckedEdit& edit(CheckedBox box) const { return edits_[static_cast<std::size_t>(box)]; }
    float decimalValue(CheckedBox box) const { return static_cast<float>(edit(box).value); }
    int integerValue(CheckedBox box) const { return static_cast<int>(edit(box).value); }
    void setValue(CheckedBox box, double value) { edit(box).value = value; }

    void loadLength(CheckedBox box, std::uint16_t centimetres);
    // boxEdited() without the unchanged-text guard, for the assistant's transfer.
    std::optional<DialogMessage> applyEdit(CheckedBox box, std::string text);
    void recompute(std::uint8_t recomputes);
    void updateRangeText();
    float profileEnd() const;
    void computeFreeSpace();
    void computePower();
    DeploymentScreen screen() const;
    void takeEntries(const DeploymentEntries& entries);
    std::int64_t recorderSpace() const;
    ValidationContext validationContext() const;
    AcceptedPlan acceptedPlan(const ValidatedValues& values) const;

    PlannerInputs inputs_;
    bool pulseCoherent_ = false;
    std::string fileName_;
    std::array<std::string, 3> comments_;
    link::CalendarTime start_;
    int coordinate_ = 0;
    int heldCoordinate_ = 0; // as opened, shown even when not offered
    int outputMode_ = 0;
    int recorderEnabled_ = 1;
    AdvancedBlock advanced_;
    WaveBlock waves_;
    // The battery pack type, and the number of packs among the edits, are kept from one opening
    // to the next.
    int batteryType_ = 0;
    CheckedEdits edits_ = FreshEdits();

    std::string rangeText_;
    std::string capacityText_;
    std::string powerDrawText_;
    std::string powerText_;
    std::string freeSpaceText_;
    std::optional<float> freeSpaceDays_;
    ProfileAssistant assistant_;
    std::string plannedDurationText_;
    std::optional<double> plannedDays_;
    std::string remarks_;
    std::optional<ClockReading> clockReading_;
};

} // namespace qpx::planning
