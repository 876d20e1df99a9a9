#include "platform/library.h"

#include <dlfcn.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/files.h"
#include "platform/shared_object_check.h"
#include "platform/utf8_text.h"

namespace quorvel::platform {
namespace {

std::atomic<LibraryFailureReporter> g_reporter{nullptr};
std::atomic<const SkinEngineTable*> g_engine_override{nullptr};

SkinAttachResFunction BindSkinAttachRes() {
  const std::string path = DirectoryOf(ProgramPath()) + "/" + kSkinEngineLibraryName;
  return reinterpret_cast<SkinAttachResFunction>(
      BindLibraryFunctionOrExit(path.c_str(), kSkinEngineLibraryName, kSkinAttachResName));
}

}  // namespace

std::string LibraryFailureText(const char* library, const char* function) {
  return std::string("无法载入 ") + library + " 中的函数 " + function + "。";
}

void ReportLibraryFailureOnStderr(const char* library, const char* function) {
  std::fprintf(stderr, "%s\n", GbkToUtf8(LibraryFailureText(library, function)).c_str());
}

void SetLibraryFailureReporter(LibraryFailureReporter reporter) { g_reporter = reporter; }

void* BindLibraryFunction(const char* path, const char* function) {
  if (!IsLoadableSharedObject(path)) return nullptr;
  void* library = dlopen(path, RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) return nullptr;
  return dlsym(library, function);  // the library stays loaded for the rest of the run
}

void* BindLibraryFunctionOrExit(const char* path, const char* library, const char* function) {
  if (void* address = BindLibraryFunction(path, function)) {
    return address;
  }
  LibraryFailureReporter reporter = g_reporter.load();
  (reporter != nullptr ? reporter : ReportLibraryFailureOnStderr)(library, function);
  std::fflush(nullptr);
  // _Exit: the window system and its global objects are still alive; running their
  // destructors from here could fault instead of ending with the status.
  std::_Exit(255);
}

int32_t SkinH_AttachRes(const unsigned char* bytes, int32_t count, const char* text, int32_t a,
                        int32_t b, int32_t c) {
  if (const SkinEngineTable* table = g_engine_override.load()) {
    return table->attach_res(bytes, count, text, a, b, c);
  }
  static const SkinAttachResFunction bound = BindSkinAttachRes();
  return bound(bytes, count, text, a, b, c);
}

void SetSkinEngineForTesting(const SkinEngineTable* table) { g_engine_override = table; }

}  // namespace quorvel::platform
