#pragma once
// How a record field crosses threads: the UI thread (load, the settings dialogs, the Cancel
// restore) writes the records while the refresh worker reads them. Each access that may meet the
// other thread is one relaxed atomic access of the field's full width, so a pass sees every field
// either old or new and the records stay plain byte-exact structures the registry copies whole.
#include <atomic>
#include <type_traits>

#include "settings/settings_records.h"

template <typename T>
struct FieldValueOf {
  using type = T;  // keeps the value from taking part in deducing the field's type
};

template <typename Field>
constexpr void CheckSharedField() {
  static_assert(std::is_integral_v<Field> && sizeof(Field) <= 4);
  static_assert(alignof(Field) >= std::atomic_ref<Field>::required_alignment);
}

// Writes `value` into `field` (UI thread).
template <typename Field>
void StoreField(Field& field, typename FieldValueOf<Field>::type value) {
  CheckSharedField<Field>();
  std::atomic_ref<Field>(field).store(value, std::memory_order_relaxed);
}

// Reads `field` where another thread may be writing it (the refresh worker). The records are
// never const objects, only seen through const references.
template <typename Field>
Field LoadField(const Field& field) {
  CheckSharedField<Field>();
  return std::atomic_ref<Field>(const_cast<Field&>(field)).load(std::memory_order_relaxed);
}

// Copies `source` over `target` field by field with StoreField (UI thread): the Cancel restore
// and the values read at start-up reach the live records this way.
void StoreRecord(DisplayItemRecord& target, const DisplayItemRecord& source);
void StoreRecord(SystemControlRecord& target, const SystemControlRecord& source);
