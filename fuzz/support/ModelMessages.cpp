#include "fuzz/support/ModelMessages.h"

namespace qpx::fuzz {
namespace {

// Every message the planner and its sub-dialog models can show.
constexpr std::string_view kModelMessages[]{
    "Averaging Interval must be greater than 0.",
    "Profiling Interval must be greater than 0.",
    "Number of Cells must be greater than 0.",
    "Cell Size must be greater than 0.",
    "Blanking Distance must be greater than 0.",
    "Number of Battery Packs must be greater than 0.",
    "Number of Battery Packs should be in the range of 1 to 999.",
    "The File Name must not be longer than 5 characters.",
    "Each comment must not be longer than 59 characters.",
    "Please enter a number for the %s.",
    "Please enter a whole number for the Number of Cells.",
    "Please enter a whole number for the Number of Battery Packs.",
    "Recorder is FULL or NEARLY FULL\nRetrieve data from recorder and then Format it before "
    "proceeding",
    "The averaging interval should be between %d and %d seconds",
    "The profiling interval should be between %d and %d seconds",
    "The averaging interval should be less than the profiling interval",
    "Duration of WaveSeries (%.0fs) must be at least 15 sec less than\nProfiling Interval - "
    "Averaging Interval",
    "The File Name must not be left blank.",
    "Number of Cells is out of range.\n\nValue must be between 1 and 100",
    "Cell Size should be in the range of %5.2f to %5.2f m.",
    "Cell Size should be in the range of %5.2f to %5.2f ft.",
    "Blanking Distance should be in the range of %5.2f to %5.2f m.",
    "Blanking Distance should be in the range of %5.2f to %5.2f ft.",
    "Total profile range of %5.1f meters exceeds/equals the maximum range of this system.\nValue "
    "must be below %5.1f meters\nYou may want to consider reducing the number of cells",
    "Total profile range of %5.1f feet exceeds/equals the maximum range of this system.\nValue "
    "must be below %5.1f feet\nYou may want to consider reducing the number of cells",
    "You have input a maximum depth greater than the range of this instrument.\nPlease reduce "
    "the maximum depth below %5.2f",
    "Maximum Depth must be greater than 0",
    "Please input a valid value for Maximum Depth",
    "Please enter a number.",
    "Please enter an integer.",
    "Please enter a number between 0 and 60.",
    "Water Temperature should be in the range of %5.1f to %5.1f deg C.",
    "Water Temperature should be in the range of %5.1f to %5.1f deg F.",
    "Water salinity should be in the range of 0 to 60.",
    "Burst Interval should be in the range of 1 to 43200.",
    "Samples per Burst should be in the range of 1 to 1000.",
    "Please enter an integer between 0 and 255.",
    "Please enter an integer between 1 and 4096.",
    "Pulse Length should be in the range of %5.2f to %5.2f %s.",
    "User Pulse Lag should be in the range of %5.2f to %5.2f %s.",
    "User ResLag should be in the range of %5.2f to %5.2f %s.\nTo disable ambiguity resolution "
    "set User ResLag to 0.",
    "Please enter a whole number for the %s.",
};

} // namespace

std::span<const std::string_view> ModelMessages() {
    return kModelMessages;
}

} // namespace qpx::fuzz
