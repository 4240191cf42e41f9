// The DirectX records the video code hands to an interface to fill or to read: all zero but
// their dwSize, which every interface checks first.
#pragma once

#include <cstring>

#include "platform/api/ddraw.h"

template <typename Record>
Record SizedRecord(DWORD size) {
  Record record;
  std::memset(&record, 0, sizeof record);
  record.dwSize = size;
  return record;
}
