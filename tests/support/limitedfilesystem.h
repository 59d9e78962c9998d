#pragma once
// A file system that lacks features, imitated in the test process. While an
// object of this class lives, the system calls answer as such a file system
// does, for every path: without hard links (a FUSE mount, a FAT disk) `link`
// and `linkat` fail with EPERM, `renameat2` with RENAME_NOREPLACE with
// EINVAL and an open with O_TMPFILE with EOPNOTSUPP; without locks (NFS
// without its lock service) `flock` fails with ENOLCK. The calls of Qt and of
// SQLite go through the same functions, which the executable defines. Inert
// while no object lives.

class LimitedFileSystem {
  public:
    enum Missing { NoLinks = 1, NoLocks = 2 };
    explicit LimitedFileSystem(int missing);
    ~LimitedFileSystem();
    LimitedFileSystem(const LimitedFileSystem&) = delete;
    LimitedFileSystem& operator=(const LimitedFileSystem&) = delete;

  private:
    int before_ = 0;
};
