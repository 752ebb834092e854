#include "print/cupsjob.h"

#include <cups/cups.h>

namespace tally {

JobSubmission submitPdf(const std::string& queue, const std::string& title, std::string_view pdf) {
    JobSubmission job;
    job.id = cupsCreateJob(CUPS_HTTP_DEFAULT, queue.c_str(), title.c_str(), 0, nullptr);
    if (job.id == 0) {
        job.error = cupsLastErrorString();
        return job;
    }
    const bool started =
        cupsStartDocument(CUPS_HTTP_DEFAULT, queue.c_str(), job.id, title.c_str(), CUPS_FORMAT_PDF, 1) == HTTP_STATUS_CONTINUE;
    bool sent = started && cupsWriteRequestData(CUPS_HTTP_DEFAULT, pdf.data(), pdf.size()) == HTTP_STATUS_CONTINUE;
    // Finishing reads the queue's answer to the document, so it runs whenever the document began.
    if (started) sent = cupsFinishDocument(CUPS_HTTP_DEFAULT, queue.c_str()) <= IPP_STATUS_OK_EVENTS_COMPLETE && sent;
    if (!sent) {
        job.error = cupsLastErrorString();
        // A job left without its document would only wait in the queue for ever.
        cupsCancelJob2(CUPS_HTTP_DEFAULT, queue.c_str(), job.id, 0);
        job.id = 0;
        if (job.error.empty()) job.error = "the print queue did not take the document";
    }
    return job;
}

} // namespace tally
