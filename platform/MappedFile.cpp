// mmap-backed read-only file mapping.
#include "platform/MappedFile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/Errors.h"

namespace platform {

MappedFile::MappedFile(MappedFile&& other) noexcept : data_(other.data_), size_(other.size_) {
  other.data_ = nullptr;
  other.size_ = 0;
}

MappedFile& MappedFile::operator=(MappedFile&& other) noexcept {
  if (this != &other) {
    Close();
    data_ = other.data_;
    size_ = other.size_;
    other.data_ = nullptr;
    other.size_ = 0;
  }
  return *this;
}

MappedFile::~MappedFile() { Close(); }

uint32_t MappedFile::Open(const std::string& hostPath) {
  Close();
  const int fd = ::open(hostPath.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return SetLastErrorFromErrno();
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    const uint32_t code = SetLastErrorFromErrno();
    ::close(fd);
    return code;
  }
  if (S_ISDIR(st.st_mode)) {
    ::close(fd);
    SetLastError(ERROR_ACCESS_DENIED);
    return ERROR_ACCESS_DENIED;
  }
  if (st.st_size == 0) {
    ::close(fd);
    SetLastError(ERROR_FILE_INVALID);
    return ERROR_FILE_INVALID;
  }
  void* p = ::mmap(nullptr, static_cast<size_t>(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
  if (p == MAP_FAILED) {
    const uint32_t code = SetLastErrorFromErrno();
    ::close(fd);
    return code;
  }
  ::close(fd);  // the mapping keeps the file's contents reachable
  data_ = static_cast<const uint8_t*>(p);
  size_ = static_cast<size_t>(st.st_size);
  SetLastError(ERROR_SUCCESS);
  return ERROR_SUCCESS;
}

uint32_t MappedFile::Open(const FilePath& path) {
  if (!path.ok()) {
    Close();
    SetLastError(path.error);
    return path.error;
  }
  return Open(path.host);
}

void MappedFile::Close() {
  if (data_) ::munmap(const_cast<uint8_t*>(data_), size_);
  data_ = nullptr;
  size_ = 0;
}

}  // namespace platform
