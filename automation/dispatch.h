#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <utility>

#include "automation/status.h"
#include "automation/variant.h"

// The late-bound object interface, shaped after IDispatch: members are looked
// up by name (without regard to case) under a locale id and invoked by id.
namespace varnex::automation {

using DispId = std::int32_t;
using Lcid = std::uint32_t;

inline constexpr DispId DISPID_VALUE = 0;  // the default member
inline constexpr DispId DISPID_UNKNOWN = -1;
inline constexpr DispId DISPID_PROPERTYPUT = -3;  // the named argument of a property write

// Invoke flags, with COM's values.
using InvokeKind = std::uint16_t;
inline constexpr InvokeKind DISPATCH_METHOD = 1;
inline constexpr InvokeKind DISPATCH_PROPERTYGET = 2;
inline constexpr InvokeKind DISPATCH_PROPERTYPUT = 4;
inline constexpr InvokeKind DISPATCH_PROPERTYPUTREF = 8;

inline constexpr Lcid LOCALE_ZH_CN = 0x0804;

// The arguments of one call, as DISPPARAMS holds them: in reverse order
// (args[0] is the last argument), the named ones first.
struct DispParams {
  std::span<Variant> args;
  std::span<const DispId> named_ids;
};

// What the type information says of one kind of call on a member: the
// declared type of each parameter (VT_VARIANT where any type is taken).
struct MemberDescription {
  std::span<const VarType> parameter_types;
};

class Dispatch {
 public:
  virtual std::uint32_t AddRef() = 0;
  virtual std::uint32_t Release() = 0;

  // DISP_E_UNKNOWNNAME when the object has no member of that name.
  virtual HResult GetIdOfName(std::u16string_view name, Lcid lcid, DispId* id) = 0;

  // S_OK and the parameter types when the member can be called with that
  // kind; DISP_E_MEMBERNOTFOUND when it cannot.
  virtual HResult DescribeMember(DispId id, InvokeKind kind, MemberDescription* description) = 0;

  virtual HResult Invoke(DispId id, Lcid lcid, InvokeKind kind, DispParams& params,
                         Variant* result) = 0;

  // Puts the object into its running state (OleRun); most objects are
  // running from the start.
  virtual HResult Run() { return S_OK; }

 protected:
  ~Dispatch() = default;
};

// A counted base for objects served in-process; deletes itself on the last
// release.
class RefCountedDispatch : public Dispatch {
 public:
  std::uint32_t AddRef() override { return ++references_; }
  std::uint32_t Release() override {
    const std::uint32_t left = --references_;
    if (left == 0) delete this;
    return left;
  }
  std::uint32_t references() const { return references_; }

 protected:
  RefCountedDispatch() = default;
  virtual ~RefCountedDispatch() = default;

 private:
  std::uint32_t references_ = 0;
};

// An owning pointer that holds one counted reference.
template <typename T>
class Ref {
 public:
  Ref() = default;
  explicit Ref(T* object) : object_(object) {
    if (object_) object_->AddRef();
  }
  // Takes over a reference that the caller already holds.
  static Ref Adopt(T* object) {
    Ref ref;
    ref.object_ = object;
    return ref;
  }
  Ref(const Ref& other) : Ref(other.object_) {}
  Ref(Ref&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
  Ref& operator=(Ref other) noexcept {
    std::swap(object_, other.object_);
    return *this;
  }
  ~Ref() { Reset(); }

  void Reset() {
    if (T* object = std::exchange(object_, nullptr)) object->Release();
  }
  T* get() const { return object_; }
  T* operator->() const { return object_; }
  T& operator*() const { return *object_; }
  explicit operator bool() const { return object_ != nullptr; }

 private:
  T* object_ = nullptr;
};

template <typename T, typename... Args>
Ref<T> MakeRef(Args&&... args) {
  return Ref<T>(new T(std::forward<Args>(args)...));
}

}  // namespace varnex::automation
