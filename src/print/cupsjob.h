#pragma once
// Handing a finished document to a CUPS queue, and hearing whether the queue took it.
#include <string>
#include <string_view>

#include "core/result.h"

namespace tally {

// Sends `pdf` as one job to `queue`. A queue that is stopped but accepts jobs holds the job and
// counts as accepted; a queue that rejects jobs, or a scheduler that cannot be reached, does not.
// The queue's job id, or the queue's or the system's reason.
Result<int> submitPdf(const std::string& queue, const std::string& title, std::string_view pdf);

} // namespace tally
