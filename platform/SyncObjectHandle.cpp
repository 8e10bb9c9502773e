// Handles to event and semaphore blocks: name checks, private blocks, shared segments.
#include "platform/SyncObjectHandle.h"

#include <new>
#include <utility>

#include "platform/Errors.h"
#include "platform/NamedEvent.h"
#include "platform/SharedSegment.h"

namespace platform {
namespace {

bool HasZeroByte(std::string_view name) {
  return name.find('\0') != std::string_view::npos;
}

bool Fail(uint32_t code) {
  SetLastError(code);
  return false;
}

}  // namespace

SyncObjectHandle::SyncObjectHandle(SyncObjectHandle&& other) noexcept
    : block_(std::exchange(other.block_, nullptr)),
      fd_(std::exchange(other.fd_, -1)),
      name_(std::move(other.name_)),
      segment_(std::move(other.segment_)),
      owner_(other.owner_) {}

SyncObjectHandle& SyncObjectHandle::operator=(SyncObjectHandle&& other) noexcept {
  if (this != &other) {
    Close();
    block_ = std::exchange(other.block_, nullptr);
    fd_ = std::exchange(other.fd_, -1);
    name_ = std::move(other.name_);
    segment_ = std::move(other.segment_);
    owner_ = other.owner_;
  }
  return *this;
}

SyncObjectHandle::~SyncObjectHandle() {
  Close();
}

bool SyncObjectHandle::Create(std::string_view name, size_t size, const SegmentKind& kind) {
  Close();
  if (HasZeroByte(name)) return Fail(ERROR_INVALID_NAME);
  if (!name.empty()) return OpenNamed(name, SegmentDisposition::CreateOrOpen, kind);
  block_ = ::operator new(size);
  kind.initialise(block_);
  SetLastError(ERROR_SUCCESS);
  return true;
}

bool SyncObjectHandle::Open(std::string_view name, const SegmentKind& kind) {
  Close();
  if (name.empty() || HasZeroByte(name)) return Fail(ERROR_INVALID_NAME);
  return OpenNamed(name, SegmentDisposition::OpenOnly, kind);
}

bool SyncObjectHandle::OpenNamed(std::string_view name, SegmentDisposition disposition,
                                 const SegmentKind& kind) {
  const std::string segment = EventSegmentName(name);
  SegmentHold hold;
  const uint32_t r = OpenSharedSegment(segment, disposition, kind, hold);
  if (r != ERROR_SUCCESS) return Fail(r);
  block_ = hold.block;
  fd_ = hold.fd;
  name_ = std::string(name);
  segment_ = segment;
  owner_ = hold.owner;
  // Only a create tells that the object was there already; an open just succeeds.
  const bool existed = !hold.created && disposition == SegmentDisposition::CreateOrOpen;
  SetLastError(existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
  return true;
}

void SyncObjectHandle::Close() {
  if (!block_) return;
  if (fd_ < 0) {
    ::operator delete(block_);
  } else {
    CloseSharedSegment(fd_, block_, segment_, owner_);
  }
  block_ = nullptr;
  fd_ = -1;
  name_.clear();
  segment_.clear();
}

}  // namespace platform
