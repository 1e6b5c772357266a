// Creation of the library's classes by name, and the base they share. Every object is held by
// std::shared_ptr: whoever drops the last reference frees it.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "ovnliblt/export.h"
#include "ovnliblt/runtime_error.h"

namespace ovn {

class OVNLIBLT_API Component {
 public:
  virtual ~Component();

  // The name CreateObject knows the class by.
  virtual std::string_view ClassName() const noexcept = 0;

 protected:
  Component() = default;
  Component(const Component&) = default;
  Component& operator=(const Component&) = default;
};

// A new object of the class named exactly class_name: "StringList", "ExtremNum" or "ExtremNumList".
// Any other name raises error 5.
OVNLIBLT_API std::shared_ptr<Component> CreateObject(std::string_view class_name);

// CreateObject for a caller that knows the type it wants; a class of another type raises error 13.
template <class T>
std::shared_ptr<T> CreateObjectAs(std::string_view class_name) {
  auto object = std::dynamic_pointer_cast<T>(CreateObject(class_name));
  if (!object) {
    throw RuntimeError(ErrorNumber::kTypeMismatch, "CreateObject",
                       "an object of class " + std::string(class_name) + " is not of the requested type");
  }
  return object;
}

}  // namespace ovn
