#include "sim/OptionValues.h"

#include <utility>

namespace qpx::sim::options {
namespace {

// "COMMAND[:TIMES]". A command that itself ends in ":NN" (a time of day) needs the count
// written out, ":-1" for every time.
std::optional<FaultTrigger> ParseTrigger(std::string_view text) {
    FaultTrigger trigger;
    trigger.command = std::string(text);
    const std::size_t colon = text.rfind(':');
    if (colon != std::string_view::npos) {
        if (const std::optional<int> times = ParseBounded(text.substr(colon + 1), -1, 1'000'000)) {
            trigger.command = std::string(text.substr(0, colon));
            trigger.times = *times;
        }
    }
    if (trigger.command.empty()) {
        return std::nullopt;
    }
    return trigger;
}

Apply Trigger(std::function<void(Builder&, FaultTrigger)> set) {
    return [set](Builder& b, std::string_view value) -> std::string {
        std::optional<FaultTrigger> trigger = ParseTrigger(value);
        if (!trigger) {
            return "expected COMMAND[:TIMES]";
        }
        set(b, std::move(*trigger));
        return {};
    };
}

FrameFault& Frame(Builder& b) {
    if (!b.scenario().frameFault) {
        b.scenario().frameFault = FrameFault{};
    }
    return *b.scenario().frameFault;
}

BlockFault& Block(Builder& b) {
    if (!b.scenario().blockFault) {
        b.scenario().blockFault = BlockFault{};
    }
    return *b.scenario().blockFault;
}

SilenceFault& Silence(Builder& b) {
    if (!b.scenario().silence) {
        b.scenario().silence = SilenceFault{};
    }
    return *b.scenario().silence;
}

} // namespace

std::vector<Option> FaultOptions() {
    return {
        {"silent", false, "", "answers nothing at all",
         Switch([](Builder& b, bool on) { b.scenario().silent = on; })},
        {"wrong-echo", true, "COMMAND[:TIMES]", "the CR of that command is echoed wrong",
         Trigger([](Builder& b, FaultTrigger t) { b.scenario().wrongEcho = EchoFault{t}; })},
        {"garbage-before", true, "COMMAND[:TIMES]", "stray bytes before that command's reply",
         Trigger([](Builder& b, FaultTrigger t) {
             b.scenario().garbageBeforeReply = GarbageFault{};
             b.scenario().garbageBeforeReply->when = std::move(t);
         })},
        {"replace-reply", true, "COMMAND[:TIMES]", "that command is answered \"ERROR\"",
         Trigger([](Builder& b, FaultTrigger t) {
             b.scenario().replacedReply = ReplyFault{};
             b.scenario().replacedReply->when = std::move(t);
         })},
        {"frame-on", true, "COMMAND[:TIMES]",
         "which \"Get ...\" lines the frame faults spoil (default: every one)",
         Trigger([](Builder& b, FaultTrigger t) { Frame(b).when = std::move(t); })},
        {"frame-checksum-delta", true, "N", "added to each frame's checksum",
         Integer(-65535, 65535, [](Builder& b) -> int& { return Frame(b).checksumDelta; })},
        {"frame-length-delta", true, "N", "added to each frame's length field",
         Integer(-65535, 65535, [](Builder& b) -> int& { return Frame(b).lengthDelta; })},
        {"frame-missing", false, "", "\"OK\", then no frame",
         Switch([](Builder& b, bool on) { Frame(b).missing = on; })},
        {"frame-drop-after", true, "N", "the line goes dead after N bytes of the next frame",
         Integer(0, 100'000, [](Builder& b) -> int& { return Frame(b).dropLineAfter; })},
        {"block-bad-checksum", true, "K[@BLOCK]",
         "the first K sends of a \"bdir\" block (default the header, 0) carry a bad checksum",
         [](Builder& b, std::string_view v) {
             BlockFault& fault = Block(b);
             return PairOfNumbers(v, '@', 0, 1'000'000, fault.badChecksumTimes,
                                  fault.badChecksumBlock);
         }},
        {"block-used-space-missing", false, "", "no used-space block after the end block",
         Switch([](Builder& b, bool on) { Block(b).usedSpaceMissing = on; })},
        {"block-extra-files", true, "N", "N dummy file blocks after the card's files",
         Integer(0, 1'000'000, [](Builder& b) -> int& { return Block(b).extraFileBlocks; })},
        {"block-drop", true, "BLOCK[:BYTES]",
         "the line goes dead after BYTES (default 2) of that block",
         [](Builder& b, std::string_view v) {
             BlockFault& fault = Block(b);
             return PairOfNumbers(v, ':', 0, 1'000'000, fault.dropLineInBlock, fault.dropLineAfter);
         }},
        {"silence-after-lines", true, "N", "silent for good after answering N command lines",
         Integer(0, 1'000'000, [](Builder& b) -> int& { return Silence(b).afterLines; })},
        {"silence-at", true, "COMMAND", "silent for good when that command line arrives",
         [](Builder& b, std::string_view v) -> std::string {
             if (v.empty()) {
                 return "expected a command";
             }
             Silence(b).atCommand = std::string(v);
             return {};
         }},
    };
}

} // namespace qpx::sim::options
