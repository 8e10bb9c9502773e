// Record reader over the verified bytes of a base file.
#include "scanner/virusbase/LoadBase.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "platform/Errors.h"
#include "platform/MappedFile.h"
#include "scanner/virusbase/BaseFormat.h"
#include "scanner/virusbase/CheckSignature.h"
#include "scanner/virusbase/LittleEndian.h"
#include "scanner/virusbase/SignatureIndex.h"

namespace scanner {
namespace {

// Fails a read with a platform code that is never 0, so that a short read
// cannot pass for success.
int ReadFailure(uint32_t code) {
  platform::SetLastError(code);
  return static_cast<int>(code);
}

// Copies a scrambled UTF-16LE payload into a field, descrambled; an odd last
// byte fills the low half of its unit.
void DecodeText(const uint8_t* payload, size_t bytes, char16_t* field, size_t units) {
  uint8_t plain[kDescriptionKeptBytes];
  std::memcpy(plain, payload, bytes);
  Scramble({plain, bytes});
  std::fill(field, field + units, u'\0');
  for (size_t i = 0; i < bytes; ++i)
    field[i / 2] = static_cast<char16_t>(field[i / 2] | (plain[i] << (8 * (i % 2))));
}

// RecordReader: sequential reads over the signed content.
class RecordReader {
 public:
  explicit RecordReader(std::span<const uint8_t> content) : d_(content) {}

  void Seek(size_t at) { at_ = at; }
  size_t remaining() const { return at_ < d_.size() ? d_.size() - at_ : 0; }

  // ReadRecord: reads one record into base. Returns 0 (record added), -1 (file
  // end), or a positive code (record discarded).
  int ReadRecord(VirusBase& base) {
    auto record = std::make_unique<VirusRecord>();
    for (;;) {
      if (remaining() < sizeof(ChunkHeader)) return ReadFailure(platform::ERROR_HANDLE_EOF);
      const uint8_t* h = d_.data() + at_;
      const size_t chunkStart = at_;
      const uint32_t type = LoadLe16(h);
      const uint32_t flags = LoadLe16(h + 2);
      const uint32_t length = LoadLe32(h + 4);
      at_ += sizeof(ChunkHeader);
      const uint8_t* payload = d_.data() + at_;

      switch (static_cast<ChunkType>(type)) {
        case ChunkType::kName:
          if (length != kNamePayloadSize) return ReadFailure(platform::ERROR_INVALID_DATA);
          if (remaining() < kNamePayloadSize) return ReadFailure(platform::ERROR_HANDLE_EOF);
          DecodeText(payload, kNamePayloadSize, record->name, std::size(record->name));
          at_ += kNamePayloadSize;
          break;
        case ChunkType::kSignature: {
          // Checked before allocating, so a huge length costs nothing.
          if (remaining() < length) return ReadFailure(platform::ERROR_HANDLE_EOF);
          auto signature = std::make_unique<uint8_t[]>(length);
          std::memcpy(signature.get(), payload, length);
          Scramble({signature.get(), length});
          record->signature = std::move(signature);
          record->signatureLength = length;
          at_ += length;
          break;
        }
        case ChunkType::kValue:
          record->value = length;
          break;
        case ChunkType::kDescription: {
          if (remaining() < length) return ReadFailure(platform::ERROR_HANDLE_EOF);
          const size_t kept = std::min<size_t>(length, kDescriptionKeptBytes);
          DecodeText(payload, kept, record->description, std::size(record->description));
          at_ += length;
          break;
        }
        case ChunkType::kEndOfRecord:
          base.PushFront(std::move(record));
          return 0;
        case ChunkType::kFileEnd:
          return kLoadNotABase;
        default:
          // An unknown chunk is skipped whole: header plus payload, or only
          // the header when it carries a value.
          Seek(chunkStart + sizeof(ChunkHeader) +
               ((flags & kChunkHasValue) ? 0 : std::min<size_t>(length, remaining())));
          break;
      }
    }
  }

 private:
  std::span<const uint8_t> d_;
  size_t at_ = 0;
};

int LoadRecords(VirusBase& base, std::span<const uint8_t> content) {
  if (content.size() < sizeof(BaseHeader)) return kLoadNotABase;
  if (LoadLe32(content.data() + offsetof(BaseHeader, formatMark)) != kBaseFormatMark)
    return kLoadNotABase;
  const uint32_t count = LoadLe32(content.data() + offsetof(BaseHeader, recordCount));

  RecordReader reader(content);
  reader.Seek(sizeof(BaseHeader));
  int result = 0;
  try {
    for (uint32_t i = 0; i < count && result == 0; ++i) result = reader.ReadRecord(base);
  } catch (const std::bad_alloc&) {
    result = ReadFailure(platform::ERROR_NOT_ENOUGH_MEMORY);  // the record is discarded
  }

  // Counted in unsigned arithmetic: the sum wraps instead of overflowing.
  base.virusCount = static_cast<int32_t>(static_cast<uint32_t>(base.virusCount) + count);
  return result;
}

}  // namespace

int LoadBase(VirusBase& base, std::span<const uint8_t> fileBytes) {
  size_t signedLength = 0;
  if (CheckSignatureWith(fileBytes, BuiltinKey(), BuiltinGroup(), &signedLength) != 0)
    return kLoadBadSignature;
  // Only the signed content is read: trailer blocks are not covered by the
  // signature and must not be taken for records.
  const int result = LoadRecords(base, fileBytes.first(signedLength));
  // Rebuilt over the whole list after every file, records of a failed read
  // included, as they are used. Without memory for it FindVirus falls back to
  // the list walk, which gives the same answers.
  BuildIndex(base);
  return result;
}

int LoadBase(VirusBase& base, const std::string& path) {
  std::vector<uint8_t> bytes;
  {
    platform::MappedFile file;
    const uint32_t code = file.Open(path);
    // An empty file opens but cannot be mapped, which fails the check.
    if (code == platform::ERROR_FILE_INVALID) return kLoadBadSignature;
    if (code != 0) return static_cast<int>(code);
    // The records must come from the very bytes that were verified. A mapping
    // alone does not ensure that here: nothing keeps another process from
    // writing the file in place while it is mapped. So the check and the
    // reader both work on one private copy.
    try {
      bytes.assign(file.bytes().begin(), file.bytes().end());
    } catch (const std::bad_alloc&) {
      return kLoadBadSignature;  // no memory for the check
    }
  }
  return LoadBase(base, bytes);
}

}  // namespace scanner
