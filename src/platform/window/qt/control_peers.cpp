#include "platform/window/qt/control_peers.h"

#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPalette>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStatusBar>
#include <utility>

#include "platform/window/qt/qt_text.h"

namespace quorvel::platform {
namespace {

// Shows the state every control has (place, visibility, enabled); subclasses add their own.
class WidgetPeer : public ControlPeer {
 public:
  WidgetPeer(Control& control, QWidget* widget, std::function<void()> after_change)
      : control_(control), widget_(widget), after_change_(std::move(after_change)) {
    const Place& place = control.place();
    widget->setGeometry(place.left, place.top, place.width, place.height);
    widget->setObjectName(FromGbk(control.name()));
  }

  void StateChanged() override {
    Show();
    if (after_change_) after_change_();
  }

  void Show() {
    QSignalBlocker block(widget_);
    widget_->setEnabled(control_.enabled());
    widget_->setHidden(!control_.visible());
    ShowOwnState();
  }

 protected:
  virtual void ShowOwnState() {}

 private:
  Control& control_;
  QWidget* widget_;
  std::function<void()> after_change_;
};

class EditPeer : public WidgetPeer {
 public:
  EditPeer(EditBox& box, QLineEdit* edit, std::function<void()> after_change)
      : WidgetPeer(box, edit, std::move(after_change)), box_(box), edit_(edit) {
    // The mask character is "*", whatever the style would choose.
    edit->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
    QObject::connect(edit, &QLineEdit::textEdited,
                     [&box](const QString& text) { box.UserEdited(ToGbk(text)); });
  }

 protected:
  void ShowOwnState() override {
    QString text = FromGbk(box_.text());
    // Keeps the cursor where it is when the user's own edit comes back unchanged.
    if (edit_->text() != text) edit_->setText(text);
    edit_->setEchoMode(box_.password_mode() ? QLineEdit::Password : QLineEdit::Normal);
  }

 private:
  EditBox& box_;
  QLineEdit* edit_;
};

// A label that reports the press of the left mouse button.
class PressableLabel : public QLabel {
 public:
  PressableLabel(LinkLabel& link, QWidget* parent) : QLabel(parent), link_(link) {}

 protected:
  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton) link_.UserPressed();
    event->accept();
  }

 private:
  LinkLabel& link_;
};

QLabel* MakeLinkWidget(LinkLabel& link, QWidget* parent) {
  auto* label = new PressableLabel(link, parent);
  label->setText(FromGbk(link.text()));
  label->setAlignment(Qt::AlignCenter);
  label->setCursor(Qt::PointingHandCursor);
  QPalette palette = label->palette();
  LinkLabel::Colour c = link.colour();
  palette.setColor(QPalette::WindowText, QColor(c.red, c.green, c.blue));
  label->setPalette(palette);
  return label;
}

QLabel* MakePictureWidget(const PictureBox& box, QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setAlignment(Qt::AlignCenter);
  QPixmap pixmap;
  const std::string& bytes = box.image_bytes();
  pixmap.loadFromData(reinterpret_cast<const uchar*>(bytes.data()),
                      static_cast<uint>(bytes.size()));
  const Place& place = box.place();
  if (pixmap.width() > place.width || pixmap.height() > place.height) {
    pixmap =
        pixmap.scaled(place.width, place.height, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  }
  label->setPixmap(pixmap);
  return label;
}

class StatusPeer : public WidgetPeer {
 public:
  StatusPeer(StatusBar& bar, QStatusBar* widget, std::function<void()> after_change)
      : WidgetPeer(bar, widget, std::move(after_change)), bar_(bar), label_(new QLabel) {
    widget->setSizeGripEnabled(false);
    widget->addWidget(label_, 1);
  }

 protected:
  void ShowOwnState() override { label_->setText(FromGbk(bar_.text())); }

 private:
  StatusBar& bar_;
  QLabel* label_;
};

std::unique_ptr<WidgetPeer> MakeWidgetPeer(Control& control, QWidget* parent,
                                           std::function<void()> after_change) {
  switch (control.kind()) {
    case ControlKind::kEditBox:
      return std::make_unique<EditPeer>(static_cast<EditBox&>(control), new QLineEdit(parent),
                                        std::move(after_change));
    case ControlKind::kButton: {
      auto& button = static_cast<Button&>(control);
      auto* widget = new QPushButton(FromGbk(button.text()), parent);
      // Enter never clicks a button of ours.
      widget->setAutoDefault(false);
      widget->setDefault(false);
      QObject::connect(widget, &QPushButton::clicked, [&button] { button.UserClicked(); });
      return std::make_unique<WidgetPeer>(control, widget, std::move(after_change));
    }
    case ControlKind::kTransparentLabel: {
      auto* widget = new QLabel(FromGbk(static_cast<TransparentLabel&>(control).text()), parent);
      widget->setAutoFillBackground(false);
      widget->setAttribute(Qt::WA_TranslucentBackground);
      return std::make_unique<WidgetPeer>(control, widget, std::move(after_change));
    }
    case ControlKind::kLinkLabel:
      return std::make_unique<WidgetPeer>(control,
                                          MakeLinkWidget(static_cast<LinkLabel&>(control), parent),
                                          std::move(after_change));
    case ControlKind::kPictureBox:
      return std::make_unique<WidgetPeer>(
          control, MakePictureWidget(static_cast<PictureBox&>(control), parent),
          std::move(after_change));
    case ControlKind::kStatusBar:
      return std::make_unique<StatusPeer>(static_cast<StatusBar&>(control), new QStatusBar(parent),
                                          std::move(after_change));
  }
  return nullptr;
}

}  // namespace

std::unique_ptr<ControlPeer> MakeControlPeer(Control& control, QWidget* parent,
                                             std::function<void()> after_change) {
  std::unique_ptr<WidgetPeer> peer = MakeWidgetPeer(control, parent, std::move(after_change));
  peer->Show();
  control.AttachPeer(peer.get());
  return peer;
}

}  // namespace quorvel::platform
