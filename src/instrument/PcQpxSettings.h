#pragma once

#include "instrument/PulseSettings.h"
#include "model/OperationConfiguration.h"
#include "model/SystemConfiguration.h"
#include "model/Units.h"
#include "model/UserSetup.h"
#include "planning/Checked.h"
#include "planning/DialogMessage.h"

#include <optional>
#include <string>
#include <string_view>

namespace qpx::instrument {

inline constexpr std::string_view kPcQpxSettingsTitle = "PC-QPX Settings";

// Controls of the dialog template.
inline constexpr int kPulseLengthEditId = 1246;
inline constexpr int kUserPulseLagEditId = 1244;
inline constexpr int kUserResLagEditId = 1249;
inline constexpr int kSystemLagId = 1252;
inline constexpr int kSystemResLagId = 1250;
inline constexpr int kMaxVerticalVelId = 1248;
inline constexpr int kMaxHorizontalVelId = 1253;
inline constexpr int kMinCorrLevelId = 1251;
inline constexpr int kUpdatePcQpxButtonId = 1010;
// Labels that follow the unit system.
inline constexpr int kPulseLengthLabelId = 1005;
inline constexpr int kUserPulseLagLabelId = 1006;
inline constexpr int kUserResLagLabelId = 1008;
inline constexpr int kSystemLagLabelId = 1007;
inline constexpr int kSystemResLagLabelId = 1009;
inline constexpr int kMaxVerticalVelLabelId = 1003;
inline constexpr int kMaxHorizontalVelLabelId = 1004;
inline constexpr std::string_view kMinCorrLevelLabel = "Min Corr Level (%):";

// What "&Update PC-QPX Settings" found: the values to transmit, or the first failed check.
using PcQpxUpdate = planning::Checked<PulseSettings>;

// Model of the PcQpxSettingsDialog (template 130). It works on its own copies of the three
// structures; the planner takes all three back however the dialog closes. The user's entries
// never go into a structure: only a read-back after a successful transmit changes the
// OperationConfiguration (applyReadBack).
//
// A velocity limit that cannot be computed (a systemResLag of 0, as older firmware leaves it,
// or a slant angle of 0) shows an empty text rather than inf or nan.
//
// An input the user has not typed into goes out exactly as the structure holds it, not as the
// feet shown in English units converted back; the front end forwards user edits only (not the
// texts the model itself sets).
class PcQpxSettings {
public:
    PcQpxSettings(model::UnitSystem unitSystem, const model::SystemConfiguration& conf,
                  const model::UserSetup& user, const model::OperationConfiguration& oper);

    bool metric() const { return metric_; }

    // The unit-dependent label of a label id; empty for other ids.
    std::string_view label(int labelId) const;

    // Shown texts: the three inputs, then the read-only values.
    const std::string& pulseLengthText() const { return pulseLength_.text; }
    const std::string& userPulseLagText() const { return userPulseLag_.text; }
    const std::string& userResLagText() const { return userResLag_.text; }
    const std::string& systemLagText() const { return systemLagText_; }
    const std::string& systemResLagText() const { return systemResLagText_; }
    const std::string& maxVerticalVelocityText() const { return verticalText_; }
    const std::string& maxHorizontalVelocityText() const { return horizontalText_; }
    const std::string& minCorrLevelText() const { return minCorrText_; }
    // Any of the above by control id; empty for other ids.
    std::string text(int controlId) const;

    // The user edited an input box.
    void pulseLengthChanged(std::string text);
    void userPulseLagChanged(std::string text);
    void userResLagChanged(std::string text);

    // "&Update PC-QPX Settings": reads the inputs and checks them in order (pulse length, user
    // pulse lag, user ResLag). Accepted values are in metres, moved onto a bound where the
    // English-unit tolerance allows. Sending them is the caller's (nothing to send without a
    // port); on success it hands the structure read back to applyReadBack().
    PcQpxUpdate update() const;

    // Enter closes the dialog like "&Close" once the fields read as numbers; a field that does not
    // gives the message and the dialog stays open. Nothing is sent either way.
    std::optional<planning::DialogMessage> readFields() const;

    // After a successful transmit: the OperationConfiguration the instrument now holds replaces
    // the held one and every value is shown from it.
    void applyReadBack(const model::OperationConfiguration& oper);
    // Shows every value from the held structures again (also when a transmit found no window to
    // report in and so sent nothing).
    void display();

    const model::SystemConfiguration& systemConfiguration() const { return conf_; }
    const model::UserSetup& userSetup() const { return user_; }
    const model::OperationConfiguration& operationConfiguration() const { return oper_; }

private:
    // An input box: its text and, until the user types, the exact metres behind it.
    struct LengthInput {
        std::string text;
        std::optional<float> heldMetres;
    };
    using Reading = planning::Checked<float>; // metres

    void showInput(LengthInput& input, std::uint32_t centimetres);
    Reading read(const LengthInput& input, int editId) const;
    std::string lengthLimitsMessage(const char* metricFormat, const char* englishFormat, float min,
                                    float max) const;

    bool metric_;
    model::SystemConfiguration conf_;
    model::UserSetup user_;
    model::OperationConfiguration oper_;

    LengthInput pulseLength_;
    LengthInput userPulseLag_;
    LengthInput userResLag_;
    std::string systemLagText_;
    std::string systemResLagText_;
    std::string verticalText_;
    std::string horizontalText_;
    std::string minCorrText_;
};

} // namespace qpx::instrument
