// The framework's application object: one per module, constructed at load.
// It names the module, which captions the framework's own message boxes.
#pragma once

#include <string>
#include <string_view>

namespace framework {

class Application {
 public:
  explicit Application(std::string_view name);
  virtual ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  const std::string& name() const { return name_; }

 private:
  std::string name_;
};

// AfxGetApp: the module's application object, or null before it exists.
Application* CurrentApplication();

}  // namespace framework
