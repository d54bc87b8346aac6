// Box directory: the walks over the device's box table, the records handed
// out in global memory and in the box file, and every failure path.
#include "queries/box_directory.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "device/table_walk.h"
#include "tests/device/device_test_machine.h"

namespace queries {
namespace {

using device::testing::DeviceTest;
using device::testing::LocalQueue;

constexpr char kDevice[] = "10.0.0.7";
constexpr char kFamilyModel[] = "1.3.6.1.4.1.1129.2.3.15";
// An object after the table, so that a walk ends on it rather than on the
// end of the MIB.
constexpr char kAfterTable[] = "1.3.6.1.4.1.1129.2.3.50.1.3.24.1.0";

std::string Column(const char* column, int row) {
  return std::string(column) + "." + std::to_string(row);
}

std::vector<unsigned char> Utf16(std::u16string_view text) {
  std::vector<unsigned char> bytes;
  for (char16_t unit : text) {
    bytes.push_back(static_cast<unsigned char>(unit & 0xFF));
    bytes.push_back(static_cast<unsigned char>(unit >> 8));
  }
  return bytes;
}

struct Box {
  std::string number;
  std::string name;
};

class BoxDirectoryTest : public DeviceTest {
 protected:
  BoxDirectoryTest() { UseCodePage("000004e4"); }
  ~BoxDirectoryTest() override {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  static std::filesystem::path MakeFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "box_directory_XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    return pattern;
  }

  void UseCodePage(const char* hexCodePage) {
    UseMachine(LocalQueue(kDevice) +
               "[HKLM\\SOFTWARE\\SimulatedMachine\\System]\n\"AnsiCodePage\"=dword:" + hexCodePage +
               "\n");
  }

  Snmp_pp::ScriptedAgent& Table() {
    Snmp_pp::ScriptedAgent& agent = Device(kDevice, kFamilyModel);
    agent.Set(kAfterTable, 1L);
    return agent;
  }

  void AddRow(int row, const char* number, std::u16string_view name) {
    const std::string numberOid = Column(kBoxNumberColumnOid, row);
    const std::string nameOid = Column(kBoxNameColumnOid, row);
    Table().Set(numberOid.c_str(), number).SetOctets(nameOid.c_str(), Utf16(name));
  }

  // The chain GetBoxInfo handed out, freed as the driver frees it.
  std::vector<Box> TakeChain(Vx5BoxRecord* chain) {
    std::vector<Box> boxes;
    while (chain != nullptr) {
      boxes.push_back({std::string(chain->number, strnlen(chain->number, kBoxNumberSize)),
                       std::string(chain->name, strnlen(chain->name, kBoxNameSize))});
      Vx5BoxRecord* next = chain->next;
      std::free(chain);
      chain = next;
    }
    return boxes;
  }

  // A path in this test's own folder, which goes with the test.
  std::string FilePath() const { return (folder_ / "boxes.dat").string(); }

