#pragma once

#include "link/Link.h"
#include "link/SystemType.h"

namespace qpx::link {

// Makes sure the instrument is awake and at its prompt (a space, then a break, then the wake-up
// string), asks "Ver" and classifies the answer. Returns a SystemType value; shows no message.
// For values 2 to 8 the instrument is at its prompt with the receive buffer drained.
int WakeAndIdentify(Link& link);

} // namespace qpx::link
