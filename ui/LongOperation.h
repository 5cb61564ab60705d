#pragma once
#include "transfer/WaitDlg.h"

#include <thread>

// Runs a long operation: the worker gets the job on a thread of its own while
// the progress dialog stays up; returns once the worker has set the dialog's
// status and the dialog has ended. The worker touches neither the job nor the
// dialog after the status, so it is not waited for beyond that (it may still
// be showing its result message).
template <class Job> void RunLongOperation(QWidget* parent, Job& job, int (*worker)(Job*)) {
    CWaitDlg wait(parent);
    job.Status = &wait.m_status;
    std::thread(worker, &job).detach();
    wait.exec();
}
