// The C interface of quillane.h over the automation layer.
#include <string>

#include "accountset/accountset.h"
#include "platform/automation/factory.h"
#include "registration/c_guard.h"
#include "registration/c_handles.h"
#include "registration/c_variant.h"

namespace quillane::capi {
namespace {

struct LastError {
  std::int32_t number = 0;
  std::string source;
  std::string description;
};

LastError& lastError() {
  thread_local LastError error;
  return error;
}

const char* RequiredText(const char* text) { return &Required(text); }

}  // namespace

void ClearLastError() { lastError() = LastError{}; }

void SetLastError(std::int32_t number, std::string source, std::string description) {
  lastError() = LastError{number, std::move(source), std::move(description)};
}

}  // namespace quillane::capi

using namespace quillane;
using namespace quillane::capi;

extern "C" {

int32_t quillane_last_error_number(void) { return lastError().number; }
const char* quillane_last_error_source(void) { return lastError().source.c_str(); }
const char* quillane_last_error_description(void) { return lastError().description.c_str(); }

quillane_result quillane_create_object(const char* prog_id, quillane_object** object) {
  return Guarded([&] {
    quillane_object*& out = Required(object);
    out = nullptr;
    out = NewObjectHandle(CreateObject(RequiredText(prog_id)));
    return QUILLANE_S_OK;
  });
}

quillane_result quillane_release(quillane_object* object) {
  return Guarded([&] {
    if (object && !DeleteObjectHandle(object)) RefuseHandle();
    return QUILLANE_S_OK;
  });
}

const char* quillane_class_name(const quillane_object* object) {
  const char* name = "";
  Guarded([&] {
    if (object) name = ClassNameOf(object).c_str();
    return QUILLANE_S_OK;
  });
  return name;
}

quillane_result quillane_variant_set_string(quillane_variant* variant, const char* utf8) {
  return Guarded([&] {
    ToC(Variant(RequiredText(utf8)), Required(variant));
    return QUILLANE_S_OK;
  });
}

quillane_result quillane_variant_set_bytes(quillane_variant* variant, const uint8_t* data, size_t length) {
  return Guarded([&] {
    if (length && !data) throw Refusal(QUILLANE_E_POINTER, VbError::InvalidProcedureCall);
    ToC(Variant(Bytes(data, data + length)), Required(variant));
    return QUILLANE_S_OK;
  });
}

quillane_result quillane_variant_set_object(quillane_variant* variant, quillane_object* object) {
  return Guarded([&] {
    ToC(Variant(object ? ObjectOf(object) : ObjectRef()), Required(variant));
    return QUILLANE_S_OK;
  });
}

// Each call holds its own reference to the object: a callback may release the caller's handle while
// the member runs.
quillane_result quillane_get_property(quillane_object* object, const char* name, quillane_variant* result) {
  return Guarded([&] {
    ObjectRef self = ObjectOf(&Required(object));
    quillane_variant& out = Required(result);
    ToC(self->Get(RequiredText(name)), out);
    return QUILLANE_S_OK;
  });
}

quillane_result quillane_set_property(quillane_object* object, const char* name, const quillane_variant* value) {
  return Guarded([&] {
    ObjectRef self = ObjectOf(&Required(object));
    Variant assigned = FromC(Required(value));
    if (assigned.isObject())
      self->Set(RequiredText(name), assigned.as<ObjectRef>());
    else
      self->Let(RequiredText(name), std::move(assigned));
    return QUILLANE_S_OK;
  });
}

quillane_result quillane_call(quillane_object* object, const char* name, quillane_variant* args, size_t arg_count,
                              quillane_variant* result) {
  return Guarded([&] {
    ObjectRef self = ObjectOf(&Required(object));
    const char* member = RequiredText(name);
    std::vector<Variant> values = FromC(args, arg_count);
    // As an automation client's late-bound call: a method of that name, else a property get with the
    // arguments given (a collection's Item(i)); neither raises 438.
    InvokeKind kind = self->dispatchTable().find(member, InvokeKind::Method) ? InvokeKind::Method : InvokeKind::Get;
    Variant returned = self->Invoke(member, kind, values);
    WriteBack(values, args);
    if (result) ToC(returned, *result);
    return QUILLANE_S_OK;
  });
}

quillane_result quillane_advise(quillane_object* object, quillane_event_callback callback, void* user_data,
                                uint32_t* cookie) {
  return Guarded([&] {
    quillane_object* source = &Required(object);
    ObjectRef self = ObjectOf(source);
    if (!callback) throw Refusal(QUILLANE_E_POINTER, VbError::InvalidProcedureCall);
    uint32_t& out = Required(cookie);
    AutomationObject::SinkCookie made =
        self->Advise([source, callback, user_data](std::string_view event, DispId id, Arguments args) {
          // An event already under way when a callback releases the handle reaches no other callback
          // advised through it.
          if (!IsLive(source)) return;
          CArguments cargs(args);
          std::string eventName(event);
          callback(source, eventName.c_str(), id, cargs.data(), cargs.size(), user_data);
          TakeBack(cargs.data(), args);
        });
    if (!KeepCookie(source, made)) {
      self->Unadvise(made);
      RefuseHandle();
    }
    out = made;
    return QUILLANE_S_OK;
  });
}

quillane_result quillane_unadvise(quillane_object* object, uint32_t cookie) {
  return Guarded([&] {
    ObjectRef self = ObjectOf(&Required(object));
    if (!DropCookie(object, cookie)) throw Refusal(QUILLANE_E_INVALIDARG, VbError::InvalidProcedureCall);
    self->Unadvise(cookie);
    return QUILLANE_S_OK;
  });
}

quillane_result quillane_create_sample_account_set(const char* path, int32_t items_per_class) {
  return Guarded([&] {
    if (items_per_class < 0) throw Refusal(QUILLANE_E_INVALIDARG, VbError::InvalidProcedureCall);
    accountset::CreateSample(RequiredText(path), items_per_class);
    return QUILLANE_S_OK;
  });
}

}  // extern "C"
