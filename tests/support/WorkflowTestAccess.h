#pragma once

#include <string>
#include <utility>

#include "core/workflow/Workflow.h"

namespace belvaron {

// For tests only: the state of a Workflow that a test lays out itself
// instead of reaching it through the steps (bookings and VAT rows of its
// own, store flags, the journal path they stand for, the program folder
// before Start). Everything else a test reads through the workflow's
// accessors.
struct WorkflowTestAccess {
    static BookingStore& Store(Workflow& flow) { return flow.store_; }
    static VatRows& Vat(Workflow& flow) { return flow.vatRows_; }
    static void SetJournalPath(Workflow& flow, std::string path) {
        flow.journalPath_ = std::move(path);
    }
    static void SetProgramFolder(Workflow& flow, std::string folder) {
        flow.folders_.programFolder = std::move(folder);
    }
};

}  // namespace belvaron
