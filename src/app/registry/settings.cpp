#include "registry/settings.h"

namespace ovn {

std::string CutReference(std::string_view reference, int places) {
  const std::size_t point = reference.find('.');
  if (places <= 0 || point == std::string_view::npos) return std::string(reference.substr(0, point));
  return std::string(reference.substr(0, point + 1 + static_cast<std::size_t>(places)));
}

}  // namespace ovn
