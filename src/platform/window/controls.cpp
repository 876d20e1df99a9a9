#include "platform/window/controls.h"

#include <utility>

#include "platform/window/form.h"

namespace quorvel::platform {

void Control::SetVisible(bool visible) {
  visible_ = visible;
  Changed();
}

void Control::SetEnabled(bool enabled) {
  enabled_ = enabled;
  Changed();
}

void Control::Changed() {
  if (peer_ != nullptr) peer_->StateChanged();
}

bool Control::TakesUserInput() const {
  return owner_ != nullptr && !owner_->destroyed() && enabled_ && visible_;
}

void EditBox::SetText(std::string text) { Replace(std::move(text)); }

void EditBox::Replace(std::string text) {
  text_ = std::move(text);
  Changed();
  if (on_content_changed) on_content_changed();
}

void EditBox::SetPasswordMode(bool on) {
  password_mode_ = on;
  Changed();
}

void EditBox::UserEdited(std::string text) {
  // The widget already shows the new text; the peer compares before it touches the widget.
  if (TakesUserInput()) Replace(std::move(text));
}

void Button::UserClicked() {
  if (TakesUserInput() && on_clicked) on_clicked();
}

void LinkLabel::UserPressed() {
  if (TakesUserInput() && on_left_pressed) on_left_pressed();
}

bool StatusBar::SetText(int32_t part, std::string text) {
  if (part < 0 || part >= parts()) return false;
  text_ = std::move(text);
  Changed();
  return true;
}

}  // namespace quorvel::platform
