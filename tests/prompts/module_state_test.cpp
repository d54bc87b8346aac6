#include "prompts/module_state.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>

#include "framework/application.h"
#include "prompts/application.h"

namespace prompts {
namespace {

TEST(ModuleStateTest, TheApplicationObjectExistsFromLoadAndIsTheModules) {
  EXPECT_EQ(framework::CurrentApplication(), &TheApp());
  EXPECT_EQ(TheApp().name(), kModuleName);
  EXPECT_EQ(ThisModuleState().application, &TheApp());
  EXPECT_NE(ThisModuleState().instance, nullptr);
}

TEST(ModuleStateTest, GuardMakesTheModulesStateCurrentAndPutsTheCallersBack) {
  ModuleState callers;
  ModuleStateGuard caller(callers);
  ASSERT_EQ(&CurrentModuleState(), &callers);
  {
    ModuleStateGuard guard;
    EXPECT_EQ(&CurrentModuleState(), &ThisModuleState());
  }
  EXPECT_EQ(&CurrentModuleState(), &callers);
}

TEST(ModuleStateTest, GuardRestoresOnAnExceptionToo) {
  ModuleState callers;
  ModuleStateGuard caller(callers);
  try {
    ModuleStateGuard guard;
    throw std::runtime_error("out of memory");
  } catch (const std::runtime_error&) {
  }
  EXPECT_EQ(&CurrentModuleState(), &callers);
}

TEST(ModuleStateTest, EachThreadHasItsOwnCurrentState) {
  ModuleState callers;
  ModuleStateGuard caller(callers);
  const ModuleState* seenByOtherThread = nullptr;
  std::thread other([&] { seenByOtherThread = &CurrentModuleState(); });
  other.join();
  EXPECT_EQ(seenByOtherThread, &ThisModuleState());
  EXPECT_EQ(&CurrentModuleState(), &callers);
}

}  // namespace
}  // namespace prompts
