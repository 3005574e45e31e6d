#include "fuzz/support/KeptInputs.h"

#include "fuzz/Harnesses.h"
#include "fuzz/support/FuzzInput.h"

#include <algorithm>

namespace qpx::fuzz {

int ReplayKeptInputs(const std::filesystem::path& fuzzFolder, std::string_view name) {
    const auto harnesses = AllHarnesses();
    const auto harness = std::find_if(harnesses.begin(), harnesses.end(),
                                      [&](const Harness& h) { return h.name == name; });
    if (harness == harnesses.end()) {
        return -1;
    }
    int count = 0;
    for (const char* kind : {"regressions", "corpus"}) {
        for (const auto& file : FilesBelow(fuzzFolder / kind / std::string(name))) {
            const auto bytes = ReadFileBytes(file);
            SetReplayedInputName(file.string());
            harness->fuzzOne(bytes.data(), bytes.size());
            ++count;
        }
    }
    SetReplayedInputName({});
    return count;
}

} // namespace qpx::fuzz
