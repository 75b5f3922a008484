// Run-time errors: the automation error object, VB's numbered errors, and the thread's Err object.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace quillane {

// A run-time error as automation carries it. Raising one is throwing it; a handler is a catch.
class AutomationError : public std::runtime_error {
 public:
  AutomationError(std::int32_t number, std::string source, std::string description,
                  std::string helpFile = {}, std::int32_t helpContext = 0);

  std::int32_t number;
  std::string source;
  std::string description;
  std::string helpFile;
  std::int32_t helpContext;
};

// VB's own run-time errors that the library raises or expects from its components.
enum class VbError : std::int32_t {
  InvalidProcedureCall = 5,
  Overflow = 6,
  SubscriptOutOfRange = 9,
  TypeMismatch = 13,
  ObjectNotSet = 91,
  InvalidUseOfNull = 94,
  CannotCreateObject = 429,
  MemberNotSupported = 438,
  ArgumentNotOptional = 449,
  WrongArgumentCount = 450,
  DuplicateKey = 457,
};

// The base of errors that components define themselves (vbObjectError).
inline constexpr std::int32_t kObjectErrorBase = static_cast<std::int32_t>(0x80040000u);
// The number of the library's own refusals (an unsupported data type, a malformed bulk file...).
inline constexpr std::int32_t kLibraryRefusal = kObjectErrorBase + 200;

// VB's description of one of its errors ("Type mismatch").
std::string vbErrorDescription(VbError error);

// The error VB raises for `error`, with the source a component gives it (VB uses the project name).
AutomationError vbError(VbError error, std::string source = "Quillane");

// The Err object of the running thread: what a handler inspects and what "resume next" leaves behind.
// Code that calls into a component and must leave a caller's pending error as it was saves and restores
// it (`ErrState`).
struct ErrState {
  std::int32_t Number = 0;
  std::string Source;
  std::string Description;
  std::string HelpFile;
  std::int32_t HelpContext = 0;

  void Clear() { *this = ErrState{}; }
  void set(const AutomationError& e);
  [[noreturn]] void Raise() const;  // raises the error it holds
  bool operator==(const ErrState&) const = default;
};
ErrState& Err();

}  // namespace quillane
