#include "platform/window/form_dump.h"

#include <cstdio>
#include <cstdlib>

#include "platform/utf8_text.h"

namespace quorvel::platform {
namespace {

std::string Flag(bool on) { return on ? "1" : "0"; }

std::string DescribeText(const Control& control) {
  switch (control.kind()) {
    case ControlKind::kEditBox: {
      const auto& box = static_cast<const EditBox&>(control);
      if (box.password_mode()) return " password=1 length=" + std::to_string(box.text().size());
      return " text=" + GbkToUtf8(box.text());
    }
    case ControlKind::kButton:
      return " text=" + GbkToUtf8(static_cast<const Button&>(control).text());
    case ControlKind::kTransparentLabel:
      return " text=" + GbkToUtf8(static_cast<const TransparentLabel&>(control).text());
    case ControlKind::kLinkLabel:
      return " text=" + GbkToUtf8(static_cast<const LinkLabel&>(control).text());
    case ControlKind::kStatusBar:
      return " text=" + GbkToUtf8(static_cast<const StatusBar&>(control).text());
    case ControlKind::kPictureBox:
      return " image_bytes=" +
             std::to_string(static_cast<const PictureBox&>(control).image_bytes().size());
  }
  return {};
}

}  // namespace

std::string DescribeForm(const Form& form) {
  std::string out = "form destroyed=" + Flag(form.destroyed()) + "\n";
  for (const auto& control : form.controls()) {
    out += GbkToUtf8(control->name()) + " visible=" + Flag(control->visible()) +
           " enabled=" + Flag(control->enabled()) + DescribeText(*control) + "\n";
  }
  return out;
}

void DumpFormIfAsked(const Form& form) {
  // The switch is read once: this runs on every change of a control.
  static const char* const path = std::getenv("QUORVEL_STATE_DUMP");
  if (path == nullptr || *path == '\0') return;
  std::string temporary = std::string(path) + ".tmp";
  std::FILE* file = std::fopen(temporary.c_str(), "wb");
  if (file == nullptr) return;
  std::string text = DescribeForm(form);
  bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  if (std::fclose(file) != 0 || !written) return;
  std::rename(temporary.c_str(), path);
}

}  // namespace quorvel::platform
