#include "sim/StandardCommands.h"

#include "sim/Frames.h"
#include "sim/Instrument.h"

#include <string>

namespace qpx::sim {
namespace {

void Version(CommandContext& context) {
    const Scenario& scenario = context.instrument.scenario();
    if (scenario.versionLeadIn) {
        context.reply.beforeLineFeed.push_back(kFrameLeadInByte);
    }
    context.reply.line(scenario.versionText);
}

void SystemType(CommandContext& context) {
    context.reply.line(context.instrument.scenario().systemTypeText);
}

void EnableWaves(CommandContext& context) {
    const Scenario& scenario = context.instrument.scenario();
    const std::string text = scenario.wavesReply ? *scenario.wavesReply
                                                 : std::string(WavesReplyFor(scenario.wavesOption));
    if (!text.empty()) {
        context.reply.line(text);
    }
}

std::optional<StructureKind> StructureNamed(std::string_view name) {
    if (EqualsIgnoringCase(name, "CONF")) {
        return StructureKind::SystemConfiguration;
    }
    if (EqualsIgnoringCase(name, "USER")) {
        return StructureKind::UserSetup;
    }
    if (EqualsIgnoringCase(name, "OPER")) {
        return StructureKind::OperationConfiguration;
    }
    return std::nullopt;
}

// "OK", then at once the frame: no prompt between them, so the host reads the frame right after
// the acknowledgement line. The prompt follows the frame unless the scenario says otherwise.
void Get(CommandContext& context) {
    Instrument& instrument = context.instrument;
    const Scenario& scenario = instrument.scenario();
    const std::optional<StructureKind> kind = StructureNamed(context.arguments);
    if (!kind) {
        context.reply.line("ERROR: Unknown structure");
        return;
    }
    const FrameFault* fault = nullptr;
    if (scenario.frameFault &&
        Fires(scenario.frameFault->when, context.line, instrument.faultCounts().frame)) {
        fault = &*scenario.frameFault;
    }

    context.reply.line("OK");
    context.reply.prompt = scenario.promptAfterFrame;
    if (fault != nullptr && fault->missing) {
        return;
    }
    const std::vector<std::uint8_t> data =
        WireBytes(instrument.structures(), *kind, scenario.patches);
    FrameOptions options;
    options.leadIn = scenario.frameLeadIn;
    if (fault != nullptr) {
        options.lengthDelta = fault->lengthDelta;
        options.checksumDelta = fault->checksumDelta;
        if (fault->dropLineAfter >= 0) {
            context.reply.deadAfter =
                context.reply.bytes().size() + static_cast<std::size_t>(fault->dropLineAfter);
        }
    }
    context.reply.raw(BuildFrame(data, options));
    if (fault != nullptr && fault->extraBytes > 0) {
        context.reply.raw(
            std::vector<std::uint8_t>(static_cast<std::size_t>(fault->extraBytes), 0x5A));
    }
}

} // namespace

std::string_view WavesReplyFor(int wavesOption) {
    switch (wavesOption) {
    case 1:
        return "YES";
    case 2:
        return "DIRECTIONAL";
    default:
        return "NO";
    }
}

void AddStandardCommands(CommandTable& table) {
    table.add("Ver", Version);
    table.add("systemtype", SystemType);
    table.add("enablewaves", EnableWaves);
    table.add("Get", Get);
}

} // namespace qpx::sim
