#pragma once

#include "sim/InstrumentStructures.h"
#include "sim/Scenario.h"

#include <string>
#include <string_view>
#include <vector>

namespace qpx::sim {

// "numberOfCells=30" for one of the three structures: a field named as in the structure's
// declaration and the value to hold there.
struct FieldOverride {
    StructureKind structure = StructureKind::UserSetup;
    std::string field;
    std::string value;
};

// Sets the field; an empty text when done, otherwise why not (unknown field, a value that is no
// number or does not fit the field, a text too long for it). Number fields take whole numbers
// in their own width and signedness; text fields (deploymentName, comment1..3, serialNumber)
// take the text and keep their terminating NUL.
std::string ApplyFieldOverride(InstrumentStructures& structures, const FieldOverride& change);

// The field names a structure accepts, for the help text.
std::vector<std::string_view> FieldNames(StructureKind structure);

} // namespace qpx::sim
