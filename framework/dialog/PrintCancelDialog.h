#pragma once
// The dialog shown while a print job runs. Its Cancel button cancels the job; the progress dialog of the
// program fills in the band and page numbers.

#include "framework/dialog/DialogFrameCL.h"

class PrintJob;

class PrintCancelDialog : public DialogFrameCL {
public:
    PrintCancelDialog(WindowCL* parent, const ResourceId& templateId);

    void SetJob(PrintJob* job) { job_ = job; }
    PrintJob* Job() const { return job_; }

    virtual void ShowBand(int band) {} // 22
    virtual void ShowPage(int page) {} // 23

private:
    long OnCancel(WindowEvent* event);

    PrintJob* job_ = nullptr;
};
