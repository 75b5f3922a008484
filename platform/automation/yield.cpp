#include "platform/automation/yield.h"

namespace quillane {
namespace {
std::function<void()>& hook() {
  thread_local std::function<void()> current;
  return current;
}
}  // namespace

std::function<void()> SetYieldHook(std::function<void()> newHook) {
  std::function<void()> old = std::move(hook());
  hook() = std::move(newHook);
  return old;
}

void YieldToMessageLoop() {
  if (auto current = hook()) current();
}

}  // namespace quillane
