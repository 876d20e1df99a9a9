#pragma once

// The two forum actions behind the main window's buttons: log in, and the daily check-in.

#include "base/text.h"
#include "forum/check_in_form.h"

namespace quorvel {

enum class LoginOutcome { kEmptyBox, kLoggedIn, kFailed };
enum class CheckInOutcome { kCheckedIn, kAlreadyToday, kFailed };

// The click on the login button: checks both boxes, saves them, posts the login form and
// judges the page by its success phrase. The outcome is for the --headless run.
LoginOutcome OnLogin(CheckInForm& form);

// The click on the check-in button: posts the daily punch and sorts the page into three
// outcomes by two phrases.
CheckInOutcome OnCheckIn(CheckInForm& form);

// The login form's body for these credentials, as the forum expects it.
Text LoginBody(const Text& user_name, const Text& password);

// The addresses formed from the forum's base address.
Text LoginAddress();
Text CheckInAddress();
Text UserPageAddress();

}  // namespace quorvel
