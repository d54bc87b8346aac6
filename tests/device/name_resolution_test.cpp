// The name-resolution entry points are bound once and kept, and bound anew
// for a machine installed later.
#include "device/name_resolution.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>

#include "device/device_address.h"
#include "platform/machine.h"
#include "platform/simulated/simulated_machine.h"

namespace device {
namespace {

class CountingNetwork : public platform::Network {
 public:
  explicit CountingNetwork(platform::Network& inner) : inner_(inner) {}
  platform::NameResolver* BindNameResolver() override {
    ++binds;
    return inner_.BindNameResolver();
  }
  int binds = 0;

 private:
  platform::Network& inner_;
};

// A simulated machine whose network counts the bindings.
class CountingMachine : public platform::Machine {
 public:
  explicit CountingMachine(const char* hosts)
      : inner_(platform::simulated::SimulatedMachine::FromRegistryLines(hosts)),
        network_(inner_->network()) {}
  platform::Spooler& spooler() override { return inner_->spooler(); }
  platform::Registry& registry() override { return inner_->registry(); }
  platform::Network& network() override { return network_; }
  platform::UserInterface& ui() override { return inner_->ui(); }
  platform::Kernel& kernel() override { return inner_->kernel(); }
  CountingNetwork& counting() { return network_; }

 private:
  std::unique_ptr<platform::simulated::SimulatedMachine> inner_;
  CountingNetwork network_;
};

constexpr char kHosts[] =
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\SimulatedMachine\\Hosts]\n"
    "\"copier.test\"=\"10.1.2.3,10.1.2.4\"\n";

class InstalledMachine {
 public:
  explicit InstalledMachine(std::unique_ptr<CountingMachine> machine)
      : machine_(machine.get()), previous_(platform::InstallMachine(std::move(machine))) {}
  ~InstalledMachine() { platform::InstallMachine(std::move(previous_)); }
  CountingMachine& operator*() { return *machine_; }

 private:
  CountingMachine* machine_;
  std::unique_ptr<platform::Machine> previous_;
};

std::string Resolve(const char* name) {
  std::array<char, kAddressBufferSize> out{};
  return ResolveNumericAddress(name, out.data()) ? out.data() : "(failed)";
}

TEST(NameResolutionTest, EntryPointsAreBoundOnceAndKept) {
  InstalledMachine machine(std::make_unique<CountingMachine>(kHosts));
  EXPECT_EQ(Resolve("copier.test"), "10.1.2.4");  // the last address wins
  EXPECT_EQ(Resolve("copier.test"), "10.1.2.4");
  EXPECT_EQ((*machine).counting().binds, 1);
}

TEST(NameResolutionTest, AMachineInstalledLaterIsBoundAnew) {
  InstalledMachine first(std::make_unique<CountingMachine>(kHosts));
  EXPECT_EQ(Resolve("copier.test"), "10.1.2.4");
  InstalledMachine second(std::make_unique<CountingMachine>(
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\SimulatedMachine\\Hosts]\n\"copier.test\"=\"10.9.9.9\"\n"));
  EXPECT_EQ(Resolve("copier.test"), "10.9.9.9");
  EXPECT_EQ((*second).counting().binds, 1);
}

}  // namespace
}  // namespace device
