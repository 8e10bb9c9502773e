// HTTP downloads against a real server on 127.0.0.1: pieces, error pages, headers, failures,
// cancel.
#include "platform/Internet.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/testing/HttpTestServer.h"

namespace platform {
namespace {

using platform::testing::HttpReply;
using platform::testing::HttpTestServer;
using namespace std::chrono_literals;

constexpr char kAgent[] = "Test Agent/1.0";

// Bytes: a body whose every byte tells its position, so that a lost or
// repeated piece shows.
std::string Bytes(size_t n) {
  std::string body(n, '\0');
  for (size_t i = 0; i < n; ++i) body[i] = static_cast<char>('a' + (i * 7 + i / 251) % 26);
  return body;
}

class InternetTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(InternetSession::Open(kAgent, session_, limits_), 0u); }

  // Open: opens a path of the test server; ASSERTs success.
  std::unique_ptr<InternetRequest> Open(const std::string& path) {
    std::unique_ptr<InternetRequest> request;
    EXPECT_EQ(session_->OpenUrl(server_.Url(path), request), 0u);
    return request;
  }

  // Pieces: the counts of successive 1024-byte reads up to and including the
  // first 0, and the bytes read.
  static std::vector<size_t> Pieces(InternetRequest& request, std::string* body) {
    std::vector<size_t> counts;
    std::byte piece[1024];
    for (int guard = 0; guard < 10000; ++guard) {
      size_t read = 0;
      EXPECT_EQ(request.Read(piece, read), 0u);
      counts.push_back(read);
      body->append(reinterpret_cast<const char*>(piece), read);
      if (read == 0) break;
    }
    return counts;
  }

  HttpTestServer server_;
  InternetLimits limits_{5000, 5000};
  std::unique_ptr<InternetSession> session_;
};

TEST_F(InternetTest, ReadsFillWholePiecesUntilTheBodyEnds) {
  const std::string body = Bytes(2500);
  server_.Serve("/base.zvb", HttpReply(body).Pieces(300));  // arrives in odd sizes
  auto request = Open("/base.zvb");
  ASSERT_TRUE(request);
  EXPECT_EQ(request->StatusCode(), 200);
  std::string got;
  EXPECT_EQ(Pieces(*request, &got), (std::vector<size_t>{1024, 1024, 452, 0}));
  EXPECT_EQ(got, body);
}

TEST_F(InternetTest, BodyOfExactlyTwoPiecesEndsWithAnEmptyThirdRead) {
  const std::string body = Bytes(2048);
  server_.Serve("/two", HttpReply(body));
  auto request = Open("/two");
  ASSERT_TRUE(request);
  std::string got;
  EXPECT_EQ(Pieces(*request, &got), (std::vector<size_t>{1024, 1024, 0}));
  EXPECT_EQ(got, body);
  size_t read = 99;
  EXPECT_EQ(request->Read(std::span<std::byte>(), read), 0u);
  EXPECT_EQ(read, 0u);
}

TEST_F(InternetTest, LargeBodyReadSlowlyArrivesWhole) {
  const std::string body = Bytes(300 * 1024 + 17);
  server_.Serve("/large", HttpReply(body));
  auto request = Open("/large");
  ASSERT_TRUE(request);
  std::this_thread::sleep_for(50ms);  // the server is far ahead of the reader
  std::string got;
  const std::vector<size_t> counts = Pieces(*request, &got);
  EXPECT_EQ(got, body);
  ASSERT_EQ(counts.size(), 302u);
  EXPECT_EQ(counts[300], 17u);
}

TEST_F(InternetTest, ErrorStatusDeliversItsPage) {
  server_.Serve("/gone", HttpReply("<HTML>no such base</HTML>", 404).ContentType("text/html"));
  auto request = Open("/gone");
  ASSERT_TRUE(request);
  EXPECT_EQ(request->StatusCode(), 404);
  EXPECT_EQ(request->LastResponseInfo().rfind("HTTP/1.1 404", 0), 0u)
      << request->LastResponseInfo();
  std::string got;
  Pieces(*request, &got);
  EXPECT_EQ(got, "<HTML>no such base</HTML>");

  server_.Serve("/broken", HttpReply("server trouble", 500));
  auto failed = Open("/broken");
  ASSERT_TRUE(failed);
  EXPECT_EQ(failed->StatusCode(), 500);
}

TEST_F(InternetTest, AgentNameAndNoCacheHeadersReachTheServer) {
  server_.Serve("/x", HttpReply("x"));
  auto request = Open("/x");
  ASSERT_TRUE(request);
  const auto requests = server_.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].path, "/x");
  EXPECT_EQ(requests[0].Header("User-Agent"), kAgent);
  EXPECT_EQ(requests[0].Header("Cache-Control"), "no-cache");
  EXPECT_EQ(requests[0].Header("Pragma"), "no-cache");
  EXPECT_EQ(session_->agent(), kAgent);
}

TEST_F(InternetTest, RedirectIsFollowedAndOnlyTheFinalPageIsTheBody) {
  server_.Serve("/old", HttpReply("moved", 302).Location("/new"));
  server_.Serve("/new", HttpReply("the new place"));
  auto request = Open("/old");
  ASSERT_TRUE(request);
  EXPECT_EQ(request->StatusCode(), 200);
  EXPECT_EQ(request->LastResponseInfo().rfind("HTTP/1.1 200", 0), 0u);
  std::string got;
  Pieces(*request, &got);
  EXPECT_EQ(got, "the new place");
}

TEST_F(InternetTest, StatusLineIsCutTo128Characters) {
  auto request = Open("/missing");
  ASSERT_TRUE(request);
  EXPECT_EQ(request->StatusCode(), 404);
  EXPECT_LE(request->LastResponseInfo().size(), 128u);
  EXPECT_EQ(request->LastResponseInfo().find('\r'), std::string::npos);
}

