#pragma once
// Lets Cancel undo a settings dialog. The dialogs edit their record in place so the meter follows
// every change on the next refresh pass; the wrapper keeps a copy of the record from before the
// dialog and puts it back when the dialog is cancelled.
#include <cstdint>

#include "settings/record_field_store.h"

// What a settings dialog ends with for Cancel, Esc or the close box. OK ends with 1, and a dialog
// that could not be created with -1: both keep the record as the dialog left it.
constexpr intptr_t DIALOG_CANCELLED = 0;

// Runs the dialog (a callable returning the dialog's result) between a snapshot of the record and,
// on DIALOG_CANCELLED, its restore. Returns the dialog's result.
template <typename Record, typename RunDialog>
intptr_t RunWithRecordSnapshot(Record& record, RunDialog&& runDialog) {
  const Record saved = record;
  const intptr_t result = static_cast<intptr_t>(runDialog());
  if (result == DIALOG_CANCELLED) StoreRecord(record, saved);
  return result;
}
