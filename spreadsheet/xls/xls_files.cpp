#include "spreadsheet/xls/xls_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "spreadsheet/xls/biff_reader.h"
#include "spreadsheet/xls/biff_writer.h"
#include "spreadsheet/xls/compound_file.h"

namespace varnex::spreadsheet::xls {
namespace {

std::string Folder(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

bool SyncPath(const std::string& path, int flags) {
  const int fd = ::open(path.c_str(), flags);
  if (fd < 0) return false;
  const bool ok = ::fsync(fd) == 0;
  ::close(fd);
  return ok;
}

}  // namespace

bool XlsFiles::Read(const std::string& path, Workbook& into, std::string* error) {
  CompoundContents contents;
  return ReadCompoundFile(path, &contents, error) && ReadWorkbook(contents, into, error);
}

bool ReadXlsBytes(const std::string& bytes, Workbook& into, std::string* error) {
  CompoundContents contents;
  return ReadCompoundBytes(bytes, &contents, error) && ReadWorkbook(contents, into, error);
}

bool XlsFiles::Write(const Workbook& workbook, const std::string& path, std::string* error) {
  std::string stream;
  if (!WriteWorkbook(workbook, &stream, error)) return false;

  std::string temporary = path + ".varnex-XXXXXX";
  const int fd = ::mkstemp(temporary.data());
  if (fd < 0) {
    *error = std::string("无法在目标文件夹中写入：") + std::strerror(errno);
    return false;
  }
  // The new file keeps the old one's permissions (or the usual ones).
  struct stat old {};
  if (::stat(path.c_str(), &old) == 0) {
    ::fchmod(fd, old.st_mode & 07777);
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
  }
  ::close(fd);
  bool ok = WriteCompoundFile(temporary, stream, error);
  if (ok && fail_at == FailAt::kWriting) {
    *error = "写入文件失败";
    ok = false;
  }
  if (ok && (fail_at == FailAt::kFlushing || !SyncPath(temporary, O_RDONLY))) {
    *error = "无法把文件写入磁盘";
    ok = false;
  }
  if (ok && (fail_at == FailAt::kRenaming || std::rename(temporary.c_str(), path.c_str()) != 0)) {
    *error = std::string("无法替换原文件：") + std::strerror(errno);
    ok = false;
  }
  if (!ok) {
    std::remove(temporary.c_str());
    return false;
  }
  SyncPath(Folder(path), O_RDONLY | O_DIRECTORY);  // the rename itself, best effort
  return true;
}

XlsFiles& XlsFiles::Instance() {
  static XlsFiles files;
  return files;
}

}  // namespace varnex::spreadsheet::xls
