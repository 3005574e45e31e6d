#pragma once

#include "operations/UploadPreview.h"

namespace qpx::cli {

using operations::UploadCommandLines;

} // namespace qpx::cli
