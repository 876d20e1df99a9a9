#pragma once

// The Qt window of one form: a fixed-size top-level widget with the close box only, holding one
// widget per control. Esc closes it like the close box; a close destroys the form.

#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "platform/window/form.h"

namespace quorvel::platform {

class FormWindow : public QWidget {
 public:
  // Builds the window, hidden. `on_destroyed` runs after a close has destroyed the form.
  FormWindow(Form& form, std::function<void()> on_destroyed);
  ~FormWindow() override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  Form& form_;
  std::function<void()> on_destroyed_;
  std::vector<std::unique_ptr<ControlPeer>> peers_;
};

}  // namespace quorvel::platform
