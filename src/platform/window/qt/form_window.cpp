#include "platform/window/qt/form_window.h"

#include <QCloseEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QPixmap>
#include <utility>

#include "platform/window/form_dump.h"
#include "platform/window/qt/control_peers.h"
#include "platform/window/qt/first_paint_probe.h"
#include "platform/window/qt/qt_text.h"

namespace quorvel::platform {
namespace {

constexpr Qt::WindowFlags kFlags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;

}  // namespace

FormWindow::FormWindow(Form& form, std::function<void()> on_destroyed)
    : QWidget(nullptr, kFlags), form_(form), on_destroyed_(std::move(on_destroyed)) {
  setWindowTitle(FromGbk(form.title()));
  setFixedSize(form.client_width(), form.client_height());
  const std::string& icon = form.icon_bytes();
  QPixmap pixmap;
  if (!icon.empty() && pixmap.loadFromData(reinterpret_cast<const uchar*>(icon.data()),
                                           static_cast<uint>(icon.size()))) {
    setWindowIcon(QIcon(pixmap));
  }
  for (const auto& control : form.controls()) {
    peers_.push_back(MakeControlPeer(*control, this, [&form] { DumpFormIfAsked(form); }));
  }
  DumpFormIfAsked(form);
}

FormWindow::~FormWindow() {
  // The controls outlive their widgets.
  for (const auto& control : form_.controls()) control->AttachPeer(nullptr);
}

void FormWindow::closeEvent(QCloseEvent* event) {
  // A close is never refused.
  event->accept();
  if (form_.destroyed()) return;
  form_.Destroy();
  DumpFormIfAsked(form_);
  if (on_destroyed_) on_destroyed_();
}

void FormWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

void FormWindow::paintEvent(QPaintEvent* event) {
  ReportFirstPaintIfAsked();  // a measuring hook for bench/startup.sh; off by default
  QWidget::paintEvent(event);
}

}  // namespace quorvel::platform
