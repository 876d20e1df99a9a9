#include "app/credentials.h"

#include "app/main_window.h"
#include "base/services.h"
#include "base/text_ops.h"
#include "platform/profile.h"

namespace quorvel {
namespace {

Text& DirectoryForTesting() {
  static Text directory;
  return directory;
}

void WriteValue(const char* key, const Text& value) {
  // The result is not used: a file that cannot be written leaves the login to go on.
  platform::WritePrivateProfileStringA("userinfo", key, value.c_str(), ConfigFilePath().c_str());
}

}  // namespace

Text ConfigFilePath() {
  Text directory = DirectoryForTesting().empty() ? RunDirectory() : DirectoryForTesting();
  return ConcatText(directory, kPathSeparator, "config.ini");
}

void SetConfigDirectoryForTesting(const Text& directory) { DirectoryForTesting() = directory; }

void SaveCredentials(MainWindow& window) {
  WriteValue("username", BoxText(window.编辑框_用户名));
  WriteValue("password", BoxText(window.编辑框_密码));
}

void LoadCredentials(MainWindow& window) {
  // The password must be set after the user name: setting the user name empties it.
  SetBoxText(window.编辑框_用户名, ReadIniValue(ConfigFilePath(), "userinfo", "username"));
  SetBoxText(window.编辑框_密码, ReadIniValue(ConfigFilePath(), "userinfo", "password"));
}

}  // namespace quorvel
