// The one errno → Win32 table of the suite.
#include "platform/Errors.h"

#include <cerrno>

namespace platform {
namespace {

thread_local uint32_t t_lastError = ERROR_SUCCESS;

struct ErrnoEntry {
  int err;
  uint32_t win32;
};

constexpr ErrnoEntry kErrnoTable[] = {
    {ENOENT, ERROR_FILE_NOT_FOUND},
    {ENOTDIR, ERROR_PATH_NOT_FOUND},
    {EMFILE, ERROR_TOO_MANY_OPEN_FILES},
    {ENFILE, ERROR_TOO_MANY_OPEN_FILES},
    {EACCES, ERROR_ACCESS_DENIED},
    {EPERM, ERROR_ACCESS_DENIED},
    {EROFS, ERROR_WRITE_PROTECT},
    {EBADF, ERROR_INVALID_HANDLE},
    {ENOMEM, ERROR_NOT_ENOUGH_MEMORY},
    {EBUSY, ERROR_BUSY},
    {ETXTBSY, ERROR_SHARING_VIOLATION},
    {EAGAIN, ERROR_LOCK_VIOLATION},
    {EEXIST, ERROR_ALREADY_EXISTS},
    {EINVAL, ERROR_INVALID_PARAMETER},
    {ENOSPC, ERROR_DISK_FULL},
    {EFBIG, ERROR_DISK_FULL},
    {EDQUOT, ERROR_DISK_FULL},
    {ENAMETOOLONG, ERROR_FILENAME_EXCED_RANGE},
    {ENOTEMPTY, ERROR_DIR_NOT_EMPTY},
    {EISDIR, ERROR_ACCESS_DENIED},
    {EXDEV, ERROR_NOT_SAME_DEVICE},
    {EPIPE, ERROR_BROKEN_PIPE},
    {EIO, ERROR_GEN_FAILURE},
    {ENXIO, ERROR_DEVICE_NOT_CONNECTED},
    {ENODEV, ERROR_DEVICE_NOT_CONNECTED},
    {ENOSYS, ERROR_CALL_NOT_IMPLEMENTED},
    {EOPNOTSUPP, ERROR_NOT_SUPPORTED},
    {ETIMEDOUT, ERROR_TIMEOUT},
    {ELOOP, ERROR_CANTOPEN},
    {ESPIPE, ERROR_NEGATIVE_SEEK},
    {ENOEXEC, ERROR_BAD_EXE_FORMAT},
    {ECANCELED, ERROR_OPERATION_ABORTED},
    {EFAULT, ERROR_NOACCESS},
};

}  // namespace

uint32_t Win32FromErrno(int err) {
  if (err == 0) return ERROR_SUCCESS;
  for (const auto& e : kErrnoTable)
    if (e.err == err) return e.win32;
  return ERROR_GEN_FAILURE;
}

uint32_t GetLastError() {
  return t_lastError;
}

void SetLastError(uint32_t code) {
  t_lastError = code;
}

uint32_t SetLastErrorFromErrno() {
  t_lastError = Win32FromErrno(errno);
  return t_lastError;
}

const char* ErrorText(uint32_t code) {
  switch (code) {
    case ERROR_SUCCESS:
      return "The operation completed successfully.";
    case ERROR_FILE_NOT_FOUND:
      return "The system cannot find the file specified.";
    case ERROR_PATH_NOT_FOUND:
      return "The system cannot find the path specified.";
    case ERROR_TOO_MANY_OPEN_FILES:
      return "The system cannot open the file.";
    case ERROR_ACCESS_DENIED:
      return "Access is denied.";
    case ERROR_INVALID_HANDLE:
      return "The handle is invalid.";
    case ERROR_NOT_ENOUGH_MEMORY:
      return "Not enough storage is available to process this command.";
    case ERROR_INVALID_DATA:
      return "The data is invalid.";
    case ERROR_WRITE_PROTECT:
      return "The media is write protected.";
    case ERROR_NOT_READY:
      return "The device is not ready.";
    case ERROR_SECTOR_NOT_FOUND:
      return "The drive cannot find the sector requested.";
    case ERROR_SHARING_VIOLATION:
      return "The process cannot access the file because it is being used by another process.";
    case ERROR_HANDLE_EOF:
      return "Reached the end of the file.";
    case ERROR_FILE_EXISTS:
      return "The file exists.";
    case ERROR_INVALID_PARAMETER:
      return "The parameter is incorrect.";
    case ERROR_DISK_FULL:
      return "There is not enough space on the disk.";
    case ERROR_INSUFFICIENT_BUFFER:
      return "The data area passed to a system call is too small.";
    case ERROR_DEVICE_IN_USE:
      return "The device is in use by an active process and cannot be disconnected.";
    case ERROR_INVALID_NAME:
      return "The filename, directory name, or volume label syntax is incorrect.";
    case ERROR_MOD_NOT_FOUND:
      return "The specified module could not be found.";
    case ERROR_PROC_NOT_FOUND:
      return "The specified procedure could not be found.";
    case ERROR_DIR_NOT_EMPTY:
      return "The directory is not empty.";
    case ERROR_ALREADY_EXISTS:
      return "Cannot create a file when that file already exists.";
    case ERROR_MORE_DATA:
      return "More data is available.";
    case ERROR_NO_MORE_ITEMS:
      return "No more data is available.";
    case ERROR_FILE_INVALID:
      return "The volume for a file has been externally altered so that the opened file is no "
             "longer valid.";
    case ERROR_REGISTRY_CORRUPT:
      return "The registry is corrupted.";
    case ERROR_TIMEOUT:
      return "This operation returned because the timeout period expired.";
    default:
      return "Unknown error.";
  }
}

}  // namespace platform
