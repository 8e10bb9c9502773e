// The control socket's requests.
#include <gtest/gtest.h>

#include "outside/ruviclient/ControlMessage.h"

namespace ruviclient {
namespace {

TEST(ControlMessage, CommandsParseByNameOrNumberAndNothingElseDoes) {
  EXPECT_EQ(ParseControlRequest("start"), ControlRequest::Start);
  EXPECT_EQ(ParseControlRequest("STOP"), ControlRequest::Stop);
  EXPECT_EQ(ParseControlRequest("3"), ControlRequest::Pause);
  EXPECT_EQ(ParseControlRequest("Resume"), ControlRequest::Resume);
  EXPECT_EQ(ParseControlRequest("ping"), ControlRequest::Ping);
  for (const char* bad : {"", "0", "5", "start ", "pausepausepausepause", "st\0rt"})
    EXPECT_FALSE(ParseControlRequest(bad).has_value()) << bad;
  EXPECT_FALSE(ParseControlRequest(std::string_view("1\0", 2)).has_value());
  for (auto r : {ControlRequest::Ping, ControlRequest::Start, ControlRequest::Stop,
                 ControlRequest::Pause, ControlRequest::Resume})
    EXPECT_EQ(ParseControlRequest(CommandName(r)), r);
  EXPECT_EQ(CommandNumber(ControlRequest::Stop), 2);
}

}  // namespace
}  // namespace ruviclient
