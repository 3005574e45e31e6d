#pragma once

#include "ui/DeploymentReviewDialog.h"

#include <QDialog>
#include <QPushButton>

namespace qpx::test {

// The user who has read the deployment review and deploys: for the sequences whose test is not
// about the review itself. False when `shown` is another window.
inline bool DeployFromReview(QDialog& shown) {
    auto* review = qobject_cast<ui::DeploymentReviewDialog*>(&shown);
    if (review == nullptr) {
        return false;
    }
    review->deployButton()->click();
    return true;
}

} // namespace qpx::test
