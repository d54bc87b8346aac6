// The kernel's output files over POSIX. The module runs as root in tests and
// may be handed any path, so the path is never replaced: O_EXCL tells a file
// this open created from one that was there, only a created file is removed
// again, and only while the path still names that very file.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <string>

#include "platform/simulated/simulated_kernel.h"

namespace platform::simulated {
namespace {

constexpr mode_t kNewFileMode = 0666;  // less the process's umask

class PosixOutputFile : public OutputFile {
 public:
  PosixOutputFile(int descriptor, bool created, const char* path)
      : descriptor_(descriptor), created_(created), path_(path) {
    struct stat status {};
    if (created_ && ::fstat(descriptor_, &status) == 0) {
      device_ = status.st_dev;
      inode_ = status.st_ino;
    }
  }
  ~PosixOutputFile() override {
    if (descriptor_ >= 0) Finish(false);
  }
  PosixOutputFile(const PosixOutputFile&) = delete;
  PosixOutputFile& operator=(const PosixOutputFile&) = delete;

  bool Write(const void* bytes, std::size_t count) override {
    if (descriptor_ < 0) return false;
    const auto* next = static_cast<const char*>(bytes);
    while (count > 0) {
      const ssize_t written = ::write(descriptor_, next, count);
      if (written < 0 && errno == EINTR) continue;
      if (written <= 0) return false;
      next += written;
      count -= static_cast<std::size_t>(written);
    }
    return true;
  }

  bool Finish(bool complete) override {
    if (descriptor_ < 0) return false;
    // Checked while the file is still open, so that its identity cannot be reused.
    const bool stillOurs = created_ && NamesOurFile();
    const bool closed = ::close(descriptor_) == 0;
    descriptor_ = -1;
    const bool finished = complete && closed;
    if (!finished && stillOurs) ::unlink(path_.c_str());
    return finished;
  }

 private:
  bool NamesOurFile() const {
    struct stat status {};
    return ::lstat(path_.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
           status.st_dev == device_ && status.st_ino == inode_;
  }

  int descriptor_;
  bool created_;
  std::string path_;
  dev_t device_ = 0;
  ino_t inode_ = 0;
};

}  // namespace

std::unique_ptr<OutputFile> SimulatedKernel::OpenOutputFile(const char* path) {
  if (path == nullptr || *path == '\0') return nullptr;
  int descriptor = -1;
  do {
    descriptor = ::open(path, O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, kNewFileMode);
  } while (descriptor < 0 && errno == EINTR);
  if (descriptor >= 0) return std::make_unique<PosixOutputFile>(descriptor, true, path);
  if (errno != EEXIST) return nullptr;

  // Something is there. Opened without O_CREAT or O_TRUNC, and without
  // blocking (a FIFO without a reader would wait for ever), then judged by
  // what was opened rather than by the name, which may have changed since.
  do {
    descriptor = ::open(path, O_WRONLY | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
  } while (descriptor < 0 && errno == EINTR);
  if (descriptor < 0) return nullptr;
  auto file = std::make_unique<PosixOutputFile>(descriptor, false, path);
  struct stat status {};
  if (::fstat(descriptor, &status) != 0) return nullptr;
  if (S_ISREG(status.st_mode)) {
    if (::ftruncate(descriptor, 0) != 0) return nullptr;
  } else if (!S_ISCHR(status.st_mode)) {
    return nullptr;  // a FIFO, socket or block device is no box file
  }
  const int flags = ::fcntl(descriptor, F_GETFL);
  if (flags < 0 || ::fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK) != 0) return nullptr;
  return file;
}

}  // namespace platform::simulated
