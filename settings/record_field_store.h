#pragma once
// How the settings dialogs write a record field while the refresh worker reads the record.
#include <type_traits>

template <typename T>
struct FieldValueOf {
  using type = T;  // keeps the value from taking part in deducing the field's type
};

// Writes `value` into `field` with one store of the field's full width, never a partial or
// merged copy, so a pass running meanwhile sees the field either old or new.
template <typename Field>
void StoreField(Field& field, typename FieldValueOf<Field>::type value) {
  static_assert(std::is_integral_v<Field> && sizeof(Field) <= 4);
  *static_cast<volatile Field*>(&field) = value;
}
