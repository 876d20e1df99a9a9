#include "platform/window/form.h"

#include <utility>

namespace quorvel::platform {

Form::~Form() {
  if (release_window_) std::exchange(release_window_, nullptr)();
}

Control* Form::Find(const std::string& name) const {
  for (const auto& control : controls_) {
    if (control->name() == name) return control.get();
  }
  return nullptr;
}

void Form::Destroy() {
  if (destroying_) return;
  destroying_ = true;
  if (on_destroying) on_destroying();
  for (const auto& control : controls_) control->AttachPeer(nullptr);
  destroyed_ = true;
}

}  // namespace quorvel::platform
