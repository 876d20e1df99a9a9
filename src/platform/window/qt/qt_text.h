#pragma once

// GBK bytes and QString, the only text conversion at the Qt boundary.

#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>
#include <string>
#include <string_view>

namespace quorvel::platform {

inline QString FromGbk(std::string_view gbk) {
  QStringDecoder decoder("GBK", QStringConverter::Flag::Stateless);
  return decoder.decode(QByteArrayView(gbk.data(), static_cast<qsizetype>(gbk.size())));
}

// Characters that GBK cannot hold become "?".
inline std::string ToGbk(const QString& text) {
  QStringEncoder encoder("GBK", QStringConverter::Flag::Stateless);
  QByteArray bytes = encoder.encode(text);
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

}  // namespace quorvel::platform
