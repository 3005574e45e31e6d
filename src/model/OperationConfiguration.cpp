#include "model/OperationConfiguration.h"

#include "model/ByteLayout.h"
#include "model/StructureHeader.h"
#include "model/TextFormat.h"

#include <optional>

namespace qpx::model {
namespace {

// Held form and received form share one declaration: Wide is true for the held layout, false
// for the wire, where the 32-bit fields travel as their low 16 bits.
template <bool Wide, typename Visitor, typename Oper>
void Layout(Visitor& v, Oper& o) {
    auto wide = [&v](auto& field) {
        if constexpr (Wide) {
            v(field);
        } else {
            v.narrow16(field);
        }
    };
    v(o.structureId);
    v(o.structureVersion);
    v(o.structureSize);
    v(o.operReserved4);
    v(o.operReserved8);
    v(o.operWord12);
    v(o.operWord14);
    v(o.operWord16);
    v(o.operWord18);
    v(o.operWord20);
    v(o.operWord22);
    v(o.operWord24);
    v(o.operWord26);
    v(o.operWord28);
    v(o.operWord30);
    v(o.operWord32);
    v(o.operWord34);
    v(o.operWord36);
    v(o.operByte38);
    wide(o.operLong39);
    wide(o.pulseLength);
    wide(o.operLong47);
    wide(o.userPulseLag);
    wide(o.systemLag);
    v(o.operByte59);
    wide(o.operLong60);
    wide(o.operLong64);
    wide(o.operLong68);
    wide(o.operLong72);
    wide(o.userResLag);
    wide(o.systemResLag);
    v(o.operWord84);
}

std::optional<DecodeFailure> CheckId(const OperationConfiguration& oper) {
    if (oper.structureId != kOperationConfigurationId) {
        return DecodeFailure{
            FormatText("OperationConfiguration: structure id 0x%02X, expected 0x%02X",
                       unsigned{oper.structureId}, unsigned{kOperationConfigurationId})};
    }
    return std::nullopt;
}

} // namespace

std::array<std::uint8_t, kOperationConfigurationSize> Encode(const OperationConfiguration& oper) {
    std::array<std::uint8_t, kOperationConfigurationSize> bytes{};
    ByteWriter writer(bytes);
    Layout<true>(writer, oper);
    return bytes;
}

OperationConfiguration
ReadOperationConfiguration(std::span<const std::uint8_t, kOperationConfigurationSize> bytes) {
    OperationConfiguration oper;
    ByteReader reader(bytes);
    Layout<true>(reader, oper);
    return oper;
}

DecodeResult<OperationConfiguration>
DecodeOperationConfiguration(std::span<const std::uint8_t> bytes) {
    if (bytes.size() != kOperationConfigurationSize) {
        return DecodeFailure{
            FormatText("OperationConfiguration: %llu bytes, expected %llu",
                       static_cast<unsigned long long>(bytes.size()),
                       static_cast<unsigned long long>(kOperationConfigurationSize))};
    }
    OperationConfiguration oper =
        ReadOperationConfiguration(bytes.first<kOperationConfigurationSize>());
    if (auto failure = CheckId(oper)) {
        return *failure;
    }
    return oper;
}

DecodeResult<OperationConfiguration>
WidenOperationConfiguration(std::span<const std::uint8_t> received, std::uint8_t versionValue) {
    if (received.size() != kOperationConfigurationWireSize) {
        return DecodeFailure{
            FormatText("OperationConfiguration: %llu bytes, expected %llu",
                       static_cast<unsigned long long>(received.size()),
                       static_cast<unsigned long long>(kOperationConfigurationWireSize))};
    }
    OperationConfiguration oper;
    ByteReader reader(received);
    Layout<false>(reader, oper);
    if (auto failure = CheckId(oper)) {
        return *failure;
    }
    // The two system lags are trusted only from firmware 1.6 on; below that they are held as 0.
    if (versionValue < kSystemLagMinimumVersion) {
        oper.systemLag = 0;
        oper.systemResLag = 0;
    }
    return oper;
}

std::array<std::uint8_t, kOperationConfigurationWireSize>
NarrowOperationConfiguration(const OperationConfiguration& oper) {
    std::array<std::uint8_t, kOperationConfigurationWireSize> bytes{};
    ByteWriter writer(bytes);
    Layout<false>(writer, oper);
    return bytes;
}

} // namespace qpx::model
