#include "fuzz/Harnesses.h"

#include <array>

namespace qpx::fuzz {

std::span<const Harness> AllHarnesses() {
    static constexpr std::array<Harness, 7> kHarnesses{{
        {"StructureFrameFuzz", &StructureFrameFuzz::FuzzOne},
        {"StructureFrameRepairedFuzz", &StructureFrameRepairedFuzz::FuzzOne},
        {"StructureDecodersFuzz", &StructureDecodersFuzz::FuzzOne},
        {"RecorderTransferFuzz", &RecorderTransferFuzz::FuzzOne},
        {"RecorderTransferRepairedFuzz", &RecorderTransferRepairedFuzz::FuzzOne},
        {"ReplyParsersFuzz", &ReplyParsersFuzz::FuzzOne},
        {"ModelEventsFuzz", &ModelEventsFuzz::FuzzOne},
    }};
    return kHarnesses;
}

} // namespace qpx::fuzz
