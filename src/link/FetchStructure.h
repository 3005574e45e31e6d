#pragma once

#include "link/Link.h"

#include <cstdint>
#include <span>
#include <string_view>

namespace qpx::link {

// What the user is told when the operation configuration cannot be read ("Get OPER"), by the
// download and by the PC-QPX read-back alike.
inline constexpr std::string_view kOperFailedMessage =
    "Failed to get the Qpx Operation Configuration";

// Sends `command` ("Get CONF", "Get USER", "Get OPER"), reads the binary frame that follows its
// "OK" and checks the checksum. Returns 1 and copies the L - 4 data bytes to the front of
// `destination` only when the checksum matched; on any failure `destination` is untouched and a
// message has been shown. A frame shorter than `destination` is accepted (older instruments send
// a shorter SystemConfiguration); `receivedLength`, when given, gets the data length (0 on
// failure).
int FetchStructure(Link& link, std::string_view command, std::span<std::uint8_t> destination,
                   int* receivedLength = nullptr);

} // namespace qpx::link
