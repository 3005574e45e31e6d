#pragma once

#include <filesystem>
#include <string_view>

namespace qpx::fuzz {

// Runs harness `name` over every committed input of its own: fuzz/regressions/<name>/ (inputs
// that once found a fault) and fuzz/corpus/<name>/ (the seeds), below `fuzzFolder`. Returns how
// many inputs ran; a broken invariant aborts and names the input.
int ReplayKeptInputs(const std::filesystem::path& fuzzFolder, std::string_view name);

} // namespace qpx::fuzz
