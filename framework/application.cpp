#include "framework/application.h"

namespace framework {
namespace {

Application*& TheApplication() {
  static Application* application = nullptr;
  return application;
}

}  // namespace

Application::Application(std::string_view name) : name_(name) { TheApplication() = this; }

Application::~Application() {
  if (TheApplication() == this) TheApplication() = nullptr;
}

Application* CurrentApplication() { return TheApplication(); }

}  // namespace framework
