#include "sim/CommandLineLog.h"

namespace qpx::sim {

void CommandLineLog::skipSeen() {
    linesSeen_ = instrument_.transcript().size();
    wakesSeen_ = instrument_.wakeCount();
}

std::vector<CommandLineLog::Entry> CommandLineLog::take() {
    std::vector<Entry> entries;
    if (instrument_.wakeCount() > wakesSeen_) {
        wakesSeen_ = instrument_.wakeCount();
        entries.push_back({std::string(kWakeUpLine), true});
    }
    const std::vector<std::string>& lines = instrument_.transcript();
    for (; linesSeen_ < lines.size(); ++linesSeen_) {
        entries.push_back({lines[linesSeen_], false});
    }
    return entries;
}

} // namespace qpx::sim
