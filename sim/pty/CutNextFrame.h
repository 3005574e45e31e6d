#pragma once

#include "sim/Instrument.h"

#include <memory>

namespace qpx::sim {

// Makes the next structure frame ("Get CONF", "Get USER" or "Get OPER") stop half way: the
// line goes dead after the acknowledgement and half of the frame's bytes. `cut` turns true when
// that frame has been answered, so whoever serves the line knows the fault has fired.
void CutNextFrame(Instrument& instrument, std::shared_ptr<bool> cut);

} // namespace qpx::sim
