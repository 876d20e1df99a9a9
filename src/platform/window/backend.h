#pragma once

// The window system behind a small interface, so that the program draws with Qt and the tests
// (and the --headless mode) run the same forms without a display. One backend serves the
// process at a time; it is chosen at start.

#include <cstdint>
#include <memory>
#include <string>

#include "platform/window/form.h"
#include "platform/worker_signal.h"

namespace quorvel::platform {

class WindowBackend {
 public:
  virtual ~WindowBackend() = default;

  // Creates the form's window, hidden, with one drawn control per control at its place,
  // showing the controls' present state. Raises no control event.
  virtual void CreateWindow(Form& form) = 0;
  // Shows the created window, centred on the screen.
  virtual void ShowCentred(Form& form) = 0;
  // Runs the window's message loop until the form is destroyed, then lets the window go.
  virtual void RunUntilDestroyed(Form& form) = 0;

  // A modal message box with one OK button and no icon; returns when it is closed, with 1
  // (OK). `text` and `title` are GBK bytes. `buttons` is accepted and not used: every caller
  // asks for one OK button.
  virtual int32_t ShowMessage(const std::string& text, int32_t buttons,
                              const std::string& title) = 0;
  // Shows the text in part `part` of the bar; a part outside the bar does nothing.
  virtual void SetStatusText(StatusBar& bar, int32_t part, const std::string& text) = 0;
  // Handles every pending window event, running its handlers on the calling thread.
  virtual void ProcessEvents() = 0;
  // The wait of worker_signal.h.
  virtual uint32_t WaitForSignalOrInput(const WorkerSignal& signal, uint32_t limit_ms) = 0;
  // Wakes the window thread out of a wait. Called from any thread.
  virtual void Wake() = 0;
};

// The backend in force; a headless one when none has been installed.
WindowBackend& Backend();
// Replaces the backend in force (window thread, with no wait running); null lets the old one
// go, and a headless one takes its place if the backend is asked for again.
void InstallBackend(std::unique_ptr<WindowBackend> backend);
// Wakes the window thread through the backend in force. Any thread.
void WakeWindowThread();

}  // namespace quorvel::platform
