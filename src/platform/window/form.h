#pragma once

// A form: one top-level window with a title, an icon, a fixed client area and the controls it
// owns. It lives from its construction to the end of its owner; the window it describes is
// destroyed once, when the user closes it, and from then on no user input reaches its controls.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/window/controls.h"

namespace quorvel::platform {

class Form {
 public:
  Form(std::string title, int32_t client_width, int32_t client_height, std::string icon_bytes)
      : title_(std::move(title)),
        client_width_(client_width),
        client_height_(client_height),
        icon_bytes_(std::move(icon_bytes)) {}
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;
  // Lets the backend's window go first, should it still hold one.
  ~Form();

  // Creates a control owned by the form. Its state is set by its constructor; no event runs.
  template <typename C, typename... Args>
  C& Add(Args&&... args) {
    auto control = std::make_unique<C>(std::forward<Args>(args)...);
    C& result = *control;
    result.SetOwner(this);
    controls_.push_back(std::move(control));
    return result;
  }

  const std::vector<std::unique_ptr<Control>>& controls() const { return controls_; }
  // The control of that name, or null.
  Control* Find(const std::string& name) const;

  // GBK bytes.
  const std::string& title() const { return title_; }
  int32_t client_width() const { return client_width_; }
  int32_t client_height() const { return client_height_; }
  // The bytes of an icon image file; empty for the backend's default icon.
  const std::string& icon_bytes() const { return icon_bytes_; }

  // True once the window has been destroyed.
  bool destroyed() const { return destroyed_; }
  // The window is going: runs on_destroying once, detaches every control from its peer and
  // marks the form destroyed. Later calls do nothing. Called by the backend on a close.
  void Destroy();

  std::function<void()> on_destroying;

  // Called by the backend: `release` lets its window for this form go; it runs when the form
  // itself goes before the backend has let the window go.
  void SetWindowRelease(std::function<void()> release) { release_window_ = std::move(release); }

 private:
  std::string title_;
  int32_t client_width_;
  int32_t client_height_;
  std::string icon_bytes_;
  std::vector<std::unique_ptr<Control>> controls_;
  std::function<void()> release_window_;
  bool destroying_ = false;
  bool destroyed_ = false;
};

}  // namespace quorvel::platform
