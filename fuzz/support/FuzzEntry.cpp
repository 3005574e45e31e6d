// The libFuzzer entry point, built once per harness: QPX_FUZZ_TARGET names the harness class.
#include "fuzz/Harnesses.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return qpx::fuzz::QPX_FUZZ_TARGET::FuzzOne(data, size);
}
