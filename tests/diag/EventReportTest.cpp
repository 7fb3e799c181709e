// Event reports as the telemetry receiver (the local release service on loopback) gets them.

#include "diag/EventReport.h"

#include <gtest/gtest.h>

#include <memory>

#include "log/SetupLog.h"
#include "net/http/HttpClient.h"
#include "tests/net/DrainUntil.h"
#include "tests/support/LogFiles.h"
#include "tests/support/ReleaseService.h"
#include "tests/support/TempHome.h"

namespace {

constexpr char kClientId[] = "0a1b2c3d4e5f";

TEST(EventFormTest, TheBodyHoldsTheConstantKeysAndTheValuesAsTheyAre) {
  struct Case {
    std::string clientId;
    const char* event;
    const char* ext;
    std::string body;
  };
  const Case cases[] = {
      {kClientId, "DLR_STR", "", "cid=0a1b2c3d4e5f&unid=0&appid=S0503&event=DLR_STR&sid=0&ver=1.0.0&user=0&ext="},
      {kClientId, "DLR_DL_PRO", "50",
       "cid=0a1b2c3d4e5f&unid=0&appid=S0503&event=DLR_DL_PRO&sid=0&ver=1.0.0&user=0&ext=50"},
      {"", "DLR_ERR", "", "cid=&unid=0&appid=S0503&event=DLR_ERR&sid=0&ver=1.0.0&user=0&ext="},
      {kClientId, "GC_FIRST_RUN_FNI", nullptr,
       "cid=0a1b2c3d4e5f&unid=0&appid=S0503&event=GC_FIRST_RUN_FNI&sid=0&ver=1.0.0&user=0&ext="},
  };
  for (const auto& c : cases) EXPECT_EQ(MakeEventForm(c.clientId, c.event, c.ext), c.body) << c.event;
}

TEST(EventFormTest, ALongBodyIsCutTo511Characters) {
  const std::string ext(600, 'x');
  const std::string body = MakeEventForm(kClientId, "DLR_STR", ext.c_str());
  EXPECT_EQ(body.size(), kEventFormCapacity - 1);
  EXPECT_TRUE(body.starts_with("cid=0a1b2c3d4e5f&unid=0&appid=S0503&event=DLR_STR&sid=0&ver=1.0.0&user=0&ext=xxx"));
}

class EventReportTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(service_.ready()); }
  void TearDown() override {
    nbt::HttpClient::DestroyInstance();
    // The next test's log lives in its own home.
    CloseLog();
  }

  std::vector<std::string> LogMessages() const { return test::LogMessages(test::TodaysLog(home_.config())); }

  // Waits (draining the task queue as the installer does) until the receiver has that many forms
  // and has logged their requests.
  bool WaitForRecords(std::size_t count) {
    return test::DrainUntil(
        [&] { return service_.TelemetryRecords().size() >= count && service_.Requests().size() >= count; });
  }

  test::TempHome home_;
  test::ReleaseService service_;
  InstallContext context_{kClientId};
};

TEST_F(EventReportTest, AReportArrivesAsAFormPostAndLeavesItsLogLine) {
  EventReportTo(service_.TelemetryUrl(), context_, "DLR_STR", "");
  ASSERT_TRUE(WaitForRecords(1));
  EXPECT_EQ(service_.TelemetryRecords(),
            std::vector<std::string>{"cid=0a1b2c3d4e5f&unid=0&appid=S0503&event=DLR_STR&sid=0&ver=1.0.0&user=0&ext="});
  EXPECT_EQ(service_.Requests(),
            std::vector<std::string>{"POST " + service_.TelemetryUrl() + " range=- status=200 faults=-"});
  EXPECT_EQ(LogMessages(), std::vector<std::string>{"EventReport:DLR_STR"});
}

TEST_F(EventReportTest, ThreeReportsArriveInTheOrderMade) {
  EventReportTo(service_.TelemetryUrl(), context_, "DLR_STR", "");
  EventReportTo(service_.TelemetryUrl(), context_, "DLR_DL_STR", "");
  EventReportTo(service_.TelemetryUrl(), context_, "DLR_DL_PRO", "50");
  ASSERT_TRUE(WaitForRecords(3));
  const auto records = service_.TelemetryRecords();
  ASSERT_EQ(records.size(), 3u);
  EXPECT_NE(records[0].find("&event=DLR_STR&"), std::string::npos) << records[0];
  EXPECT_NE(records[1].find("&event=DLR_DL_STR&"), std::string::npos) << records[1];
  EXPECT_TRUE(records[2].ends_with("&event=DLR_DL_PRO&sid=0&ver=1.0.0&user=0&ext=50")) << records[2];
  const std::vector<std::string> lines = {"EventReport:DLR_STR", "EventReport:DLR_DL_STR", "EventReport:DLR_DL_PRO"};
  EXPECT_EQ(LogMessages(), lines);
}

// Queues a request behind the reports and waits for its answer: once it has one, the client has
// finished with every report before it.
bool ClientGetsPast(const std::string& url) {
  auto done = std::make_shared<bool>(false);
  auto marker = std::make_unique<nbt::HttpRequest>();
  marker->url = url;
  marker->callback = [done](nbt::HttpResponse*) { *done = true; };
  nbt::HttpClient::Instance()->Send(std::move(marker));
  return test::DrainUntil([&] { return *done; });
}

TEST_F(EventReportTest, WithTheReceiverDownAReportLeavesOnlyItsLogLineAndNothingWaitsForIt) {
  const std::string deadUrl = service_.TelemetryUrl();
  ASSERT_EQ(service_.Stop(), 0);
  EventReportTo(deadUrl, context_, "DLR_DL_ERR", "");
  EXPECT_EQ(LogMessages(), std::vector<std::string>{"EventReport:DLR_DL_ERR"}) << "written at once";
  ASSERT_TRUE(ClientGetsPast(deadUrl));
  EXPECT_EQ(LogMessages(), std::vector<std::string>{"EventReport:DLR_DL_ERR"}) << "the outcome is not logged";
}

TEST_F(EventReportTest, ARefusedReportIsLostAndTheNextOneStillGoesOut) {
  ASSERT_TRUE(service_.AddFault("telemetry:status=500,count=1"));
  EventReportTo(service_.TelemetryUrl(), context_, "DLR_DL_CAL", "");
  EventReportTo(service_.TelemetryUrl(), context_, "DLR_DL_FIN", "");
  ASSERT_TRUE(WaitForRecords(2));
  const auto requests = service_.Requests();
  ASSERT_EQ(requests.size(), 2u) << "no retry of the refused report";
  EXPECT_NE(requests[0].find("status=500"), std::string::npos);
  EXPECT_NE(service_.TelemetryRecords()[1].find("&event=DLR_DL_FIN&"), std::string::npos);
  const std::vector<std::string> lines = {"EventReport:DLR_DL_CAL", "EventReport:DLR_DL_FIN"};
  EXPECT_EQ(LogMessages(), lines);
}

}  // namespace
