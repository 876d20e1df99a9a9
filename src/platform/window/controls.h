#pragma once

// The controls of a form as plain state objects: what they show, whether they are enabled and
// visible, and one handler per event. A backend draws them through a ControlPeer and turns the
// user's input into the User* calls below; the controls themselves know nothing of drawing.
// Texts are GBK bytes. Everything here runs on the window thread.

#include <cstdint>
#include <functional>
#include <string>

namespace quorvel::platform {

class Form;

// A control's place in the client area of its form, in pixels.
struct Place {
  int32_t left = 0;
  int32_t top = 0;
  int32_t width = 0;
  int32_t height = 0;
};

// The backend's side of one control: told after every change of the control's state.
class ControlPeer {
 public:
  virtual ~ControlPeer() = default;
  virtual void StateChanged() = 0;
};

enum class ControlKind {
  kEditBox,
  kButton,
  kTransparentLabel,
  kLinkLabel,
  kPictureBox,
  kStatusBar
};

class Control {
 public:
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  virtual ~Control() = default;

  ControlKind kind() const { return kind_; }
  // The form's name for the control, GBK bytes.
  const std::string& name() const { return name_; }
  const Place& place() const { return place_; }

  bool visible() const { return visible_; }
  void SetVisible(bool visible);
  bool enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

  // Called by the form and its backend only.
  void AttachPeer(ControlPeer* peer) { peer_ = peer; }
  void SetOwner(const Form* owner) { owner_ = owner; }

 protected:
  Control(ControlKind kind, std::string name, Place place)
      : kind_(kind), name_(std::move(name)), place_(place) {}
  // Tells the peer, if any, to show the new state.
  void Changed();
  // True when user input may reach the control: its form exists and has not been destroyed,
  // and the control is enabled and shown.
  bool TakesUserInput() const;

 private:
  ControlKind kind_;
  std::string name_;
  Place place_;
  bool visible_ = true;
  bool enabled_ = true;
  ControlPeer* peer_ = nullptr;
  const Form* owner_ = nullptr;
};

// A single-line edit box. Its content-changed handler runs once for every change of its text,
// by the program or by the user, before the change returns.
class EditBox : public Control {
 public:
  EditBox(std::string name, Place place, std::string text = {})
      : Control(ControlKind::kEditBox, std::move(name), place), text_(std::move(text)) {}

  const std::string& text() const { return text_; }
  // Sets the text and runs the content-changed handler once, also when the text is the same.
  void SetText(std::string text);
  bool password_mode() const { return password_mode_; }
  // Shows every character as "*" (true) or plainly.
  void SetPasswordMode(bool on);

  // The user changed the text to `text` (each edit once); runs the content-changed handler.
  void UserEdited(std::string text);

  std::function<void()> on_content_changed;

 private:
  // Stores the text, shows it and runs the content-changed handler.
  void Replace(std::string text);

  std::string text_;
  bool password_mode_ = false;
};

// A push button; never a default button.
class Button : public Control {
 public:
  Button(std::string name, Place place, std::string text)
      : Control(ControlKind::kButton, std::move(name), place), text_(std::move(text)) {}

  const std::string& text() const { return text_; }

  // The user clicked the button: runs the clicked handler when the button is enabled and shown.
  void UserClicked();

  std::function<void()> on_clicked;

 private:
  std::string text_;
};

// A caption drawn without a background, in the default colour.
class TransparentLabel : public Control {
 public:
  TransparentLabel(std::string name, Place place, std::string text)
      : Control(ControlKind::kTransparentLabel, std::move(name), place), text_(std::move(text)) {}

  const std::string& text() const { return text_; }

 private:
  std::string text_;
};

// A label used as a link: centred text in its own colour, the hand pointer over it, and a
// handler for the press of the left mouse button.
class LinkLabel : public Control {
 public:
  struct Colour {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
  };

  LinkLabel(std::string name, Place place, std::string text, Colour colour)
      : Control(ControlKind::kLinkLabel, std::move(name), place),
        text_(std::move(text)),
        colour_(colour) {}

  const std::string& text() const { return text_; }
  Colour colour() const { return colour_; }

  // The left mouse button went down on the label: runs the pressed handler when it is shown.
  void UserPressed();

  std::function<void()> on_left_pressed;

 private:
  std::string text_;
  Colour colour_;
};

// A borderless box showing a picture (the bytes of an image file) centred, scaled down to fit.
class PictureBox : public Control {
 public:
  PictureBox(std::string name, Place place, std::string image_bytes)
      : Control(ControlKind::kPictureBox, std::move(name), place),
        image_bytes_(std::move(image_bytes)) {}

  const std::string& image_bytes() const { return image_bytes_; }

 private:
  std::string image_bytes_;
};

// A status bar with one part that spans it.
class StatusBar : public Control {
 public:
  StatusBar(std::string name, Place place, std::string text)
      : Control(ControlKind::kStatusBar, std::move(name), place), text_(std::move(text)) {}

  int32_t parts() const { return 1; }
  const std::string& text() const { return text_; }
  // Shows the text in the part numbered `part` from 0; a part outside the bar does nothing and
  // gives false.
  bool SetText(int32_t part, std::string text);

 private:
  std::string text_;
};

}  // namespace quorvel::platform
