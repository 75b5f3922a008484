// Builds a class's dispatch table from its C++ member functions (included by object.h).
//
//   static const DispatchTable table = DispatchBuilder<clsThing>()
//       .method("Export", 1, &clsThing::Export, {Variant(100), Variant(""), Variant(""), Variant("")})
//       .let("Filter", 2, &clsThing::setFilter)
//       .get("ErrorCount", 3, &clsThing::ErrorCount)
//       .build();
//
// Arguments are converted as VB converts them for the parameter type; a parameter taken by non-const
// reference is by reference: what the member leaves in it is written back to the caller's argument.
// `defaults` gives the values of trailing optional parameters; a missing argument without one raises 449.
#pragma once

#include <tuple>
#include <utility>

namespace quillane {

template <class T>
class DispatchBuilder {
 public:
  template <class R, class... P>
  DispatchBuilder& method(std::string name, DispId id, R (T::*fn)(P...), std::vector<Variant> defaults = {}) {
    return add(std::move(name), id, InvokeKind::Method, bindCall<R, P...>(fn, std::move(defaults)));
  }
  template <class R, class... P>
  DispatchBuilder& method(std::string name, DispId id, R (T::*fn)(P...) const, std::vector<Variant> defaults = {}) {
    return add(std::move(name), id, InvokeKind::Method, bindCall<R, P...>(fn, std::move(defaults)));
  }
  template <class R>
  DispatchBuilder& get(std::string name, DispId id, R (T::*fn)() const) {
    return add(std::move(name), id, InvokeKind::Get, bindCall<R>(fn, {}));
  }
  template <class R>
  DispatchBuilder& get(std::string name, DispId id, R (T::*fn)()) {
    return add(std::move(name), id, InvokeKind::Get, bindCall<R>(fn, {}));
  }
  template <class V>
  DispatchBuilder& let(std::string name, DispId id, void (T::*fn)(V)) {
    return add(std::move(name), id, InvokeKind::Let, bindCall<void, V>(fn, {}));
  }
  template <class V>
  DispatchBuilder& set(std::string name, DispId id, void (T::*fn)(V)) {
    return add(std::move(name), id, InvokeKind::Set, bindCall<void, V>(fn, {}));
  }
  // A member whose arguments do not map onto one C++ signature.
  DispatchBuilder& raw(std::string name, DispId id, InvokeKind kind, std::function<Variant(T&, Arguments)> fn) {
    return add(std::move(name), id, kind,
               [fn = std::move(fn)](AutomationObject& self, Arguments args) { return fn(static_cast<T&>(self), args); });
  }

  DispatchTable build() { return std::move(table_); }

 private:
  DispatchBuilder& add(std::string name, DispId id, InvokeKind kind, Invoker invoker) {
    table_.add(Member{std::move(name), id, kind, std::move(invoker)});
    return *this;
  }

  template <class Base>
  static Base argument(Arguments args, const std::vector<Variant>& defaults, std::size_t index, std::size_t count) {
    if (index < args.size()) return fromVariant<Base>(args[index]);
    std::size_t firstOptional = count - defaults.size();
    if (index < firstOptional) throw vbError(VbError::ArgumentNotOptional);
    return fromVariant<Base>(defaults[index - firstOptional]);
  }

  template <class R, class... P, class Fn>
  static Invoker bindCall(Fn fn, std::vector<Variant> defaults) {
    return [fn, defaults = std::move(defaults)](AutomationObject& self, Arguments args) -> Variant {
      return call<R, P...>(static_cast<T&>(self), fn, args, defaults, std::index_sequence_for<P...>{});
    };
  }

  template <class R, class... P, class Fn, std::size_t... I>
  static Variant call(T& self, Fn fn, Arguments args, const std::vector<Variant>& defaults,
                      std::index_sequence<I...>) {
    constexpr std::size_t count = sizeof...(P);
    if (args.size() > count) throw vbError(VbError::WrongArgumentCount);
    std::tuple<std::remove_cvref_t<P>...> locals{argument<std::remove_cvref_t<P>>(args, defaults, I, count)...};
    auto writeBack = [&] {
      ((detail::isByRef<P> && I < args.size() ? void(args[I] = toVariant(std::get<I>(locals))) : void()), ...);
    };
    if constexpr (std::is_void_v<R>) {
      (self.*fn)(std::get<I>(locals)...);
      writeBack();
      return Variant();
    } else {
      std::remove_cvref_t<R> result = (self.*fn)(std::get<I>(locals)...);
      writeBack();
      return toVariant(result);
    }
  }

  DispatchTable table_;
};

}  // namespace quillane
