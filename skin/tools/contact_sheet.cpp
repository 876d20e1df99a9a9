// Draws a sample of the main window with every built-in skin and saves one PNG per skin, so
// that the skins can be looked at side by side (the build's skin_contact_sheet target joins
// them into one sheet with ImageMagick's montage).
//
//   skin_sample_shots SKIN_DIR OUT_DIR      (run with QT_QPA_PLATFORM=offscreen or under xvfb)
//
// The sample has the main window's controls at their places: two captions, two edit boxes (the
// password masked), the login button, the check-in button disabled as after start, the picture
// box (here the skin's number and name), the link label shown after a check-in, and the status
// bar. The skins are attached one after
// the other through the engine's own entry point, as the program attaches its skin.

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QStatusBar>
#include <QWidget>

#include <cstdint>
#include <cstdio>
#include <memory>

extern "C" int32_t SkinH_AttachRes(const unsigned char* bytes, int32_t count, const char* text,
                                   int32_t, int32_t, int32_t);

namespace {

constexpr int kSkinCount = 33;

// The skin's name from its "name" line, for the caption of its picture.
QString SkinName(const QByteArray& skin) {
  for (const QByteArray& line : skin.split('\n')) {
    if (line.startsWith("name ")) return QString::fromUtf8(line.mid(5)).trimmed();
  }
  return {};
}

std::unique_ptr<QWidget> BuildSample(int number, const QString& name) {
  auto window = std::make_unique<QWidget>();
  window->setFixedSize(374, 222);
  auto place = [&](QWidget* w, int x, int y, int width, int height) {
    w->setParent(window.get());
    w->setGeometry(x, y, width, height);
  };
  place(new QLabel(QStringLiteral(u"用户名："), nullptr), 24, 32, 60, 16);
  place(new QLabel(QStringLiteral(u"密码："), nullptr), 32, 72, 48, 24);
  auto* user = new QLineEdit(QStringLiteral(u"drelmo"));
  place(user, 85, 29, 120, 24);
  auto* password = new QLineEdit(QStringLiteral(u"secret"));
  password->setEchoMode(QLineEdit::Password);
  place(password, 85, 71, 120, 24);
  place(new QPushButton(QStringLiteral(u"登陆")), 67, 120, 56, 32);
  auto* check_in = new QPushButton(QStringLiteral(u"打卡签到"));
  check_in->setEnabled(false);
  place(check_in, 137, 120, 66, 32);
  auto* picture = new QLabel(QStringLiteral(u"%1\n%2").arg(number).arg(name));
  picture->setAlignment(Qt::AlignCenter);
  place(picture, 216, 23, 144, 120);
  auto* link = new QLabel(QStringLiteral(u"到签到页查看"));
  link->setAlignment(Qt::AlignCenter);
  QPalette link_palette = link->palette();
  link_palette.setColor(QPalette::WindowText, QColor(128, 128, 255));
  link->setPalette(link_palette);
  place(link, 243, 150, 87, 16);
  // The window's status bar shows its text in a label of its own, as here.
  auto* status = new QStatusBar();
  status->setSizeGripEnabled(false);
  status->addWidget(new QLabel(QStringLiteral(u"请登录后签到。")), 1);
  place(status, 0, 202, 374, 20);
  user->setFocus();
  return window;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s SKIN_DIR OUT_DIR\n", argv[0]);
    return 2;
  }
  const QString skin_dir = QString::fromLocal8Bit(argv[1]);
  const QString out_dir = QString::fromLocal8Bit(argv[2]);
  int failures = 0;
  for (int number = 1; number <= kSkinCount; ++number) {
    const QString stem = QStringLiteral(u"skin%1").arg(number, 2, 10, QLatin1Char('0'));
    QFile file(skin_dir + QStringLiteral(u"/") + stem + QStringLiteral(u".she"));
    if (!file.open(QIODevice::ReadOnly)) {
      std::fprintf(stderr, "skin %d: cannot read %s\n", number, qPrintable(file.fileName()));
      ++failures;
      continue;
    }
    const QByteArray skin = file.readAll();
    int32_t status = SkinH_AttachRes(reinterpret_cast<const unsigned char*>(skin.constData()),
                                     static_cast<int32_t>(skin.size()), "", 0, 0, 0);
    if (status != 0) {
      std::fprintf(stderr, "skin %d: rejected by the engine (%d)\n", number, status);
      ++failures;
      continue;
    }
    std::unique_ptr<QWidget> sample = BuildSample(number, SkinName(skin));
    sample->show();
    QApplication::processEvents();
    if (!sample->grab().save(out_dir + QStringLiteral(u"/") + stem + QStringLiteral(u".png"))) {
      ++failures;
    }
  }
  return failures == 0 ? 0 : 1;
}
