#pragma once
// A "full disk" without root: while an object of this class lives, no file of
// the process may grow beyond `bytes`, and SIGXFSZ is ignored, so a write past
// the limit fails with EFBIG (after a short write) as on a full file system.
#include <QtGlobal>
#include <sys/resource.h>

class FileSizeLimit {
  public:
    explicit FileSizeLimit(qint64 bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    rlimit old_{};
    void (*oldHandler_)(int) = nullptr;
};