TEST_F(InternetTest, AddressesAreCheckedBeforeConnecting) {
  std::unique_ptr<InternetRequest> request;
  EXPECT_EQ(session_->OpenUrl("ftp://127.0.0.1/base.zvb", request),
            ERROR_INTERNET_UNRECOGNIZED_SCHEME);
  EXPECT_EQ(session_->OpenUrl("127.0.0.1/base.zvb", request), ERROR_INTERNET_UNRECOGNIZED_SCHEME);
  EXPECT_EQ(session_->OpenUrl("http://", request), ERROR_INTERNET_INVALID_URL);
  EXPECT_EQ(session_->OpenUrl(std::string("http://127.0.0.1/a\0b", 20), request),
            ERROR_INTERNET_INVALID_URL);
  EXPECT_FALSE(request);
  EXPECT_TRUE(server_.Requests().empty());
}

TEST_F(InternetTest, RefusedConnectionCannotConnect) {
  const uint16_t port = HttpTestServer::UnusedPort();
  std::unique_ptr<InternetRequest> request;
  EXPECT_EQ(session_->OpenUrl("http://127.0.0.1:" + std::to_string(port) + "/base.zvb", request),
            ERROR_INTERNET_CANNOT_CONNECT);
  EXPECT_FALSE(request);
}

TEST_F(InternetTest, ConnectionDroppedMidBodyIsAnErrorNotTheEnd) {
  server_.Serve("/cut", HttpReply(Bytes(4096)).Pieces(500).DropAfter(1500));
  auto request = Open("/cut");
  ASSERT_TRUE(request);
  std::byte piece[1024];
  size_t read = 0;
  EXPECT_EQ(request->Read(piece, read), 0u);
  EXPECT_EQ(read, 1024u);
  EXPECT_EQ(request->Read(piece, read), ERROR_INTERNET_CONNECTION_ABORTED);
  EXPECT_EQ(read, 476u);  // what did arrive
  EXPECT_EQ(request->Read(piece, read), ERROR_INTERNET_CONNECTION_ABORTED);
  EXPECT_EQ(read, 0u);
}

TEST_F(InternetTest, SilentServerTimesOut) {
  InternetLimits quick{5000, 200};
  std::unique_ptr<InternetSession> session;
  ASSERT_EQ(InternetSession::Open(kAgent, session, quick), 0u);
  server_.Serve("/silent", HttpReply("late").HeaderDelay(20000));
  std::unique_ptr<InternetRequest> request;
  EXPECT_EQ(session->OpenUrl(server_.Url("/silent"), request), ERROR_INTERNET_TIMEOUT);

  server_.Serve("/stalls", HttpReply(Bytes(3000)).Pieces(1500, 20000));
  ASSERT_EQ(session->OpenUrl(server_.Url("/stalls"), request), 0u);
  std::byte piece[1024];
  size_t read = 0;
  EXPECT_EQ(request->Read(piece, read), 0u);
  EXPECT_EQ(request->Read(piece, read), ERROR_INTERNET_TIMEOUT);
  EXPECT_EQ(read, 476u);
}

TEST_F(InternetTest, CancelFromAnotherThreadEndsASlowBodyPromptly) {
  // 100 pieces a fifth of a second apart: twenty seconds if nothing ends it.
  server_.Serve("/slow", HttpReply(Bytes(100 * 1024)).Pieces(1024, 200));
  auto request = Open("/slow");
  ASSERT_TRUE(request);
  std::byte piece[1024];
  size_t read = 0;
  ASSERT_EQ(request->Read(piece, read), 0u);
  const auto start = std::chrono::steady_clock::now();
  std::thread canceller([this] {
    std::this_thread::sleep_for(300ms);
    session_->Cancel();
  });
  uint32_t rc = 0;
  for (int i = 0; i < 100 && rc == 0; ++i) rc = request->Read(piece, read);
  canceller.join();
  EXPECT_EQ(rc, ERROR_INTERNET_OPERATION_CANCELLED);
  // A bound for a hang, far below the body's own time.
  EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);

  // Cancelled for good: later calls give the same answer at once.
  EXPECT_EQ(request->Read(piece, read), ERROR_INTERNET_OPERATION_CANCELLED);
  std::unique_ptr<InternetRequest> again;
  EXPECT_EQ(session_->OpenUrl(server_.Url("/slow"), again), ERROR_INTERNET_OPERATION_CANCELLED);
  EXPECT_EQ(server_.Requests().size(), 1u);
}

TEST_F(InternetTest, CancelEndsAnOpenWaitingForHeaders) {
  server_.Serve("/late", HttpReply("x").HeaderDelay(20000));
  std::thread canceller([this] {
    std::this_thread::sleep_for(300ms);
    session_->Cancel();
  });
  std::unique_ptr<InternetRequest> request;
  EXPECT_EQ(session_->OpenUrl(server_.Url("/late"), request), ERROR_INTERNET_OPERATION_CANCELLED);
  canceller.join();
  EXPECT_FALSE(request);
}

TEST_F(InternetTest, RequestsOfASessionAreIndependent) {
  server_.Serve("/a", HttpReply(Bytes(1500)));
  server_.Serve("/b", HttpReply("bee"));
  auto a = Open("/a");
  auto b = Open("/b");
  ASSERT_TRUE(a && b);
  std::string gotB;
  Pieces(*b, &gotB);
  std::string gotA;
  Pieces(*a, &gotA);
  EXPECT_EQ(gotA, Bytes(1500));
  EXPECT_EQ(gotB, "bee");
}

}  // namespace
}  // namespace platform
