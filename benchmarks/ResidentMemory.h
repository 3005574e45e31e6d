#pragma once

namespace qpx::bench {

// The process's resident memory in KiB, as the system counts it (the working set on Windows);
// 0 where it cannot be read.
long ResidentKiB();

} // namespace qpx::bench
