#include "sim/OptionValues.h"

namespace qpx::sim::options {

std::vector<Option> ServingOptions() {
    return {
        {"exit-mid-frame", false, "",
         "the process dies after half of the next structure frame, closing the line",
         Switch([](Builder& b, bool on) { b.options.exitMidFrame = on; })},
        {"exit-at", true, "COMMAND", "the process dies when that command line arrives",
         [](Builder& b, std::string_view v) -> std::string {
             if (v.empty()) {
                 return "expected a command";
             }
             b.options.exitAt = std::string(v);
             return {};
         }},
        {"link", true, "PATH", "also make a symbolic link PATH to the device (removed on exit)",
         [](Builder& b, std::string_view v) -> std::string {
             if (v.empty()) {
                 return "expected a path";
             }
             b.options.linkPath = std::string(v);
             return {};
         }},
        {"transcript", true, "FILE", "write every command line received to FILE",
         [](Builder& b, std::string_view v) -> std::string {
             if (v.empty()) {
                 return "expected a path";
             }
             b.options.transcriptPath = std::string(v);
             return {};
         }},
    };
}

} // namespace qpx::sim::options
