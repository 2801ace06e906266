#include "purge/copy_job.h"

#include "toolkit/file_ops.h"

void copyFile(CopyJob& job) {
    // Exact names: "notes " is not "notes". Nothing but the claimed file is written over.
    const unsigned long error = FileCopy(job.source, job.destination, [&job](int percent) {
        job.percent = percent;
        if (job.stopRequested && job.stopRequested()) job.cancelled = 1;
        return job.cancelled == 0;
    });
    job.succeeded = error == 0 ? 1 : 0;
}
