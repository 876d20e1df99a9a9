#include "app/skin_setup.h"

#include "app/embedded_skins.h"
#include "base/services.h"
#include "base/text_ops.h"
#include "platform/library.h"

namespace quorvel {
namespace {

constexpr int32_t kHiddenAttribute = 2;

}  // namespace

void DeploySkinEngine() {
  const Text path = ConcatText(RunDirectory(), kPathSeparator, kSkinEngineFileName);
  if (FileExists(path)) return;
  WriteBytesToFile(path, {SkinEngineLibrary()});  // a failure shows at the first engine call
  SetAttributes(path, kHiddenAttribute);          // runs even when the write failed
}

void ApplySkin(int32_t number) {
  DeploySkinEngine();
  const ByteString skin = BuiltInSkin(number);  // a fresh copy, released on return
  const auto* address =
      skin.empty() ? nullptr : reinterpret_cast<const unsigned char*>(skin.data());
  platform::SkinH_AttachRes(address, skin.size(), "", 0, 0, 0);
}

}  // namespace quorvel
