// Request messages: decoding untrusted bytes and dispatching to the table.
#include <gtest/gtest.h>

#include "outside/devicemanager/RequestHandler.h"
#include "outside/devicemanager/tests/FakeDriver.h"
#include "platform/Errors.h"

namespace devicemanager {
namespace {

using namespace platform;

DeviceReply Send(DeviceTable& t, const DeviceRequest& r, Handled* handled = nullptr) {
  Handled h;
  const auto bytes = HandleMessage(t, EncodeRequest(r), 42, h);
  if (handled) *handled = h;
  DeviceReply reply;
  EXPECT_EQ(DecodeReply(bytes, reply), 0u);
  return reply;
}

DeviceRequest Register(uint32_t index) {
  DeviceRequest r;
  r.op = DeviceOp::Register;
  r.name = u"VDD";
  r.file = u"Fake.dll";
  r.args[0] = index;
  r.data = {9, 8, 7};
  return r;
}

TEST(DeviceMessage, RequestsAndRepliesSurviveEncoding) {
  DeviceRequest r = Register(5);
  r.args[2] = 0xA1B2C3D4;
  DeviceRequest back;
  ASSERT_EQ(DecodeRequest(EncodeRequest(r), back), 0u);
  EXPECT_EQ(back.op, DeviceOp::Register);
  EXPECT_EQ(back.name, u"VDD");
  EXPECT_EQ(back.file, u"Fake.dll");
  EXPECT_EQ(back.args[0], 5u);
  EXPECT_EQ(back.args[2], 0xA1B2C3D4u);
  EXPECT_EQ(back.data, r.data);

  DeviceReply reply{2404, 17, {1, 2}, {3}};
  DeviceReply replyBack;
  ASSERT_EQ(DecodeReply(EncodeReply(reply), replyBack), 0u);
  EXPECT_EQ(replyBack.error, 2404u);
  EXPECT_EQ(replyBack.value, 17u);
  EXPECT_EQ(replyBack.data, reply.data);
  EXPECT_EQ(replyBack.output, reply.output);
}

TEST(DeviceMessage, ShortLongAndUnknownMessagesAreInvalidData) {
  const auto good = EncodeRequest(Register(0));
  DeviceRequest out;
  for (size_t n = 0; n < good.size(); ++n)
    EXPECT_EQ(DecodeRequest(std::span(good).first(n), out), ERROR_INVALID_DATA) << n;
  auto longer = good;
  longer.push_back(0);
  EXPECT_EQ(DecodeRequest(longer, out), ERROR_INVALID_DATA);
  auto unknown = good;
  unknown[0] = static_cast<uint8_t>(DeviceOp::_count);
  EXPECT_EQ(DecodeRequest(unknown, out), ERROR_INVALID_DATA);
  unknown[0] = 0;
  EXPECT_EQ(DecodeRequest(unknown, out), ERROR_INVALID_DATA);
  // A data length announcing 4 GiB is refused before anything is allocated.
  auto huge = good;
  huge[24] = huge[25] = huge[26] = huge[27] = 0xFF;
  EXPECT_EQ(DecodeRequest(huge, out), ERROR_INVALID_DATA);
}

TEST(DeviceMessage, StatusListingSurvivesAndRejectsAnOverlongCount) {
  std::vector<DeviceStatusEntry> entries = {{5, u"VDD0:", "/a/Secvol.so"}, {6, u"TST1:", ""}};
  std::vector<DeviceStatusEntry> back;
  ASSERT_EQ(DecodeStatus(EncodeStatus(entries), back), 0u);
  ASSERT_EQ(back.size(), 2u);
  EXPECT_EQ(back[0].name, u"VDD0:");
  EXPECT_EQ(back[0].driverFile, "/a/Secvol.so");
  EXPECT_EQ(back[1].handle, 6u);
  const std::vector<uint8_t> lying = {0xFF, 0xFF, 0xFF, 0x7F};
  EXPECT_EQ(DecodeStatus(lying, back), ERROR_INVALID_DATA);
}

TEST(RequestHandler, GarbageGetsInvalidDataAndChangesNothing) {
  FakeWorld w;
  auto t = FakeTable(w);
  Handled handled;
  const std::vector<uint8_t> garbage = {1, 0, 0};
  DeviceReply reply;
  ASSERT_EQ(DecodeReply(HandleMessage(*t, garbage, 1, handled), reply), 0u);
  EXPECT_EQ(reply.error, ERROR_INVALID_DATA);
  EXPECT_EQ(handled, Handled::Continue);
  EXPECT_EQ(t->size(), 0u);
}

TEST(RequestHandler, RegisterOpenControlAndCloseThroughMessages) {
  FakeWorld w;
  auto t = FakeTable(w, 50);
  const DeviceReply reg = Send(*t, Register(2));
  ASSERT_EQ(reg.error, 0u);
  EXPECT_EQ(reg.value, 50u);
  EXPECT_EQ(Send(*t, Register(2)).error, ERROR_DEVICE_IN_USE);

  DeviceRequest open;
  open.op = DeviceOp::Open;
  open.name = u"VDD2:";
  const DeviceReply opened = Send(*t, open);
  ASSERT_EQ(opened.error, 0u);

  DeviceRequest control;
  control.op = DeviceOp::IoControl;
  control.args[0] = opened.value;
  control.args[1] = 3;  // reverses the input in place
  control.args[2] = 8;
  control.data = {1, 2, 3};
  DeviceReply reply = Send(*t, control);
  EXPECT_EQ(reply.error, 0u);
  EXPECT_EQ(reply.data, (std::vector<uint8_t>{3, 2, 1}));
  EXPECT_EQ(reply.output.size(), 8u);

  control.args[2] = static_cast<uint32_t>(kMaxDeviceData) + 1;
  EXPECT_EQ(Send(*t, control).error, ERROR_INVALID_PARAMETER);

  DeviceRequest close;
  close.op = DeviceOp::Close;
  close.args[0] = opened.value;
  EXPECT_EQ(Send(*t, close).error, 0u);
  EXPECT_EQ(Send(*t, close).error, ERROR_INVALID_HANDLE);

  DeviceRequest dereg;
  dereg.op = DeviceOp::Deregister;
  dereg.args[0] = 50;
  EXPECT_EQ(Send(*t, dereg).error, 0u);
  EXPECT_EQ(Send(*t, dereg).error, ERROR_INVALID_HANDLE);
}

TEST(RequestHandler, StatusCarriesThePidAndStopIsReported) {
  FakeWorld w;
  auto t = FakeTable(w);
  ASSERT_EQ(Send(*t, Register(0)).error, 0u);
  DeviceRequest status;
  status.op = DeviceOp::Status;
  const DeviceReply reply = Send(*t, status);
  EXPECT_EQ(reply.value, 42u);
  std::vector<DeviceStatusEntry> entries;
  ASSERT_EQ(DecodeStatus(reply.data, entries), 0u);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].name, u"VDD0:");

  DeviceRequest stop;
  stop.op = DeviceOp::Stop;
  Handled handled;
  EXPECT_EQ(Send(*t, stop, &handled).error, 0u);
  EXPECT_EQ(handled, Handled::StopRequested);
}

}  // namespace
}  // namespace devicemanager
