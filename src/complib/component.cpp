#include "ovnliblt/component.h"

#include <array>

#include "ovnliblt/extrem_num.h"
#include "ovnliblt/extrem_num_list.h"
#include "ovnliblt/string_list.h"

namespace ovn {

// Defined here so the vtable and type information live in the library, where dynamic casts of the
// program and of the library agree on them.
Component::~Component() = default;

namespace {

struct CreatableClass {
  std::string_view name;
  std::shared_ptr<Component> (*create)();
};

template <class T>
constexpr CreatableClass Creatable() {
  return {T::kClassName, [] { return std::shared_ptr<Component>(std::make_shared<T>()); }};
}

constexpr std::array kCreatableClasses{Creatable<StringList>(), Creatable<ExtremNum>(),
                                       Creatable<ExtremNumList>()};

}  // namespace

std::shared_ptr<Component> CreateObject(std::string_view class_name) {
  for (const CreatableClass& creatable : kCreatableClasses) {
    if (creatable.name == class_name) return creatable.create();
  }
  throw RuntimeError(ErrorNumber::kInvalidArgument, "CreateObject",
                     "the component library has no class named \"" + std::string(class_name) + "\"");
}

}  // namespace ovn
