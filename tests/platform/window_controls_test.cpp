// The controls as state objects: when their events run, and what their backend peer is told.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/window/controls.h"
#include "platform/window/form.h"

namespace quorvel::platform {
namespace {

// Records what the control shows at each change.
class RecordingPeer : public ControlPeer {
 public:
  explicit RecordingPeer(const EditBox& box) : box_(box) {}
  void StateChanged() override { seen.push_back(box_.text()); }
  std::vector<std::string> seen;

 private:
  const EditBox& box_;
};

class ControlsTest : public ::testing::Test {
 protected:
  Form form_{"form", 100, 100, {}};
  EditBox& box_ = form_.Add<EditBox>("box", Place{1, 2, 3, 4}, "old");
  Button& button_ = form_.Add<Button>("button", Place{}, "ok");
  LinkLabel& link_ = form_.Add<LinkLabel>("link", Place{}, "go", LinkLabel::Colour{});
  StatusBar& bar_ = form_.Add<StatusBar>("bar", Place{}, "first");
  std::vector<std::string> changes_;  // the box's text as each content-changed handler saw it

  void SetUp() override {
    box_.on_content_changed = [this] { changes_.push_back(box_.text()); };
  }
};

// A program change raises content-changed once, before the setter returns, also for the same
// text; the peer already shows the new text when the handler runs.
TEST_F(ControlsTest, ProgramChangeRaisesContentChangedOnce) {
  RecordingPeer peer(box_);
  box_.AttachPeer(&peer);
  box_.on_content_changed = [&] {
    changes_.push_back(box_.text());
    EXPECT_EQ(peer.seen.back(), box_.text());
  };
  box_.SetText("new");
  EXPECT_EQ(changes_, std::vector<std::string>{"new"});
  box_.SetText("new");
  EXPECT_EQ(changes_, (std::vector<std::string>{"new", "new"}));
  EXPECT_EQ(peer.seen, (std::vector<std::string>{"new", "new"}));
}

TEST_F(ControlsTest, UserEditRaisesContentChangedOnce) {
  box_.UserEdited("olda");
  EXPECT_EQ(changes_, std::vector<std::string>{"olda"});
  EXPECT_EQ(box_.text(), "olda");
}

// A handler that sets the text of its own box (or another) sees each change exactly once.
TEST_F(ControlsTest, HandlerChangingTheTextRunsOncePerChange) {
  int runs = 0;
  box_.on_content_changed = [&] {
    if (++runs == 1) box_.SetText("from handler");
  };
  box_.UserEdited("typed");
  EXPECT_EQ(runs, 2);
  EXPECT_EQ(box_.text(), "from handler");
}

// User input reaches only enabled, shown controls of a form that has not been destroyed.
TEST_F(ControlsTest, UserInputNeedsAnEnabledShownControl) {
  int clicks = 0, presses = 0;
  button_.on_clicked = [&] { ++clicks; };
  link_.on_left_pressed = [&] { ++presses; };

  button_.SetEnabled(false);
  button_.UserClicked();
  button_.SetEnabled(true);
  button_.SetVisible(false);
  button_.UserClicked();
  link_.SetVisible(false);
  link_.UserPressed();
  box_.SetEnabled(false);
  box_.UserEdited("x");
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(presses, 0);
  EXPECT_TRUE(changes_.empty());
  EXPECT_EQ(box_.text(), "old");

  button_.SetVisible(true);
  link_.SetVisible(true);
  button_.UserClicked();
  link_.UserPressed();
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(presses, 1);
}

TEST_F(ControlsTest, StatusBarIgnoresPartsOutsideTheBar) {
  bar_.SetText(1, "one");
  bar_.SetText(-1, "minus one");
  EXPECT_EQ(bar_.text(), "first");
  bar_.SetText(0, "zero");
  EXPECT_EQ(bar_.text(), "zero");
}

// The form is destroyed once: the handler runs once, peers are let go, and user input no
// longer reaches the controls while the program may still read and set their state.
TEST_F(ControlsTest, DestroyRunsItsHandlerOnceAndStopsUserInput) {
  RecordingPeer peer(box_);
  box_.AttachPeer(&peer);
  int destroying = 0;
  form_.on_destroying = [&] {
    ++destroying;
    EXPECT_FALSE(form_.destroyed());
  };
  int clicks = 0;
  button_.on_clicked = [&] { ++clicks; };

  form_.Destroy();
  form_.Destroy();
  EXPECT_EQ(destroying, 1);
  EXPECT_TRUE(form_.destroyed());

  button_.UserClicked();
  box_.UserEdited("typed");
  EXPECT_EQ(clicks, 0);
  EXPECT_TRUE(changes_.empty());

  box_.SetText("late");
  EXPECT_TRUE(peer.seen.empty());
  EXPECT_EQ(changes_, std::vector<std::string>{"late"});
}

TEST_F(ControlsTest, FindsControlsByName) {
  EXPECT_EQ(form_.Find("button"), &button_);
  EXPECT_EQ(form_.Find("nothing"), nullptr);
}

}  // namespace
}  // namespace quorvel::platform
