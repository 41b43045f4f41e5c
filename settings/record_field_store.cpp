#include "settings/record_field_store.h"

#include <cstring>

namespace {

void StoreTime(RecordTime& target, const RecordTime& source) {
  StoreField(target.wYear, source.wYear);
  StoreField(target.wMonth, source.wMonth);
  StoreField(target.wDayOfWeek, source.wDayOfWeek);
  StoreField(target.wDay, source.wDay);
  StoreField(target.wHour, source.wHour);
  StoreField(target.wMinute, source.wMinute);
  StoreField(target.wSecond, source.wSecond);
  StoreField(target.wMilliseconds, source.wMilliseconds);
}

}  // namespace

void StoreRecord(DisplayItemRecord& target, const DisplayItemRecord& source) {
  StoreField(target.itemType, source.itemType);
  StoreField(target.fanOption, source.fanOption);
  StoreField(target.driveLetter, source.driveLetter);
  // Read by no other thread: only saved and loaded as they are.
  std::memcpy(target.padding, source.padding, sizeof target.padding);
  StoreField(target.hddUsed, source.hddUsed);
  StoreField(target.hddOption, source.hddOption);
  StoreField(target.ramUsed, source.ramUsed);
  StoreField(target.ramOption, source.ramOption);
  StoreField(target.pageUsed, source.pageUsed);
  StoreField(target.pageOption, source.pageOption);
  std::memcpy(target.reserved, source.reserved, sizeof target.reserved);
}

void StoreRecord(SystemControlRecord& target, const SystemControlRecord& source) {
  StoreField(target.panelMode, source.panelMode);
  StoreField(target.backlightMode, source.backlightMode);
  StoreField(target.fanMode, source.fanMode);
  StoreTime(target.backlightFrom, source.backlightFrom);
  StoreTime(target.backlightTo, source.backlightTo);
  StoreField(target.lowThreshold, source.lowThreshold);
  StoreField(target.highThreshold, source.highThreshold);
  StoreField(target.fanRatio, source.fanRatio);
}