  std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  const std::filesystem::path folder_ = MakeFolder();
};

TEST_F(BoxDirectoryTest, ChainLeavesOutTheFirstRowAndEndsWithAnEmptyRecord) {
  AddRow(1, "1", u"first");
  AddRow(2, "2", u"second");
  AddRow(3, "3", u"third");
  Vx5BoxRecord* chain = nullptr;
  EXPECT_EQ(queries::GetBoxInfo("Q", 0, &chain, nullptr), 2);
  const std::vector<Box> boxes = TakeChain(chain);
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(boxes[0].number, "2");
  EXPECT_EQ(boxes[0].name, "second");
  EXPECT_EQ(boxes[1].number, "3");
  EXPECT_EQ(boxes[1].name, "third");
  EXPECT_EQ(boxes[2].number, "");
  EXPECT_EQ(boxes[2].name, "");
  // Every request is a get-next that continues after the last answer.
  const auto sends = backend_->Sends();
  std::vector<std::string> asked;
  for (const auto& send : sends) {
    if (send.operation == Snmp_pp::SnmpOperation::kGetNext)
      asked.push_back(send.oids.at(0).get_printable());
  }
  EXPECT_EQ(asked,
            (std::vector<std::string>{kBoxNumberColumnOid, Column(kBoxNumberColumnOid, 1),
                                      Column(kBoxNumberColumnOid, 2),
                                      Column(kBoxNumberColumnOid, 3), kBoxNameColumnOid,
                                      Column(kBoxNameColumnOid, 1), Column(kBoxNameColumnOid, 2)}));
}

TEST_F(BoxDirectoryTest, OneRowGivesZeroAndAnEmptyTableMinusOne) {
  AddRow(1, "1", u"only");
  Vx5BoxRecord* chain = nullptr;
  EXPECT_EQ(queries::GetBoxInfo("Q", 0, &chain, nullptr), 0);
  const std::vector<Box> one = TakeChain(chain);
  ASSERT_EQ(one.size(), 1u);
  EXPECT_EQ(one[0].number, "");

  devices_.clear();
  Table();
  chain = reinterpret_cast<Vx5BoxRecord*>(this);  // must be overwritten with null
  EXPECT_EQ(queries::GetBoxInfo("Q", 0, &chain, nullptr), -1);
  EXPECT_EQ(chain, nullptr);

  const std::string path = FilePath();
  EXPECT_EQ(queries::GetBoxInfo9x("Q", "0", path.c_str()), -1);
  EXPECT_TRUE(std::filesystem::exists(path));
  EXPECT_EQ(std::filesystem::file_size(path), 0u);
  std::filesystem::remove(path);
}

TEST_F(BoxDirectoryTest, BoxFileHoldsTheSameRecordsWithoutPointers) {
  AddRow(1, "1", u"first");
  AddRow(2, "22", u"second");
  AddRow(3, "333", u"third");
  const std::string path = FilePath();
  EXPECT_EQ(queries::GetBoxInfo9x("Q", "0", path.c_str()), 2);
  const std::string file = ReadFile(path);
  std::filesystem::remove(path);
  ASSERT_EQ(file.size(), 3 * kBoxFileRecordSize);
  std::string expected(3 * kBoxFileRecordSize, '\0');
  expected.replace(0, 2, "22");
  expected.replace(kBoxNumberSize, 6, "second");
  expected.replace(kBoxFileRecordSize, 3, "333");
  expected.replace(kBoxFileRecordSize + kBoxNumberSize, 5, "third");
  EXPECT_EQ(file, expected);
}

TEST_F(BoxDirectoryTest, ShortNameColumnLeavesLaterNamesEmpty) {
  AddRow(1, "1", u"a");
  AddRow(2, "2", u"b");
  Table().Set(Column(kBoxNumberColumnOid, 3).c_str(), "3");
  Vx5BoxRecord* chain = nullptr;
  EXPECT_EQ(queries::GetBoxInfo("Q", 0, &chain, nullptr), 2);
  const std::vector<Box> boxes = TakeChain(chain);
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(boxes[0].name, "b");
  EXPECT_EQ(boxes[1].number, "3");
  EXPECT_EQ(boxes[1].name, "");
}

TEST_F(BoxDirectoryTest, NamesAreCutWithoutSplittingACharacter) {
  const std::u16string latin(100, u'x');
  AddRow(1, "1", u"skip");
  AddRow(2, "2", latin);
  // 34 double-byte characters: 68 bytes, one more than the field keeps.
  AddRow(3, "3", std::u16string(34, u'\u554A'));
  // A long number is cut to what its field holds.
  Table().Set(Column(kBoxNumberColumnOid, 2).c_str(), std::string(100, '7').c_str());
  UseCodePage("000003a8");  // 936
  Vx5BoxRecord* chain = nullptr;
  EXPECT_EQ(queries::GetBoxInfo("Q", 0, &chain, nullptr), 2);
  const std::vector<Box> boxes = TakeChain(chain);
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(boxes[0].number, std::string(kBoxNumberSize - 1, '7'));
  EXPECT_EQ(boxes[0].name, std::string(kBoxNameMaxBytes, 'x'));
  std::string dbcs;
  for (int i = 0; i < 33; ++i) dbcs += "\xB0\xA1";
  EXPECT_EQ(boxes[1].name, dbcs);
}

TEST_F(BoxDirectoryTest, NamesConvertToTheAnsiCodePage) {
  AddRow(1, "1", u"");
  AddRow(2, "2", u"\u00E9t\u00E9");
  AddRow(3, "3", u"A\u00E9\uAC00\u554AB");  // 936 lacks U+00E9: the name ends there
  Vx5BoxRecord* chain = nullptr;
  EXPECT_EQ(queries::GetBoxInfo("Q", 0, &chain, nullptr), 2);
  EXPECT_EQ(TakeChain(chain)[0].name, "\xE9t\xE9");
  UseCodePage("000003a8");
  EXPECT_EQ(queries::GetBoxInfo("Q", 0, &chain, nullptr), 2);
  EXPECT_EQ(TakeChain(chain)[1].name, "A");
  UseCodePage("000003a4");  // 932
  EXPECT_EQ(queries::GetBoxInfo("Q", 0, &chain, nullptr), 2);
  EXPECT_EQ(TakeChain(chain)[1].name,
            "A\x86\x50\x01\x2C\x8B\x78"
            "B");  // JIS X 0212, neither table, JIS X 0212
}

TEST_F(BoxDirectoryTest, AFailedWalkFreesTheRecordsAndLeavesNothingBehind) {
  AddRow(1, "1", u"a");
  AddRow(2, "2", u"b");
  int sends = 0;
  int failAt = 0;
  backend_->SetResponder([&](const Snmp_pp::ScriptedSend& send) {
    if (send.operation == Snmp_pp::SnmpOperation::kGetNext && ++sends == failAt) {
      return Snmp_pp::ScriptedReply::Timeout();
    }
    return devices_.at(kDevice).Answer(send);
  });
  // The third get-next is in the number walk, the fifth in the name walk.
  for (int step : {1, 3, 5}) {
    sends = 0;
    failAt = step;
    Vx5BoxRecord* chain = reinterpret_cast<Vx5BoxRecord*>(this);
    EXPECT_EQ(queries::GetBoxInfo("Q", 0, &chain, nullptr), -1) << step;
    EXPECT_EQ(chain, reinterpret_cast<Vx5BoxRecord*>(this)) << step;
    sends = 0;
    const std::string path = FilePath();
    EXPECT_EQ(queries::GetBoxInfo9x("Q", "0", path.c_str()), -1) << step;
    EXPECT_FALSE(std::filesystem::exists(path)) << step;
  }
  // A table at the end of the MIB: the walk's last get-next fails.
  failAt = 0;
  devices_.clear();
  Device(kDevice, kFamilyModel).Set(Column(kBoxNumberColumnOid, 1).c_str(), "1");
  Vx5BoxRecord* chain = nullptr;
  EXPECT_EQ(queries::GetBoxInfo("Q", 0, &chain, nullptr), -1);
  EXPECT_EQ(chain, nullptr);
  EXPECT_EQ(Snmp_pp::SocketLayerStats::startups(), Snmp_pp::SocketLayerStats::cleanups());
}

Snmp_pp::ScriptedReply NumberRow(const std::string& oid) {
  Snmp_pp::Vb vb{Snmp_pp::Oid(oid.c_str())};
  vb.set_value("1");
  return Snmp_pp::ScriptedReply::Value(vb);
}

TEST_F(BoxDirectoryTest, EveryWalkEndsAgainstADeviceThatNeverMovesOn) {
  AddRow(1, "1", u"a");
  // The same row again and again: the second answer does not increase.
  const std::string firstRow = Column(kBoxNumberColumnOid, 1);
  int getNexts = 0;
  backend_->SetResponder([&](const Snmp_pp::ScriptedSend& send) {
    if (send.operation != Snmp_pp::SnmpOperation::kGetNext)
      return devices_.at(kDevice).Answer(send);
    ++getNexts;
    return NumberRow(firstRow);
  });
  Vx5BoxRecord* chain = nullptr;
  EXPECT_EQ(queries::GetBoxInfo("Q", 0, &chain, nullptr), -1);
  EXPECT_EQ(chain, nullptr);
  EXPECT_EQ(getNexts, 2);
  EXPECT_EQ(queries::GetBoxInfo9x("Q", "0", FilePath().c_str()), -1);
  EXPECT_FALSE(std::filesystem::exists(FilePath()));

  // Rows that always increase: the walk gives up past the row limit.
  getNexts = 0;
  backend_->SetResponder([&](const Snmp_pp::ScriptedSend& send) {
    if (send.operation != Snmp_pp::SnmpOperation::kGetNext)
      return devices_.at(kDevice).Answer(send);
    return NumberRow(Column(kBoxNumberColumnOid, ++getNexts));
  });
  EXPECT_EQ(queries::GetBoxInfo("Q", 0, &chain, nullptr), -1);
  EXPECT_EQ(chain, nullptr);
  EXPECT_EQ(getNexts, device::kMaxTableRows + 1);
  EXPECT_EQ(Snmp_pp::SocketLayerStats::startups(), Snmp_pp::SocketLayerStats::cleanups());
}

TEST_F(BoxDirectoryTest, AFileThatCannotBeWrittenFails) {
  AddRow(1, "1", u"a");
  AddRow(2, "2", u"b");
  const std::string folder = FilePath();
  EXPECT_EQ(queries::GetBoxInfo9x("Q", "0", (folder + "/missing/boxes.dat").c_str()), -1);
  EXPECT_EQ(queries::GetBoxInfo9x("Q", "0", nullptr), -1);
  EXPECT_EQ(queries::GetBoxInfo("Q", 0, nullptr, nullptr), -1);
}

// While alive, files of this process cannot grow past `bytes`, and a write
// beyond that fails with EFBIG instead of raising SIGXFSZ.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) : previousHandler_(std::signal(SIGXFSZ, SIG_IGN)) {
    ::getrlimit(RLIMIT_FSIZE, &previous_);
    rlimit limited = previous_;
    limited.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limited);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &previous_);
    std::signal(SIGXFSZ, previousHandler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit previous_{};
  void (*previousHandler_)(int);
};

