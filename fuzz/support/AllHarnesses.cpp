#include "fuzz/Harnesses.h"

#include <array>

namespace qpx::fuzz {

std::span<const Harness> AllHarnesses() {
    static constexpr std::array<Harness, 10> kHarnesses{{
        {"StructureFrameFuzz", &StructureFrameFuzz::FuzzOne},
        {"StructureFrameRepairedFuzz", &StructureFrameRepairedFuzz::FuzzOne},
        {"StructureDecodersFuzz", &StructureDecodersFuzz::FuzzOne},
        {"RecorderTransferFuzz", &RecorderTransferFuzz::FuzzOne},
        {"RecorderTransferRepairedFuzz", &RecorderTransferRepairedFuzz::FuzzOne},
        {"ReplyParsersFuzz", &ReplyParsersFuzz::FuzzOne},
        {"ModelEventsFuzz", &ModelEventsFuzz::FuzzOne},
        {"SettingParserFuzz", &SettingParserFuzz::FuzzOne},
        {"PlanReaderFuzz", &PlanReaderFuzz::FuzzOne},
        {"DeploymentRecordReaderFuzz", &DeploymentRecordReaderFuzz::FuzzOne},
    }};
    return kHarnesses;
}

} // namespace qpx::fuzz
