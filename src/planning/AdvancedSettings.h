#pragma once

#include "planning/Checked.h"
#include "planning/DeploymentValues.h"
#include "planning/DialogMessage.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace qpx::planning {

// Model of the AdvancedSettingsDialog (template 131, "Advanced Settings"): water properties for
// the speed of sound and the burst scheme. It works on its own copy of the planner's
// AdvancedBlock and hands it back only from a successful ok().
//
// The front end forwards every text change of an edit (the model keeps the texts as the screen
// shows them), every selection change and the focus-lost events, and shows the returned message.
// A value whose box still shows the text it was opened with goes back exactly as it came: an
// untouched 20.0 degC shown as 68 degF in English units is not sent through the F->C conversion.
class AdvancedSettings {
public:
    static constexpr int kTemperatureModeId = 1295;
    static constexpr int kTemperatureId = 1006;
    static constexpr int kSalinityId = 1009;
    static constexpr int kSoundSpeedId = 1011;
    static constexpr int kBurstModeId = 1040;
    static constexpr int kBurstIntervalId = 1020;
    static constexpr int kProfilesPerBurstId = 1017;
    static constexpr int kTemperatureLabelId = 1260;
    static constexpr int kSoundSpeedLabelId = 1261;

    static constexpr std::array<std::string_view, 2> kTemperatureModeList{"     User", " Measured"};
    static constexpr std::array<std::string_view, 2> kBurstModeList{" DISABLED", "  ENABLED"};

    // `block` holds the temperature in degrees Celsius whatever the unit system.
    AdvancedSettings(model::UnitSystem unitSystem, const AdvancedBlock& block);

    // Events.
    void temperatureModeSelected(int index);
    // Also applies the enabling rule; then reads the screen like a focus change.
    std::optional<DialogMessage> burstModeSelected(int index);
    void temperatureTextChanged(std::string text);
    void salinityTextChanged(std::string text);
    void burstIntervalTextChanged(std::string text);
    void profilesPerBurstTextChanged(std::string text);
    // Edits 1006 and 1009 lost the focus: read the screen and show the new speed of sound.
    std::optional<DialogMessage> temperatureFocusLost();
    std::optional<DialogMessage> salinityFocusLost();

    // "OK": the block (temperature in degrees Celsius) or the first failed check.
    using OkResult = Checked<AdvancedBlock>;
    OkResult ok() const;

    // Shown texts and states.
    int temperatureModeSelection() const; // -1: no entry selected
    int burstModeSelection() const;       // -1: no entry selected
    const std::string& temperatureText() const { return temperature_.text; }
    const std::string& salinityText() const { return salinity_.text; }
    const std::string& burstIntervalText() const { return burstInterval_.text; }
    const std::string& profilesPerBurstText() const { return profilesPerBurstText_; }
    const std::string& soundSpeedText() const { return soundSpeedText_; }
    std::string temperatureLabel() const;
    std::string soundSpeedLabel() const;
    static const char* salinityLabel() { return "Def Water Salinity (ppt):"; }
    static const char* burstIntervalLabel() { return "Burst Interval (s):"; }
    static const char* profilesPerBurstLabel() { return "Profiles Per Burst:"; }
    static const char* soundGroupText() { return "Sound Speed Settings:"; }
    static const char* burstGroupText() { return "Configure Burst Mode: "; }
    bool temperatureReadOnly() const { return temperatureMode_ == 1; }
    bool burstEditsEnabled() const { return burstMode_ == 1; }
    bool metric() const { return model::IsMetric(unitSystem_); }

private:
    // A float edit: the text on screen and the exact value it was opened with.
    struct FloatEdit {
        std::string text;
        std::string openedText;
        float openedValue = 0.0f;
        bool untouched() const { return text == openedText; }
    };
    // The values the screen holds, as the framework reads them.
    struct ScreenValues {
        float temperatureC = 0.0f;
        float salinity = 0.0f;
        float burstInterval = 0.0f;
        int profilesPerBurst = 0;
    };
    using ScreenReading = Checked<ScreenValues>;
    ScreenReading readScreen() const;
    std::optional<DialogMessage> recomputeSoundSpeed();
    void showSoundSpeed(float salinity, float temperatureC);

    model::UnitSystem unitSystem_;
    int temperatureMode_;
    int burstMode_;
    FloatEdit temperature_; // deg C in metric, deg F in English units
    FloatEdit salinity_;
    FloatEdit burstInterval_;
    std::string profilesPerBurstText_;
    std::string soundSpeedText_;
};

} // namespace qpx::planning
