#include "platform/embedded_files.h"

#include <QFile>
#include <QString>

// The resources of a static library are linked in only when something names them. The macro
// declares the registration function in the enclosing namespace, which must be the global one.
static void RegisterPictures() {
  static const bool registered = [] {
    Q_INIT_RESOURCE(pictures);
    return true;
  }();
  (void)registered;
}

namespace quorvel::platform {

std::string EmbeddedPicture(const char* name) {
  RegisterPictures();
  QFile file(QStringLiteral(":/pictures/") + QString::fromLatin1(name));
  if (!file.open(QIODevice::ReadOnly)) return {};
  QByteArray bytes = file.readAll();
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

}  // namespace quorvel::platform
