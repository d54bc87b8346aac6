// Model identification: GetMFPModel's model values, AbvPrinterCheck's
// groups and requests, and the answers of the model check.
#include "device/model_identification.h"

#include <gtest/gtest.h>

#include "device/model_check.h"
#include "device_test_machine.h"

namespace device::testing {
namespace {

constexpr char kDevice[] = "10.0.0.5";
constexpr char kArc[] = "1.3.6.1.4.1.1129.2.3.";

std::string Model(int number) { return kArc + std::to_string(number); }

class ModelIdentificationTest : public DeviceTest {
 protected:
  ModelIdentificationTest() {
    UseMachine(LocalQueue(kDevice, {}) + Hosts("\"longer.than.twentyone.test\"=\"10.0.0.5\""));
  }

  Snmp_pp::ScriptedAgent& Device(int model) {
    modelText_ = Model(model);
    return DeviceTest::Device(kDevice, modelText_.c_str());
  }

  std::string Abv() {
    char answer[kAbvAnswerSize] = "xxxx";
    AbvPrinterCheck("Q", "0", answer, nullptr);
    return answer;
  }

  // The private objects asked, by their column (…4.1.<column>.1.1).
  std::vector<int> ColumnsAsked() {
    std::vector<int> columns;
    const std::string prefix = "1.3.6.1.4.1.1129.2.3.50.1.2.4.1.";
    for (const auto& send : backend_->Sends()) {
      const std::string oid = send.oids.at(0).get_printable();
      if (oid.starts_with(prefix)) columns.push_back(std::stoi(oid.substr(prefix.size())));
    }
    return columns;
  }

