// GetPlatformErrorText, ClearPlatformErrorText and SetPlatformErrorText: the Windows-style face
// of the platform's last-error text (platform/core/last_error.h), which every module sets when a
// call fails.
#include "platform/api/win32.h"
#include "platform/core/last_error.h"

LPCSTR GetPlatformErrorText() {
  return platform::LastErrorText().c_str();
}

void ClearPlatformErrorText() {
  platform::ClearLastErrorText();
}

void SetPlatformErrorText(LPCSTR text) {
  platform::SetLastErrorText(text ? text : "");
}
