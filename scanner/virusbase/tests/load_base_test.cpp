// Loading records: chunk handling, counts, failures and what stays loaded.
#include <gtest/gtest.h>

#include "platform/Errors.h"
#include "platform/testing/TempFolder.h"
#include "scanner/virusbase/FindVirus.h"
#include "scanner/virusbase/LoadBase.h"
#include "scanner/virusbase/tests/TestBase.h"

namespace scanner {
namespace {

using testing::BaseBytes;

std::vector<std::u16string> Names(const VirusBase& base) {
  std::vector<std::u16string> names;
  for (const VirusRecord* r = base.head; r != nullptr; r = r->next)
    names.emplace_back(r->nameText());
  return names;
}

TEST(LoadBase, RecordsAreListedInReverseFileOrder) {
  VirusBase base;
  const auto file = BaseBytes(3)
                        .Record(u"One", "sig-one")
                        .Record(u"Two", "sig-two")
                        .Record(u"Three", "sig-3")
                        .FileEnd()
                        .Signed();
  EXPECT_EQ(LoadBase(base, file), 0);
  EXPECT_EQ(base.virusCount, 3);
  EXPECT_EQ(Names(base), (std::vector<std::u16string>{u"Three", u"Two", u"One"}));
  EXPECT_EQ(base.head->signatureLength, 5u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(base.head->signature.get()), 5), "sig-3");
}

TEST(LoadBase, AllChunksOfARecordAreDescrambled) {
  VirusBase base;
  const auto file = BaseBytes(1)
                        .Name(u"Named")
                        .Chunk(3, kChunkHasValue, 0xCAFEu)
                        .Signature("pattern")
                        .Description(u"Described")
                        .EndRecord()
                        .Signed();
  ASSERT_EQ(LoadBase(base, file), 0);
  const VirusRecord& r = *base.head;
  EXPECT_EQ(r.nameText(), u"Named");
  EXPECT_EQ(r.value, 0xCAFEu);
  EXPECT_EQ(r.descriptionText(), u"Described");
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(r.signature.get()), r.signatureLength),
            "pattern");
}

TEST(LoadBase, HeaderCountAboveTheRecordsStopsAtFileEnd) {
  VirusBase base;
  const auto file = BaseBytes(5).Record(u"A", "aaaa").Record(u"B", "bbbb").FileEnd().Signed();
  EXPECT_EQ(LoadBase(base, file), kLoadNotABase);
  EXPECT_EQ(base.virusCount, 5);  // N is counted whatever the result
  EXPECT_EQ(Names(base).size(), 2u);
}

TEST(LoadBase, RecordLaterInTheFileIsTheOneFound) {
  VirusBase base;
  const auto file = BaseBytes(3)
                        .Record(u"Earlier", "abc")
                        .Record(u"Unrelated", "zzz")
                        .Record(u"Later", "xyz")
                        .FileEnd()
                        .Signed();
  ASSERT_EQ(LoadBase(base, file), 0);
  const std::string object = "..abc..xyz..";
  const VirusRecord* hit = FindVirus(base, reinterpret_cast<const uint8_t*>(object.data()),
                                     static_cast<uint32_t>(object.size()));
  ASSERT_NE(hit, nullptr);
  EXPECT_EQ(hit->nameText(), u"Later");
}

TEST(LoadBase, ZeroRecordsLoadWithCountZero) {
  VirusBase base;
  EXPECT_EQ(LoadBase(base, BaseBytes(0).FileEnd().Signed()), 0);
  EXPECT_EQ(base.virusCount, 0);
  EXPECT_EQ(base.head, nullptr);
}

TEST(LoadBase, CountsAddUpOverSeveralFiles) {
  VirusBase base;
  EXPECT_EQ(LoadBase(base, BaseBytes(1).Record(u"A", "aaaa").Signed()), 0);
  EXPECT_EQ(LoadBase(base, BaseBytes(2).Record(u"B", "bb").Record(u"C", "cc").Signed()), 0);
  EXPECT_EQ(base.virusCount, 3);
  EXPECT_EQ(Names(base), (std::vector<std::u16string>{u"C", u"B", u"A"}));
}

TEST(LoadBase, LongDescriptionKeeps256BytesAndReadsOnFromTheRightPlace) {
  const std::u16string text(150, u'd');  // 300 bytes
  VirusBase base;
  const auto file = BaseBytes(2)
                        .Name(u"Long")
                        .Description(text)
                        .Signature("after")
                        .EndRecord()
                        .Record(u"Next", "next")
                        .Signed();
  ASSERT_EQ(LoadBase(base, file), 0);
  const VirusRecord& longOne = *base.head->next;
  EXPECT_EQ(longOne.descriptionText(), std::u16string(128, u'd'));  // full field, no terminator
  EXPECT_EQ(longOne.signatureLength, 5u);
  EXPECT_EQ(base.head->nameText(), u"Next");
}

TEST(LoadBase, ALaterDescriptionReplacesTheEarlierOneWhole) {
  VirusBase base;
  const auto file = BaseBytes(1)
                        .Name(u"N")
                        .Description(u"long first text")
                        .Description(u"short")
                        .EndRecord()
                        .Signed();
  ASSERT_EQ(LoadBase(base, file), 0);
  EXPECT_EQ(base.head->descriptionText(), u"short");
}

TEST(LoadBase, LaterSignatureChunkReplacesTheBuffer) {
  VirusBase base;
  const auto file =
      BaseBytes(1).Name(u"N").Signature("first-signature").Signature("second").EndRecord().Signed();
  ASSERT_EQ(LoadBase(base, file), 0);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(base.head->signature.get()),
                        base.head->signatureLength),
            "second");
}

