#include "platform/core/last_error.h"

#include <utility>

namespace platform {
namespace {

std::string& Text() {
  static std::string text;  // the one line of the last failure; empty when none
  return text;
}

}  // namespace

void SetLastErrorText(std::string text) {
  Text() = std::move(text);
}
const std::string& LastErrorText() {
  return Text();
}
void ClearLastErrorText() {
  Text().clear();
}

}  // namespace platform
