#pragma once

// Joins the main window and the forum actions: the window as the forum actions see it, and
// its two buttons wired to them.

#include "app/main_window.h"
#include "forum/check_in_form.h"

namespace quorvel {

// The main window as the login and check-in handlers see it. Once the window is destroyed,
// Alive() is false and every change is ignored.
class MainWindowCheckInForm : public CheckInForm {
 public:
  explicit MainWindowCheckInForm(MainWindow& window) : window_(window) {}

  bool Alive() const override { return !window_.destroyed(); }
  Text UserName() const override;
  Text Password() const override;
  void SetLoginEnabled(bool enabled) override;
  void SetCheckInEnabled(bool enabled) override;
  void SetLinkVisible(bool visible) override;
  void SetStatus(const Text& text) override;
  void SaveCredentials() override;

 private:
  MainWindow& window_;
};

// Sets the window's click handlers to OnLogin and OnCheckIn.
void WireForumActions(MainWindow& window);

}  // namespace quorvel
