#include "platform/automation/errors.h"

namespace quillane {

AutomationError::AutomationError(std::int32_t number_, std::string source_, std::string description_,
                                 std::string helpFile_, std::int32_t helpContext_)
    : std::runtime_error(description_),
      number(number_),
      source(std::move(source_)),
      description(std::move(description_)),
      helpFile(std::move(helpFile_)),
      helpContext(helpContext_) {}

std::string vbErrorDescription(VbError error) {
  switch (error) {
    case VbError::InvalidProcedureCall: return "Invalid procedure call or argument";
    case VbError::Overflow: return "Overflow";
    case VbError::SubscriptOutOfRange: return "Subscript out of range";
    case VbError::TypeMismatch: return "Type mismatch";
    case VbError::ObjectNotSet: return "Object variable or With block variable not set";
    case VbError::InvalidUseOfNull: return "Invalid use of Null";
    case VbError::CannotCreateObject: return "ActiveX component can't create object";
    case VbError::MemberNotSupported: return "Object doesn't support this property or method";
    case VbError::ArgumentNotOptional: return "Argument not optional";
    case VbError::WrongArgumentCount: return "Wrong number of arguments or invalid property assignment";
    case VbError::DuplicateKey: return "This key is already associated with an element of this collection";
  }
  return "Application-defined or object-defined error";
}

AutomationError vbError(VbError error, std::string source) {
  return AutomationError(static_cast<std::int32_t>(error), std::move(source), vbErrorDescription(error));
}

void ErrState::set(const AutomationError& e) {
  Number = e.number;
  Source = e.source;
  Description = e.description;
  HelpFile = e.helpFile;
  HelpContext = e.helpContext;
}

void ErrState::Raise() const { throw AutomationError(Number, Source, Description, HelpFile, HelpContext); }

// Module-level state lives once per apartment. The library's apartment is the calling thread, so every
// module-level variable of the library is thread_local, like this one.
ErrState& Err() {
  thread_local ErrState state;
  return state;
}

}  // namespace quillane
