#pragma once

// Functions of outside libraries, bound by library and function name at their first call.
// Only the skin engine is such a library here; its file lies beside the program. A function
// that cannot be bound ends the program: the failure is reported (by default on standard
// error; the application shows a message box instead) and the process exits with status 255.

#include <cstdint>
#include <string>

namespace quorvel::platform {

inline constexpr const char kSkinEngineLibraryName[] = "SkinH_EL.dll";
inline constexpr const char kSkinAttachResName[] = "SkinH_AttachRes";

// The skin engine's attach function: the skin's bytes, their count, a text, three numbers.
using SkinAttachResFunction = int32_t (*)(const unsigned char* bytes, int32_t count,
                                          const char* text, int32_t a, int32_t b, int32_t c);

// The skin engine's functions as the program calls them; tests install a recording table.
struct SkinEngineTable {
  SkinAttachResFunction attach_res = nullptr;
};

// Calls the skin engine's SkinH_AttachRes. The first call binds it from SkinH_EL.dll in the
// program's directory; when that fails the process ends as described above.
int32_t SkinH_AttachRes(const unsigned char* bytes, int32_t count, const char* text, int32_t a,
                        int32_t b, int32_t c);

// Routes SkinH_AttachRes to `table` instead of the library; null goes back to the library.
void SetSkinEngineForTesting(const SkinEngineTable* table);

// Loads the library at the absolute `path` (RTLD_NOW | RTLD_LOCAL, kept loaded) and returns the
// address of `function`; null when the file fails IsLoadableSharedObject (shared_object_check.h),
// cannot be loaded, or lacks the function.
void* BindLibraryFunction(const char* path, const char* function);

// BindLibraryFunction; on failure the failure is reported with the names `library` and
// `function`, and the process ends with exit status 255.
void* BindLibraryFunctionOrExit(const char* path, const char* library, const char* function);

// Reports a function that cannot be bound, just before the process ends with status 255.
using LibraryFailureReporter = void (*)(const char* library, const char* function);
// Installs the reporter; null restores the default, ReportLibraryFailureOnStderr.
void SetLibraryFailureReporter(LibraryFailureReporter reporter);
// The default reporter: LibraryFailureText in UTF-8 on standard error.
void ReportLibraryFailureOnStderr(const char* library, const char* function);
// The message that names both, in code page 936:
// "无法载入 <library> 中的函数 <function>。"
std::string LibraryFailureText(const char* library, const char* function);

}  // namespace quorvel::platform
