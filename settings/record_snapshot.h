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
//
// While the dialog runs, `beforeDialog` points at the snapshot, so that a quit meanwhile saves
// the record the user last confirmed rather than unconfirmed edits. A dialog opened over one
// already open for the same record leaves it pointing at the outer, earlier snapshot.
template <typename Record, typename RunDialog>
intptr_t RunWithRecordSnapshot(Record& record, const Record*& beforeDialog, RunDialog&& runDialog) {
  const Record saved = record;
  const Record* outer = beforeDialog;
  if (!outer) beforeDialog = &saved;
  const intptr_t result = static_cast<intptr_t>(runDialog());
  beforeDialog = outer;
  if (result == DIALOG_CANCELLED) StoreRecord(record, saved);
  return result;
}

// The record a save writes: the one from before the open dialog, if one is open.
template <typename Record>
const Record& ConfirmedRecord(const Record& live, const Record* beforeDialog) {
  return beforeDialog ? *beforeDialog : live;
}
