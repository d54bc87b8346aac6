// The product family's models: a sysObjectID of the family is the maker's
// arc "1.3.6.1.4.1.1129.2.3." followed by a model number. Each operation
// tests the models' values as substrings in its own order; the first match
// decides.
#pragma once

#include <span>
#include <string_view>

namespace device {

inline constexpr char kSysObjectIdOid[] = "1.3.6.1.2.1.1.2.0";
inline constexpr std::string_view kFamilyModelArc = "1.3.6.1.4.1.1129.2.3.";

// The two properties AbvPrinterCheck reads depend on the model's group.
enum class AbvGroup { kC, kX, kY };

struct FamilyModel {
  int number;
  bool multiFunction;  // what GetMFPModel answers 1 for
  AbvGroup abvGroup;
};

inline constexpr FamilyModel kFamilyModels[] = {
    {14, true, AbvGroup::kC},  {15, true, AbvGroup::kX},  {16, true, AbvGroup::kX},
    {17, false, AbvGroup::kY}, {18, false, AbvGroup::kC}, {19, false, AbvGroup::kX},
    {20, false, AbvGroup::kX}, {22, false, AbvGroup::kC}, {25, false, AbvGroup::kX},
    {26, false, AbvGroup::kX}, {27, false, AbvGroup::kX}, {28, false, AbvGroup::kC},
    {29, false, AbvGroup::kC}, {32, false, AbvGroup::kC}, {33, false, AbvGroup::kX},
    {34, false, AbvGroup::kX},
};

// The order in which each operation tests the models.
inline constexpr int kMfpModelOrder[] = {14, 15, 16};
inline constexpr int kVerifyModelOrder[] = {14, 15, 16, 17, 18, 32, 19, 22,
                                            28, 29, 20, 25, 26, 27, 33, 34};
inline constexpr int kAbvModelOrder[] = {14, 15, 19, 16, 20, 17, 18, 32,
                                         22, 28, 29, 26, 27, 25, 33, 34};

// The first model of `order` whose full value `printable` contains; null
// for a device that is not one of the family.
const FamilyModel* MatchFamilyModel(std::string_view printable, std::span<const int> order);

}  // namespace device
