#include "planning/LiveChecks.h"

#include "planning/DeploymentValidation.h"

namespace qpx::planning {
namespace {

using enum CheckedBox;

constexpr std::uint8_t kPowerAndFreeSpace = kRecomputePower | kRecomputeFreeSpace;

// The free-space estimate depends on the averaging interval too (when it is the longer one, and
// through the burst rule), so an accepted averaging interval renews it rather than leaving it
// stale.
constexpr std::array<LiveCheck, kCheckedBoxCount> kLiveChecks{{
    {Averaging, kAveragingBoxId, false, false, "Averaging Interval must be greater than 0.",
     kPowerAndFreeSpace, false},
    {Profiling, kProfilingBoxId, false, false, "Profiling Interval must be greater than 0.",
     kPowerAndFreeSpace, false},
    {Cells, kCellsBoxId, true, false, "Number of Cells must be greater than 0.",
     kRecomputeRange | kRecomputeFreeSpace, false},
    {CellSize, kCellSizeBoxId, false, false, "Cell Size must be greater than 0.",
     kRecomputeRange | kPowerAndFreeSpace, true},
    {Blanking, kBlankingBoxId, false, false, "Blanking Distance must be greater than 0.",
     kRecomputeRange, true},
    {BatteryPacks, kBatteryPacksBoxId, true, true,
     "Number of Battery Packs must be greater than 0.", kRecomputePower, false},
}};

constexpr bool RowsInBoxOrder() {
    for (std::size_t i = 0; i < kLiveChecks.size(); ++i) {
        if (static_cast<std::size_t>(kLiveChecks[i].box) != i) {
            return false;
        }
    }
    return true;
}
static_assert(RowsInBoxOrder(), "LiveCheckFor indexes the rows by box");

} // namespace

const LiveCheck& LiveCheckFor(CheckedBox box) {
    return kLiveChecks[static_cast<std::size_t>(box)];
}

} // namespace qpx::planning