TEST_F(BoxDirectoryTest, AWriteThatFailsGivesMinusOneAndRemovesOnlyAFileOfItsOwn) {
  AddRow(1, "1", u"a");
  AddRow(2, "2", u"b");
  AddRow(3, "3", u"c");
  const std::string path = FilePath();
  {
    const FileSizeLimit limit(kBoxFileRecordSize + 1);
    // A new file cut short is gone again.
    EXPECT_EQ(queries::GetBoxInfo9x("Q", "0", path.c_str()), -1);
    EXPECT_FALSE(std::filesystem::exists(path));
    // A file that was there stays, even when it could not be written.
    std::ofstream(path) << "the caller's";
    EXPECT_EQ(queries::GetBoxInfo9x("Q", "0", path.c_str()), -1);
    EXPECT_TRUE(std::filesystem::is_regular_file(path));
  }
  EXPECT_EQ(queries::GetBoxInfo9x("Q", "0", path.c_str()), 2);
  EXPECT_EQ(std::filesystem::file_size(path), 3 * kBoxFileRecordSize);  // and the empty end
}

TEST_F(BoxDirectoryTest, WhatIsNoRegularFileIsNeverReplaced) {
  AddRow(1, "1", u"a");
  AddRow(2, "2", u"b");
  // Nodes of the test's own, as the null device (1,3) and the full device (1,7).
  const std::string null = (folder_ / "null").string();
  const std::string full = (folder_ / "full").string();
  if (::mknod(null.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0 ||
      ::mknod(full.c_str(), S_IFCHR | 0666, makedev(1, 7)) != 0) {
    GTEST_SKIP() << "mknod is not permitted here";
  }
  const auto expectNode = [](const std::string& node, unsigned minor) {
    struct stat status {};
    ASSERT_EQ(::lstat(node.c_str(), &status), 0) << node;
    EXPECT_TRUE(S_ISCHR(status.st_mode)) << node;
    EXPECT_EQ(major(status.st_rdev), 1u) << node;
    EXPECT_EQ(minor(status.st_rdev), minor) << node;
  };
  EXPECT_EQ(queries::GetBoxInfo9x("Q", "0", null.c_str()), 1);  // taken, as the null device
  expectNode(null, 3);
  EXPECT_EQ(queries::GetBoxInfo9x("Q", "0", full.c_str()), -1);  // no space left
  expectNode(full, 7);

  const std::string fifo = (folder_ / "fifo").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
  EXPECT_EQ(queries::GetBoxInfo9x("Q", "0", fifo.c_str()), -1);  // no reader: no wait either
  EXPECT_TRUE(std::filesystem::is_fifo(fifo));
  EXPECT_EQ(queries::GetBoxInfo9x("Q", "0", folder_.string().c_str()), -1);
  EXPECT_TRUE(std::filesystem::is_directory(folder_));
}

TEST_F(BoxDirectoryTest, ScopeSuffixIsDroppedOnlyForTheChain) {
  UseMachine(LocalQueue("USB001", "\"SNMPIPAddress\"=\"fe80::7%4\"\n"));
  Device("fe80::7", kFamilyModel)
      .Set(kAfterTable, 1L)
      .Set(Column(kBoxNumberColumnOid, 1).c_str(), "1");
  Vx5BoxRecord* chain = nullptr;
  EXPECT_EQ(queries::GetBoxInfo("Q", 0, &chain, nullptr), 0);
  TakeChain(chain);
  // The box file's query hands the whole text to address detection.
  backend_->ClearSends();
  const std::string path = FilePath();
  queries::GetBoxInfo9x("Q", "0", path.c_str());
  std::filesystem::remove(path);
  for (const auto& send : backend_->Sends()) EXPECT_NE(send.address, "fe80::7");
}

}  // namespace
}  // namespace queries
