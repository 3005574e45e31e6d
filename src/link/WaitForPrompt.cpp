#include "link/CommandExchange.h"
#include "link/PortFunctions.h"

namespace qpx::link {

// The poll count is the bound on waiting, counted in milliseconds: a pass that finds a byte reads
// it and uses one poll; a pass that finds none blocks on the port for at most the polls left and
// uses the milliseconds that went by (at least one). So the wait never spins on an empty buffer,
// ends as soon as the pattern is in, and lasts about `maxPolls` ms at most, however the bytes
// are paced.
int WaitForPrompt(Port& port, std::string& buffer, std::size_t capacity, std::string_view pattern,
                  int maxPolls) {
    Clock& clock = port.clock();
    int used = 0;
    while (used < maxPolls) {
        if (buffer.size() >= capacity) {
            return 0;
        }
        if (port.rxCount() > 0) {
            const int byte = ReadCharTimed(port, 1);
            if (byte >= 0) {
                buffer.push_back(static_cast<char>(byte));
            }
            ++used;
        } else {
            const std::int64_t start = clock.nowMs();
            port.waitReadable(maxPolls - used);
            const std::int64_t elapsed = clock.nowMs() - start;
            used += elapsed < 1 ? 1 : static_cast<int>(elapsed < maxPolls ? elapsed : maxPolls);
        }
        // The whole text is searched, not only up to a NUL: a break often arrives as a 0x00 byte.
        if (buffer.find(pattern) != std::string::npos) {
            return 1;
        }
        if (buffer.size() >= capacity) {
            return 0;
        }
    }
    return 0;
}

} // namespace qpx::link
