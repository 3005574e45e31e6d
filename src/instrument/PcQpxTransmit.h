#pragma once

#include "instrument/PcQpxSettings.h"
#include "instrument/PulseSettings.h"
#include "link/FetchStructure.h"
#include "link/Link.h"
#include "link/ProgressView.h"
#include "planning/DialogMessage.h"

#include <optional>
#include <string_view>

namespace qpx::instrument {

inline constexpr std::string_view kOperationReadBackFailed = link::kOperFailedMessage;

enum class PcQpxTransmitResult {
    NoPort,  // planning mode: nothing sent, the display not recomputed
    Success, // sent, saved and read back (or no window to report in: nothing sent)
    Failure, // "Failed" on the log line; what went out before the failure stays sent
};

// Sends the accepted pulse settings ("pl", "pg", "rpg", then "SaveSetup"), reads "Get OPER" back
// and hands the widened structure to `settings`, which then shows what the instrument now uses.
// Without a link (planning mode) nothing happens. The steps are reported in a window of
// `progress`; when it opens none, nothing is sent and the held values are shown again.
PcQpxTransmitResult TransmitPcQpxSettings(link::Link* link, link::ProgressViewFactory& progress,
                                          PcQpxSettings& settings, const PulseSettings& values);

// "&Update PC-QPX Settings": the checks of the model, then the transmit of what they accepted.
// `message` holds the message of the first failed check (nothing was sent); otherwise `value`
// says how the transmit went.
using PcQpxUpdateOutcome = planning::Checked<PcQpxTransmitResult>;
PcQpxUpdateOutcome UpdatePcQpxSettings(PcQpxSettings& settings, link::Link* link,
                                       link::ProgressViewFactory& progress);

} // namespace qpx::instrument