  std::string modelText_;
};

TEST_F(ModelIdentificationTest, GetMfpModelAnswersOneForModels14To16Only) {
  for (int model : {14, 15, 16}) {
    Device(model);
    EXPECT_EQ(GetMfpModel("Q", "0", nullptr), 1) << model;
  }
  for (int model : {17, 18, 34, 99}) {
    Device(model);
    EXPECT_EQ(GetMfpModel("Q", "0", nullptr), 0) << model;
  }
  DeviceTest::Device(kDevice, "1.3.6.1.4.1.1129.2.3.140");  // substring test
  EXPECT_EQ(GetMfpModel("Q", "0", nullptr), 1);
}

TEST_F(ModelIdentificationTest, GetMfpModelIsZeroAtEveryFailurePoint) {
  EXPECT_EQ(GetMfpModel("Q", "0", nullptr), 0);  // nothing answers
  EXPECT_EQ(GetMfpModel("Missing", "0", nullptr), 0);
  Device(15);
  backend_->SetOpenStatus(Snmp_pp::SessionKind::kUdp, SNMP_CLASS_TL_FAILED);
  backend_->SetOpenStatus(Snmp_pp::SessionKind::kIpx, SNMP_CLASS_TL_FAILED);
  EXPECT_EQ(GetMfpModel("Q", "0", nullptr), 0);
  EXPECT_EQ(Snmp_pp::SocketLayerStats::outstanding(), 0);
}

TEST_F(ModelIdentificationTest, GroupCAsksTheFinalObjectOnly) {
  Device(14).Set("1.3.6.1.4.1.1129.2.3.50.1.2.4.1.11.1.1", 2L);
  EXPECT_EQ(Abv(), "ffmt");
  EXPECT_EQ(ColumnsAsked(), std::vector<int>{11});
  Device(28).Set("1.3.6.1.4.1.1129.2.3.50.1.2.4.1.11.1.1", 3L);
  EXPECT_EQ(Abv(), "ftmt");
  Device(32);  // the object is missing: the request fails
  EXPECT_EQ(Abv(), "ftmt");
}

TEST_F(ModelIdentificationTest, GroupXWithModeUnsetAndNoCountAnswersWithoutTheSecondProperty) {
  Device(15)
      .Set("1.3.6.1.4.1.1129.2.3.50.1.2.4.1.30.1.1", 1L)
      .Set("1.3.6.1.4.1.1129.2.3.50.1.2.4.1.33.1.1", 0L)
      .Set("1.3.6.1.4.1.1129.2.3.50.1.2.4.1.12.1.1", 3L);
  EXPECT_EQ(Abv(), "ffmf");
  EXPECT_EQ(ColumnsAsked(), (std::vector<int>{30, 33}));
}

TEST_F(ModelIdentificationTest, GroupXWithModeSetReadsTheSecondPropertyAndConfirmsTheFirst) {
  Device(19)
      .Set("1.3.6.1.4.1.1129.2.3.50.1.2.4.1.30.1.1", 3L)
      .Set("1.3.6.1.4.1.1129.2.3.50.1.2.4.1.12.1.1", 1L)
      .Set("1.3.6.1.4.1.1129.2.3.50.1.2.4.1.34.1.1", 0L)
      .Set("1.3.6.1.4.1.1129.2.3.50.1.2.4.1.11.1.1", 2L);
  EXPECT_EQ(Abv(), "ffmf");
  EXPECT_EQ(ColumnsAsked(), (std::vector<int>{30, 12, 34, 11}));
}

TEST_F(ModelIdentificationTest, GroupXWithPositiveCountConfirms) {
  Device(16)
      .Set("1.3.6.1.4.1.1129.2.3.50.1.2.4.1.30.1.1", 0L)
      .Set("1.3.6.1.4.1.1129.2.3.50.1.2.4.1.33.1.1", 2L)
      .Set("1.3.6.1.4.1.1129.2.3.50.1.2.4.1.12.1.1", 3L)
      .Set("1.3.6.1.4.1.1129.2.3.50.1.2.4.1.11.1.1", 3L);
  EXPECT_EQ(Abv(), "ftmt");
  EXPECT_EQ(ColumnsAsked(), (std::vector<int>{30, 33, 12, 11}));
}

TEST_F(ModelIdentificationTest, GroupXStopsWhenTheModeCannotBeRead) {
  Device(20);
  EXPECT_EQ(Abv(), "ftmt");
  EXPECT_EQ(ColumnsAsked(), std::vector<int>{30});
}

TEST_F(ModelIdentificationTest, GroupYGoesOnToTheSecondPropertyWhateverTheFirst) {
  Device(17)
      .Set("1.3.6.1.4.1.1129.2.3.50.1.2.4.1.12.1.1", 1L)
      .Set("1.3.6.1.4.1.1129.2.3.50.1.2.4.1.34.1.1", 0L);
  EXPECT_EQ(Abv(), "ftmf");  // 30 fails: F stays true; 12 is not 3 and 34 holds 0
  EXPECT_EQ(ColumnsAsked(), (std::vector<int>{30, 12, 34}));

  backend_->ClearSends();
  Device(17)
      .Set("1.3.6.1.4.1.1129.2.3.50.1.2.4.1.30.1.1", 1L)
      .Set("1.3.6.1.4.1.1129.2.3.50.1.2.4.1.33.1.1", 0L)
      .Set("1.3.6.1.4.1.1129.2.3.50.1.2.4.1.12.1.1", 3L);
  EXPECT_EQ(Abv(), "ffmt");
  EXPECT_EQ(ColumnsAsked(), (std::vector<int>{30, 33, 12}));
}

TEST_F(ModelIdentificationTest, UnidentifiedDevicesAnswerFtmt) {
  Device(99);
  EXPECT_EQ(Abv(), "ftmt");
  EXPECT_TRUE(ColumnsAsked().empty());

  devices_.clear();
  EXPECT_EQ(Abv(), "ftmt");

  char answer[kAbvAnswerSize] = "xxxx";
  AbvPrinterCheck("Missing", "0", answer, nullptr);
  EXPECT_STREQ(answer, "ftmt");

  Device(14).Set("1.3.6.1.4.1.1129.2.3.50.1.2.4.1.11.1.1", 2L);
  backend_->SetOpenStatus(Snmp_pp::SessionKind::kUdp, SNMP_CLASS_TL_FAILED);
  EXPECT_EQ(Abv(), "ftmt");  // the IPX session alone does not count
  EXPECT_EQ(Snmp_pp::SocketLayerStats::outstanding(), 0);
}

TEST_F(ModelIdentificationTest, HostNameLongerThanTwentyOneCharactersIsNeverAsked) {
  UseMachine(LocalQueue("USB001", "\"SNMPIPAddress\"=\"longer.than.twentyone.test\"") +
             Hosts("\"longer.than.twentyone.test\"=\"10.0.0.5\""));
  Device(14).Set("1.3.6.1.4.1.1129.2.3.50.1.2.4.1.11.1.1", 2L);
  EXPECT_EQ(Abv(), "ftmt");
  EXPECT_TRUE(backend_->Sends().empty());
}

// ---- The model check ---------------------------------------------------------------------

TEST_F(ModelIdentificationTest, VerifyDeviceModelAnswers) {
  int notOurs = 0;
  Device(34);
  EXPECT_EQ(VerifyDeviceModel(nullptr, kDevice, 1, &notOurs), kModelOurs);
  EXPECT_EQ(notOurs, 0);

  Device(99);
  EXPECT_EQ(VerifyDeviceModel(nullptr, kDevice, 1, &notOurs), kModelNotOurs);
  EXPECT_EQ(notOurs, 1);

  notOurs = 0;
  devices_.clear();
  EXPECT_EQ(VerifyDeviceModel(nullptr, kDevice, 1, &notOurs), kModelTimedOut);
  EXPECT_EQ(notOurs, 0);

  EXPECT_EQ(VerifyDeviceModel(nullptr, "", 1, nullptr), kModelNotOurs);
  EXPECT_EQ(VerifyDeviceModel(nullptr, "nowhere.invalid", 1, nullptr), kModelNotOurs);
  EXPECT_EQ(Snmp_pp::SocketLayerStats::outstanding(), 0);
}

TEST_F(ModelIdentificationTest, VerifyDeviceModelWithoutRequest) {
  Device(99);
  backend_->ClearSends();
  EXPECT_EQ(VerifyDeviceModel(nullptr, kDevice, 0, nullptr), kModelOurs);
  int notOurs = 7;
  EXPECT_EQ(VerifyDeviceModel(nullptr, kDevice, 1, &notOurs), kModelNotOurs);
  EXPECT_EQ(notOurs, 7);
  EXPECT_TRUE(backend_->Sends().empty());
}

TEST_F(ModelIdentificationTest, VerifyDeviceModelAsksOverUdpOnlyAndNeedsIt) {
  Device(15);
  backend_->SetOpenStatus(Snmp_pp::SessionKind::kUdp, SNMP_CLASS_TL_FAILED);
  EXPECT_EQ(VerifyDeviceModel(nullptr, kDevice, 1, nullptr), kModelNotOurs);
  backend_->SetOpenStatus(Snmp_pp::SessionKind::kIpx, SNMP_CLASS_TL_FAILED);
  EXPECT_EQ(VerifyDeviceModel(nullptr, kDevice, 1, nullptr), kModelNoSession);
  EXPECT_TRUE(backend_->Sends().empty());
  EXPECT_EQ(Snmp_pp::SocketLayerStats::outstanding(), 0);
}

TEST_F(ModelIdentificationTest, VerifyDeviceModelUsesTheQueuesCommunity) {
  UseMachine(LocalQueue(kDevice, "\"SNMP Community\"=\"model15\""));
  Device(15);
  QueueHandle queue;
  queue.OpenByName("Q");
  EXPECT_EQ(VerifyDeviceModel(queue.get(), kDevice, 1, nullptr), kModelOurs);
  ASSERT_EQ(backend_->Sends().size(), 1u);
  EXPECT_EQ(backend_->Sends()[0].community, "model15");
  EXPECT_EQ(backend_->Sends()[0].timeout, 300u);
}

}  // namespace
}  // namespace device::testing
