#pragma once

// What the login and check-in handlers see of the main window. The window implements it; a
// window that has been destroyed answers Alive() with false and ignores every change, so a
// handler that resumes after the window closed ends without touching it.

#include "base/text.h"

namespace quorvel {

class CheckInForm {
 public:
  virtual ~CheckInForm() = default;

  virtual bool Alive() const = 0;
  virtual Text UserName() const = 0;
  virtual Text Password() const = 0;
  virtual void SetLoginEnabled(bool enabled) = 0;
  virtual void SetCheckInEnabled(bool enabled) = 0;
  virtual void SetLinkVisible(bool visible) = 0;
  // Shows the text in the status bar (part 0).
  virtual void SetStatus(const Text& text) = 0;
  // Writes both edit boxes to config.ini.
  virtual void SaveCredentials() = 0;
};

}  // namespace quorvel
