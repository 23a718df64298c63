// The system calls that change files, taken over for the test program that
// links this file: each one calls the C library's own and then, while a
// CrashDisk records (crash_disk.h), tells it what happened. A definition in
// the executable comes before the C library's, so every call that the
// program's code makes lands here; the libraries it loads keep theirs.
//
// This file includes none of the system headers that declare these
// functions, so that their definitions here need not repeat every
// attribute of those declarations; the types are spelled as they are on
// 64-bit Linux.
#include <dlfcn.h>

#include <cstdarg>

extern "C" {

// Nonzero while a CrashDisk records; set by crash_disk.cpp.
extern int zl_crash_recording;
// What changed: 0 a name (the path-based calls), 1 the content of the file
// open at `fd`, 2 a sync of the file or folder open at `fd`.
void zl_crash_step(const char* call, int fd, int kind);

}  // extern "C"

namespace {

constexpr int kName = 0, kContent = 1, kSync = 2;
// The flags of open(2) that make or empty a file (O_CREAT, O_TRUNC), and
// O_TMPFILE, which takes a mode as O_CREAT does.
constexpr int kCreate = 0100, kTruncate = 01000, kUnnamed = 020000000 | 0200000;

template <typename Function>
Function next(const char* name) {
  return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));
}

// The result of a call that changed something when it succeeded.
template <typename Result>
Result noted(Result result, const char* call, int fd, int kind) {
  if (zl_crash_recording && result >= 0) zl_crash_step(call, fd, kind);
  return result;
}

int modeOf(int flags, va_list arguments) {
  return (flags & kCreate) || (flags & kUnnamed) == kUnnamed ? va_arg(arguments, int) : 0;
}

int noteOpen(int fd, const char* call, int flags) {
  return (flags & (kCreate | kTruncate)) ? noted(fd, call, fd, kName) : fd;
}

}  // namespace

extern "C" {

int open(const char* path, int flags, ...) {
  va_list arguments;
  va_start(arguments, flags);
  const int mode = modeOf(flags, arguments);
  va_end(arguments);
  static const auto real = next<int (*)(const char*, int, ...)>("open");
  return noteOpen(real(path, flags, mode), "open", flags);
}

int open64(const char* path, int flags, ...) {
  va_list arguments;
  va_start(arguments, flags);
  const int mode = modeOf(flags, arguments);
  va_end(arguments);
  static const auto real = next<int (*)(const char*, int, ...)>("open64");
  return noteOpen(real(path, flags, mode), "open", flags);
}

int openat(int folder, const char* path, int flags, ...) {
  va_list arguments;
  va_start(arguments, flags);
  const int mode = modeOf(flags, arguments);
  va_end(arguments);
  static const auto real = next<int (*)(int, const char*, int, ...)>("openat");
  return noteOpen(real(folder, path, flags, mode), "openat", flags);
}

int openat64(int folder, const char* path, int flags, ...) {
  va_list arguments;
  va_start(arguments, flags);
  const int mode = modeOf(flags, arguments);
  va_end(arguments);
  static const auto real = next<int (*)(int, const char*, int, ...)>("openat64");
  return noteOpen(real(folder, path, flags, mode), "openat", flags);
}

long write(int fd, const void* data, unsigned long size) {
  static const auto real = next<long (*)(int, const void*, unsigned long)>("write");
  return noted(real(fd, data, size), "write", fd, kContent);
}

long pwrite(int fd, const void* data, unsigned long size, long offset) {
  static const auto real = next<long (*)(int, const void*, unsigned long, long)>("pwrite");
  return noted(real(fd, data, size, offset), "pwrite", fd, kContent);
}

long pwrite64(int fd, const void* data, unsigned long size, long offset) {
  static const auto real = next<long (*)(int, const void*, unsigned long, long)>("pwrite64");
  return noted(real(fd, data, size, offset), "pwrite", fd, kContent);
}

int ftruncate(int fd, long size) {
  static const auto real = next<int (*)(int, long)>("ftruncate");
  return noted(real(fd, size), "ftruncate", fd, kContent);
}

int ftruncate64(int fd, long size) {
  static const auto real = next<int (*)(int, long)>("ftruncate64");
  return noted(real(fd, size), "ftruncate", fd, kContent);
}

int fallocate(int fd, int mode, long offset, long size) {
  static const auto real = next<int (*)(int, int, long, long)>("fallocate");
  return noted(real(fd, mode, offset, size), "fallocate", fd, kContent);
}

int fallocate64(int fd, int mode, long offset, long size) {
  static const auto real = next<int (*)(int, int, long, long)>("fallocate64");
  return noted(real(fd, mode, offset, size), "fallocate", fd, kContent);
}

int fsync(int fd) {
  static const auto real = next<int (*)(int)>("fsync");
  return noted(real(fd), "fsync", fd, kSync);
}

int fdatasync(int fd) {
  static const auto real = next<int (*)(int)>("fdatasync");
  return noted(real(fd), "fdatasync", fd, kSync);
}

int rename(const char* from, const char* to) {
  static const auto real = next<int (*)(const char*, const char*)>("rename");
  return noted(real(from, to), "rename", -1, kName);
}

int renameat(int fromFolder, const char* from, int toFolder, const char* to) {
  static const auto real = next<int (*)(int, const char*, int, const char*)>("renameat");
  return noted(real(fromFolder, from, toFolder, to), "renameat", -1, kName);
}

int renameat2(int fromFolder, const char* from, int toFolder, const char* to, unsigned flags) {
  static const auto real = next<int (*)(int, const char*, int, const char*, unsigned)>("renameat2");
  return noted(real(fromFolder, from, toFolder, to, flags), "renameat2", -1, kName);
}

int link(const char* from, const char* to) {
  static const auto real = next<int (*)(const char*, const char*)>("link");
  return noted(real(from, to), "link", -1, kName);
}

int linkat(int fromFolder, const char* from, int toFolder, const char* to, int flags) {
  static const auto real = next<int (*)(int, const char*, int, const char*, int)>("linkat");
  return noted(real(fromFolder, from, toFolder, to, flags), "linkat", -1, kName);
}

int unlink(const char* path) {
  static const auto real = next<int (*)(const char*)>("unlink");
  return noted(real(path), "unlink", -1, kName);
}

int unlinkat(int folder, const char* path, int flags) {
  static const auto real = next<int (*)(int, const char*, int)>("unlinkat");
  return noted(real(folder, path, flags), "unlinkat", -1, kName);
}

int mkdir(const char* path, unsigned mode) {
  static const auto real = next<int (*)(const char*, unsigned)>("mkdir");
  return noted(real(path, mode), "mkdir", -1, kName);
}

int mkdirat(int folder, const char* path, unsigned mode) {
  static const auto real = next<int (*)(int, const char*, unsigned)>("mkdirat");
  return noted(real(folder, path, mode), "mkdirat", -1, kName);
}

int rmdir(const char* path) {
  static const auto real = next<int (*)(const char*)>("rmdir");
  return noted(real(path), "rmdir", -1, kName);
}

}  // extern "C"
