#include "operations/ChangeDetection.h"

#include "operations/SettingsTable.h"

namespace qpx::operations {

ChangeDetection DetectChanges(const planning::AcceptedPlan& plan,
                              const model::UserSetup& downloaded) {
    ChangeDetection result;
    result.userSetup = downloaded;
    for (const SettingRow& row : SettingsTable()) {
        if (row.detect != nullptr) {
            row.detect(plan, downloaded, result);
        }
    }
    return result;
}

} // namespace qpx::operations
