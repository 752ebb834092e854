#pragma once
// Handing a finished document to a CUPS queue, and hearing whether the queue took it.
#include <string>
#include <string_view>

namespace tally {

struct JobSubmission {
    int id = 0;        // the queue's job id; 0 when the job was not accepted
    std::string error; // the queue's or the system's reason when it was not
    bool accepted() const { return id > 0 && error.empty(); }
};

// Sends `pdf` as one job to `queue`. A queue that is stopped but accepts jobs holds the job and
// counts as accepted; a queue that rejects jobs, or a scheduler that cannot be reached, does not.
JobSubmission submitPdf(const std::string& queue, const std::string& title, std::string_view pdf);

} // namespace tally
