#include "device/family_models.h"

#include <string>

#include "device/ansi_text.h"

namespace device {

const FamilyModel* MatchFamilyModel(std::string_view printable, std::span<const int> order) {
  for (int number : order) {
    const std::string value = std::string(kFamilyModelArc) + std::to_string(number);
    if (!Contains(printable, value)) continue;
    for (const FamilyModel& model : kFamilyModels) {
      if (model.number == number) return &model;
    }
  }
  return nullptr;
}

}  // namespace device
