#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

// One harness per input the program reads. Each FuzzOne takes one fuzz input, drives the code
// that reads it and checks the harness's invariants, aborting when one breaks. The fuzzer entry
// point and the regression tests call the same function.
namespace qpx::fuzz {

// "Get CONF", "Get USER" or "Get OPER" (first byte) answered by the script in the rest, then the
// accepted data through its decoder.
struct StructureFrameFuzz {
    static int FuzzOne(const std::uint8_t* data, std::size_t size);
    // With `repairChecksum` the frame's checksum is corrected before it is replayed, so that
    // mutations reach the decoders instead of dying at the checksum.
    static int Run(std::span<const std::uint8_t> input, bool repairChecksum);
};
struct StructureFrameRepairedFuzz {
    static int FuzzOne(const std::uint8_t* data, std::size_t size);
};

// The three decoders on raw blocks, and the views shown from what they accept.
struct StructureDecodersFuzz {
    static int FuzzOne(const std::uint8_t* data, std::size_t size);
};

// "bdir": header, file blocks, end block and used-space block, and the directory they fill.
struct RecorderTransferFuzz {
    static int FuzzOne(const std::uint8_t* data, std::size_t size);
    static int Run(std::span<const std::uint8_t> input, bool repairChecksums);
};
struct RecorderTransferRepairedFuzz {
    static int FuzzOne(const std::uint8_t* data, std::size_t size);
};

// The text replies: wake-up and "Ver", "enablewaves", "Date" and "Time", the "format" dialogue,
// the PC-QPX update and its read-back. The first byte picks the dialogue.
struct ReplyParsersFuzz {
    static int FuzzOne(const std::uint8_t* data, std::size_t size);
};

// Random text typed into every edit box of the planner and its sub-dialog models.
struct ModelEventsFuzz {
    static int FuzzOne(const std::uint8_t* data, std::size_t size);
};

// qpxctl's NAME=VALUE settings and start time, parsed and applied to the planner.
struct SettingParserFuzz {
    static int FuzzOne(const std::uint8_t* data, std::size_t size);
};

// A plan file's text read, and what it accepts entered into a planning-mode and a connected-mode
// planner, written again and read back.
struct PlanReaderFuzz {
    static int FuzzOne(const std::uint8_t* data, std::size_t size);
};

// A file given as the deployment record at recovery, read for its clock reading and compared.
struct DeploymentRecordReaderFuzz {
    static int FuzzOne(const std::uint8_t* data, std::size_t size);
};

struct Harness {
    std::string_view name;
    int (*fuzzOne)(const std::uint8_t* data, std::size_t size);
};

// Every harness, by the name of its corpus and regression folders.
std::span<const Harness> AllHarnesses();

} // namespace qpx::fuzz