TEST(LoadBase, UnknownChunksAreSkippedWhole) {
  // Type 9 is skipped by 8 + length: its payload looks like an end-of-record
  // header, and the signature header follows right after it.
  VirusBase withPayload;
  auto file = BaseBytes(1)
                  .Name(u"Skipper")
                  .Chunk(9, 0, 8)
                  .Raw({0xFE, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00})
                  .Signature("kept")
                  .EndRecord()
                  .Signed();
  ASSERT_EQ(LoadBase(withPayload, file), 0);
  EXPECT_EQ(withPayload.head->nameText(), u"Skipper");
  EXPECT_EQ(withPayload.head->signatureLength, 4u);

  // Type 10 with flag bit 0 is skipped by 8 only, whatever its length field.
  VirusBase withValue;
  file = BaseBytes(1)
             .Name(u"Valued")
             .Chunk(10, kChunkHasValue, 64)
             .Signature("also")
             .EndRecord()
             .Signed();
  ASSERT_EQ(LoadBase(withValue, file), 0);
  EXPECT_EQ(withValue.head->nameText(), u"Valued");
  EXPECT_EQ(withValue.head->signatureLength, 4u);
}

TEST(LoadBase, WrongFormatMarkIsRefusedWithoutCounting) {
  VirusBase base;
  EXPECT_EQ(LoadBase(base, BaseBytes(3, 0x1235).Record(u"A", "a").Signed()), kLoadNotABase);
  EXPECT_EQ(base.virusCount, 0);
  // Content shorter than the header has no format mark either.
  EXPECT_EQ(LoadBase(base, testing::DemoSigner().Sign(std::vector<uint8_t>(20, 0))), kLoadNotABase);
}

TEST(LoadBase, UnsignedOrAlteredFilesAreCorrupted) {
  VirusBase base;
  const auto content = BaseBytes(1).Record(u"A", "aaaa").content();
  EXPECT_EQ(LoadBase(base, content), kLoadBadSignature);
  auto file = BaseBytes(1).Record(u"A", "aaaa").Signed();
  file[60] ^= 1;
  EXPECT_EQ(LoadBase(base, file), kLoadBadSignature);
  EXPECT_EQ(base.virusCount, 0);
  EXPECT_EQ(base.head, nullptr);
}

TEST(LoadBase, PayloadLongerThanTheFileIsAReadFailure) {
  VirusBase base;
  const auto file = BaseBytes(2)
                        .Record(u"Good", "good")
                        .Name(u"Bad")
                        .Chunk(2, 0, 0xFFFFFFF0u)  // would be 4 GiB; nothing is allocated
                        .Signed();
  EXPECT_EQ(LoadBase(base, file), static_cast<int>(platform::ERROR_HANDLE_EOF));
  EXPECT_EQ(Names(base), (std::vector<std::u16string>{u"Good"}));  // earlier records stay
  EXPECT_EQ(base.virusCount, 2);
}

TEST(LoadBase, RunningOutOfRecordsIsAFailureNeverSuccess) {
  VirusBase base;
  // No file-end chunk: the read after the last record finds no more bytes.
  EXPECT_EQ(LoadBase(base, BaseBytes(2).Record(u"Only", "only").Signed()),
            static_cast<int>(platform::ERROR_HANDLE_EOF));
  EXPECT_EQ(Names(base).size(), 1u);
  // A record cut short inside a chunk header fails the same way.
  VirusBase other;
  EXPECT_EQ(LoadBase(other, BaseBytes(1).Name(u"Cut").Raw({1, 0, 0}).Signed()),
            static_cast<int>(platform::ERROR_HANDLE_EOF));
  EXPECT_EQ(other.head, nullptr);
}

TEST(LoadBase, TrailerBytesAreNeverReadAsRecords) {
  // N promises a second record; the bytes after the first are the unsigned
  // trailer, which ends the readable content.
  VirusBase base;
  const auto file = BaseBytes(2).Record(u"Signed", "signed").Signed();
  EXPECT_EQ(LoadBase(base, file), static_cast<int>(platform::ERROR_HANDLE_EOF));
  EXPECT_EQ(Names(base), (std::vector<std::u16string>{u"Signed"}));
}

TEST(LoadBase, NameChunkOfAnotherLengthIsDamaged) {
  VirusBase base;
  const auto file = BaseBytes(1)
                        .Chunk(1, 0, 10, std::vector<uint8_t>(10, 'n'))
                        .Signature("s")
                        .EndRecord()
                        .Signed();
  EXPECT_EQ(LoadBase(base, file), static_cast<int>(platform::ERROR_INVALID_DATA));
  EXPECT_EQ(base.head, nullptr);
}

TEST(LoadBase, FullNameAndDescriptionFieldsAreReadWithTheirLength) {
  VirusBase base;
  const std::u16string name(32, u'N');
  const std::u16string description(128, u'D');
  const auto file =
      BaseBytes(1).Name(name).Description(description).Signature("x").EndRecord().Signed();
  ASSERT_EQ(LoadBase(base, file), 0);
  EXPECT_EQ(base.head->nameText(), name);
  EXPECT_EQ(base.head->descriptionText(), description);
}

TEST(LoadBase, FromAPath) {
  platform::testing::TempFolder dir{"virusbase"};
  VirusBase base;
  EXPECT_EQ(LoadBase(base, dir.Write("ZEPBase.zvb", BaseBytes(1).Record(u"A", "a1").Signed())), 0);
  EXPECT_EQ(base.virusCount, 1);
  EXPECT_EQ(LoadBase(base, dir.Path("none.zvb")), static_cast<int>(platform::ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(LoadBase(base, dir.Write("empty.zvb", "")), kLoadBadSignature);
  EXPECT_EQ(base.virusCount, 1);
}

}  // namespace
}  // namespace scanner
