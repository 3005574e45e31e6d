#include "link/CommandExchange.h"
#include "link/PortFunctions.h"
#include "link/ReplyText.h"
#include "operations/Recorder.h"

#include <array>
#include <string>

namespace qpx::operations {

using link::Contains;
namespace {

constexpr int kFormatReads = 100;
constexpr int kReadBytes = 200;
constexpr int kReadTimeoutMs = 300;

} // namespace

bool FormatRecorder(link::Link& link) {
    if (link::SendCommand(link, "format", '>', true) == 0) {
        return false;
    }
    std::string reply;
    std::array<std::uint8_t, kReadBytes> buffer{};
    for (int read = 0; read < kFormatReads; ++read) {
        int received = 0;
        ReadBytesTimed(link.port, buffer, kReadBytes, kReadTimeoutMs, {}, &received);
        reply.append(reinterpret_cast<const char*>(buffer.data()),
                     static_cast<std::size_t>(received));
        if (Contains(reply, "OK")) {
            return true;
        }
        if (Contains(reply, "aborted")) {
            return false;
        }
        // Asked again (some firmware confirms twice): each question gets its own answer.
        if (Contains(reply, "YES or NO")) {
            reply.clear();
            link::WriteString(link.port, "yes\r", link::kLineTerminator);
        }
    }
    return false;
}

} // namespace qpx::operations
