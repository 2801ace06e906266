#include "purge/copy_job.h"

#include "toolkit/file_ops.h"
#include "toolkit/system.h"

namespace {

constexpr unsigned long notEnoughMemory = 8;

void copyWorker(void* parameter) {
    CopyJob& job = *static_cast<CopyJob*>(parameter);
    // Exact names: "notes " is not "notes". Nothing but the claimed file is written over.
    const unsigned long error = FileCopy(job.source, job.destination, [&job](int percent) {
        job.percent = percent;
        if (job.stopRequested && job.stopRequested()) job.cancelled = 1;
        return job.cancelled == 0;
    });
    job.error = error;
    job.succeeded = error == 0 ? 1 : 0;
    job.done = 1;
}

}  // namespace

void startCopy(CopyJob& job) {
    job.cancelled = 0;
    job.percent = 0;
    job.done = 0;
    job.succeeded = 0;
    job.error = 0;
    if (!ThreadStart(copyWorker, &job)) {
        job.error = notEnoughMemory;
        job.done = 1;
    }
}
