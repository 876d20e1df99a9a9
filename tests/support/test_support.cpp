#include "support/test_support.h"

#include <unicode/ucnv.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace quorvel::testing {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "quorvel-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

void WriteFileBytes(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string Gbk(std::string_view utf8) {
  UErrorCode status = U_ZERO_ERROR;
  std::string out(utf8.size() * 2 + 4, '\0');
  int32_t n = ucnv_convert("GBK", "UTF-8", out.data(), static_cast<int32_t>(out.size()),
                           utf8.data(), static_cast<int32_t>(utf8.size()), &status);
  if (U_FAILURE(status)) throw std::runtime_error("GBK conversion failed");
  out.resize(static_cast<size_t>(n));
  return out;
}

}  // namespace quorvel::testing
