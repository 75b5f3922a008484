// The C boundary: the thread's last error and the one place where C++ exceptions become result codes.
#pragma once

#include <exception>
#include <new>

#include "platform/automation/errors.h"
#include "quillane/quillane.h"

namespace quillane::capi {

// A call the C caller got wrong (a null pointer, an unknown type code, a class this build lacks):
// answered with its own result code and described as the VB error it amounts to.
struct Refusal : AutomationError {
  Refusal(quillane_result code, VbError error) : Refusal(code, vbError(error)) {}
  Refusal(quillane_result code, AutomationError error) : AutomationError(std::move(error)), code(code) {}
  quillane_result code;
};

void ClearLastError();
void SetLastError(std::int32_t number, std::string source, std::string description);

// A pointer argument that must not be null.
template <class T>
T& Required(T* pointer) {
  if (!pointer) throw Refusal(QUILLANE_E_POINTER, VbError::InvalidProcedureCall);
  return *pointer;
}

// Runs body (which returns a quillane_result) with the last error cleared; whatever it raises becomes
// the last error and a result: a refusal its own code, an automation error automationFailure.
template <class F>
quillane_result Guarded(F&& body, quillane_result automationFailure = QUILLANE_E_EXCEPTION) noexcept {
  ClearLastError();
  try {
    return body();
  } catch (const Refusal& e) {
    SetLastError(e.number, e.source, e.description);
    return e.code;
  } catch (const AutomationError& e) {
    SetLastError(e.number, e.source, e.description);
    return automationFailure;
  } catch (const std::bad_alloc& e) {
    SetLastError(QUILLANE_E_OUTOFMEMORY, "Quillane", e.what());
    return QUILLANE_E_OUTOFMEMORY;
  } catch (const std::exception& e) {
    SetLastError(QUILLANE_E_UNEXPECTED, "Quillane", e.what());
    return QUILLANE_E_UNEXPECTED;
  } catch (...) {
    SetLastError(QUILLANE_E_UNEXPECTED, "Quillane", "");
    return QUILLANE_E_UNEXPECTED;
  }
}

}  // namespace quillane::capi
