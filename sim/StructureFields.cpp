#include "sim/StructureFields.h"

#include "model/TextFormat.h"

#include <array>
#include <functional>
#include <limits>

namespace qpx::sim {
namespace {

template <typename S>
struct Field {
    std::string_view name;
    std::function<std::string(S&, std::string_view)> set;
};

template <typename S, typename T>
Field<S> Number(std::string_view name, T S::*member) {
    return {name, [member](S& s, std::string_view text) -> std::string {
                const std::optional<long long> value = model::ParseInteger(text);
                if (!value) {
                    return "not a whole number";
                }
                if (*value < static_cast<long long>(std::numeric_limits<T>::min()) ||
                    *value > static_cast<long long>(std::numeric_limits<T>::max())) {
                    return "out of the field's range";
                }
                s.*member = static_cast<T>(*value);
                return {};
            }};
}

template <typename S, std::size_t N>
Field<S> Text(std::string_view name, std::array<char, N> S::*member) {
    return {name, [member](S& s, std::string_view text) -> std::string {
                if (text.size() >= N) {
                    return "longer than " + std::to_string(N - 1) + " characters";
                }
                (s.*member).fill('\0');
                std::copy(text.begin(), text.end(), (s.*member).begin());
                return {};
            }};
}

using model::OperationConfiguration;
using model::SystemConfiguration;
using model::UserSetup;

const std::vector<Field<UserSetup>>& UserFields() {
    static const std::vector<Field<UserSetup>> fields{
        Number("defaultTemperature", &UserSetup::defaultTemperature),
        Number("salinity", &UserSetup::salinity),
        Number("soundSpeed", &UserSetup::soundSpeed),
        Number("numberOfCells", &UserSetup::numberOfCells),
        Number("cellSize", &UserSetup::cellSize),
        Number("blankingDistance", &UserSetup::blankingDistance),
        Number("temperatureMode", &UserSetup::temperatureMode),
        Number("averagingInterval", &UserSetup::averagingInterval),
        Number("profilingInterval", &UserSetup::profilingInterval),
        Number("burstMode", &UserSetup::burstMode),
        Number("burstInterval", &UserSetup::burstInterval),
        Number("profilesPerBurst", &UserSetup::profilesPerBurst),
        Number("coordinateSystem", &UserSetup::coordinateSystem),
        Number("outputMode", &UserSetup::outputMode),
        Number("recorderEnabled", &UserSetup::recorderEnabled),
        Text("deploymentName", &UserSetup::deploymentName),
        Text("comment1", &UserSetup::comment1),
        Text("comment2", &UserSetup::comment2),
        Text("comment3", &UserSetup::comment3),
        Number("waveInterval", &UserSetup::waveInterval),
        Number("waveOptions", &UserSetup::waveOptions),
        Number("waveSamples", &UserSetup::waveSamples),
        Number("waveEnabled", &UserSetup::waveEnabled),
        Number("pulseCoherentMode", &UserSetup::pulseCoherentMode),
    };
    return fields;
}

const std::vector<Field<SystemConfiguration>>& ConfFields() {
    static const std::vector<Field<SystemConfiguration>> fields{
        Number("structureVersion", &SystemConfiguration::structureVersion),
        Number("cpuSoftwareVersion", &SystemConfiguration::cpuSoftwareVersion),
        Number("dspSoftwareVersion", &SystemConfiguration::dspSoftwareVersion),
        Text("serialNumber", &SystemConfiguration::serialNumber),
        Number("systemFrequency", &SystemConfiguration::systemFrequency),
        Number("numberOfBeams", &SystemConfiguration::numberOfBeams),
        Number("beamGeometry", &SystemConfiguration::beamGeometry),
        Number("slantAngle", &SystemConfiguration::slantAngle),
        Number("sensorOrientation", &SystemConfiguration::sensorOrientation),
        Number("compassInstalled", &SystemConfiguration::compassInstalled),
        Number("recorderInstalled", &SystemConfiguration::recorderInstalled),
        Number("temperatureSensorInstalled", &SystemConfiguration::temperatureSensorInstalled),
        Number("pressureSensorInstalled", &SystemConfiguration::pressureSensorInstalled),
        Number("pressureScale", &SystemConfiguration::pressureScale),
        Number("pressureOffset", &SystemConfiguration::pressureOffset),
        Number("extSensorInstalled", &SystemConfiguration::extSensorInstalled),
        Number("extPressureSensor", &SystemConfiguration::extPressureSensor),
        Number("ctdSensorInstalled", &SystemConfiguration::ctdSensorInstalled),
        Number("pressureScale2", &SystemConfiguration::pressureScale2),
    };
    return fields;
}

const std::vector<Field<OperationConfiguration>>& OperFields() {
    static const std::vector<Field<OperationConfiguration>> fields{
        Number("pulseLength", &OperationConfiguration::pulseLength),
        Number("userPulseLag", &OperationConfiguration::userPulseLag),
        Number("systemLag", &OperationConfiguration::systemLag),
        Number("operByte59", &OperationConfiguration::operByte59),
        Number("userResLag", &OperationConfiguration::userResLag),
        Number("systemResLag", &OperationConfiguration::systemResLag),
    };
    return fields;
}

template <typename S>
std::string Apply(const std::vector<Field<S>>& fields, S& target, const FieldOverride& change) {
    for (const Field<S>& field : fields) {
        if (field.name == change.field) {
            const std::string problem = field.set(target, change.value);
            return problem.empty() ? problem : change.field + ": " + problem;
        }
    }
    return "no field " + change.field;
}

template <typename S>
std::vector<std::string_view> Names(const std::vector<Field<S>>& fields) {
    std::vector<std::string_view> names;
    for (const Field<S>& field : fields) {
        names.push_back(field.name);
    }
    return names;
}

} // namespace

std::string ApplyFieldOverride(InstrumentStructures& structures, const FieldOverride& change) {
    switch (change.structure) {
    case StructureKind::SystemConfiguration:
        return Apply(ConfFields(), structures.systemConfiguration, change);
    case StructureKind::UserSetup:
        return Apply(UserFields(), structures.userSetup, change);
    case StructureKind::OperationConfiguration:
        return Apply(OperFields(), structures.operationConfiguration, change);
    }
    return "no such structure";
}

std::vector<std::string_view> FieldNames(StructureKind structure) {
    switch (structure) {
    case StructureKind::SystemConfiguration:
        return Names(ConfFields());
    case StructureKind::UserSetup:
        return Names(UserFields());
    case StructureKind::OperationConfiguration:
        return Names(OperFields());
    }
    return {};
}

} // namespace qpx::sim
