#include "print/cupsjob.h"

#include <cups/cups.h>
#include <dlfcn.h>

namespace tally {
namespace {

// libcups and the libraries it brings (TLS, Kerberos, Avahi) are loaded at the first print, not
// at start-up, which they would slow for every run of a program that rarely prints.
struct Cups {
    decltype(&cupsCreateJob) createJob = nullptr;
    decltype(&cupsStartDocument) startDocument = nullptr;
    decltype(&cupsWriteRequestData) writeRequestData = nullptr;
    decltype(&cupsFinishDocument) finishDocument = nullptr;
    decltype(&cupsCancelJob2) cancelJob = nullptr;
    decltype(&cupsLastErrorString) lastErrorString = nullptr;
    std::string error; // why the library could not be used
};

const Cups& cups() {
    static const Cups loaded = [] {
        Cups c;
        void* lib = dlopen("libcups.so.2", RTLD_NOW | RTLD_LOCAL);
        if (!lib) {
            const char* why = dlerror();
            c.error = std::string("the printing system's library could not be loaded: ") + (why ? why : "libcups.so.2");
            return c;
        }
        auto bind = [lib](auto& function, const char* name) {
            function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(dlsym(lib, name));
            return function != nullptr;
        };
        if (!(bind(c.createJob, "cupsCreateJob") && bind(c.startDocument, "cupsStartDocument") &&
              bind(c.writeRequestData, "cupsWriteRequestData") && bind(c.finishDocument, "cupsFinishDocument") &&
              bind(c.cancelJob, "cupsCancelJob2") && bind(c.lastErrorString, "cupsLastErrorString")))
            c.error = "the printing system's library lacks a function this program needs";
        return c;
    }();
    return loaded;
}

} // namespace

Result<int> submitPdf(const std::string& queue, const std::string& title, std::string_view pdf) {
    const Cups& c = cups();
    if (!c.error.empty())
        return Failure{c.error};
    auto refused = [&c] {
        const char* why = c.lastErrorString();
        return Failure{why && *why ? why : "the print queue did not take the document"};
    };
    const int id = c.createJob(CUPS_HTTP_DEFAULT, queue.c_str(), title.c_str(), 0, nullptr);
    if (id <= 0)
        return refused();
    const bool started = c.startDocument(CUPS_HTTP_DEFAULT, queue.c_str(), id, title.c_str(), CUPS_FORMAT_PDF, 1) ==
                         HTTP_STATUS_CONTINUE;
    bool sent = started && c.writeRequestData(CUPS_HTTP_DEFAULT, pdf.data(), pdf.size()) == HTTP_STATUS_CONTINUE;
    // Finishing reads the queue's answer to the document, so it runs whenever the document began.
    if (started)
        sent = c.finishDocument(CUPS_HTTP_DEFAULT, queue.c_str()) <= IPP_STATUS_OK_EVENTS_COMPLETE && sent;
    if (!sent) {
        const Failure why = refused(); // read before the cancel's own answer replaces it
        // A job left without its document would only wait in the queue for ever.
        c.cancelJob(CUPS_HTTP_DEFAULT, queue.c_str(), id, 0);
        return why;
    }
    return id;
}

} // namespace tally
