// Contract of the cabinet decompression port: a whole cabinet expanded through the caller's
// file callbacks, with the notifications in cabinet order, skipped and refused entries, and
// the error operation each kind of damage reports. (A write that falls short is no shared
// behaviour: Wine's decompression carries on and reports success, so the extractor checks its
// writes itself.) The callbacks here keep every stream in
// memory, so the suite sees exactly what the decompression reads, writes and announces.
#include <algorithm>
#include <map>
#include <random>
#include <vector>

#include "contracts/platform_under_test.h"
#include "support/temp_folder.h"
#include "support/test_cabinets.h"

namespace setup::contracts {
namespace {

using platform::CabinetNotification;
using platform::CabinetNotificationData;
using testing::CabinetFile;

// Compressible text with random stretches: the first file spans several compressed blocks.
std::string Pattern(std::size_t size) {
  std::mt19937 random(7);
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = (i / 700) % 3 ? "cabinet row "[i % 12] : static_cast<char>(random());
  return bytes;
}

const std::vector<CabinetFile> kFiles = {
    {"Product.msi", Pattern(100000)}, {"empty.txt", ""}, {"sub\\deeper\\notes.txt", "notes"}};

constexpr char kCabinetPath[] = "C:\\Cabinets\\";
constexpr char kCabinetName[] = "Package.cab";

// The streams of one copy. The callbacks carry no context of their own, so the suite's
// streams are process-wide, as the launcher's extractor's are.
struct MemoryStream {
  std::string bytes;
  std::size_t position = 0;
  bool open = true;
};

struct Streams {
  std::string cabinet;        // what an open of the cabinet's path reads
  bool refuseCabinet = false;  // the open of the cabinet fails
  std::map<std::intptr_t, MemoryStream> streams;
  std::vector<std::string> opened;  // "path flags" of every open
  std::intptr_t next = 1;

  std::intptr_t Add(std::string bytes) {
    streams[next] = {std::move(bytes)};
    return next++;
  }
};

Streams* g_streams = nullptr;

std::intptr_t Open(char* path, int openFlags, int) {
  g_streams->opened.push_back(std::string(path) + " " + std::to_string(openFlags));
  if (g_streams->refuseCabinet || std::string(path) != std::string(kCabinetPath) + kCabinetName) return -1;
  return g_streams->Add(g_streams->cabinet);
}

unsigned Read(std::intptr_t stream, void* buffer, unsigned count) {
  MemoryStream& s = g_streams->streams.at(stream);
  const std::size_t n = std::min<std::size_t>(count, s.bytes.size() - std::min(s.position, s.bytes.size()));
  std::copy_n(s.bytes.data() + s.position, n, static_cast<char*>(buffer));
  s.position += n;
  return static_cast<unsigned>(n);
}

unsigned Write(std::intptr_t stream, void* buffer, unsigned count) {
  MemoryStream& s = g_streams->streams.at(stream);
  s.bytes.append(static_cast<const char*>(buffer), count);
  return count;
}

int Close(std::intptr_t stream) {
  g_streams->streams.at(stream).open = false;
  return 0;
}

long Seek(std::intptr_t stream, long offset, int origin) {
  MemoryStream& s = g_streams->streams.at(stream);
  const long base = origin == platform::kCabinetSeekSet       ? 0
                    : origin == platform::kCabinetSeekCurrent ? static_cast<long>(s.position)
                                                              : static_cast<long>(s.bytes.size());
  s.position = static_cast<std::size_t>(base + offset);
  return static_cast<long>(s.position);
}

constexpr platform::CabinetFileCallbacks kCallbacks{Open, Read, Write, Close, Seek};

// What the notification callback saw and how it answers copy-file notifications.
struct Notifications {
  std::vector<std::string> events;                // "info", "copy <name> <size>", "close <name> <date> <time>"
  std::map<std::string, std::intptr_t> targets;    // entry name -> its target stream
  std::map<std::string, std::intptr_t> answers;    // entries answered other than with a new stream
  bool closedEveryTarget = true;                   // each close-file-info names the entry's open target
};

std::intptr_t Notify(CabinetNotification type, const CabinetNotificationData& data) {
  auto& seen = *static_cast<Notifications*>(data.userData);
  switch (type) {
    case CabinetNotification::CabinetInfo:
      seen.events.push_back("info");
      return 0;
    case CabinetNotification::CopyFile: {
      seen.events.push_back("copy " + std::string(data.name) + " " + std::to_string(data.size));
      if (const auto answer = seen.answers.find(data.name); answer != seen.answers.end()) return answer->second;
      return seen.targets[data.name] = g_streams->Add({});
    }
    case CabinetNotification::CloseFileInfo: {
      seen.events.push_back("close " + std::string(data.name) + " " + std::to_string(data.date) + " " +
                            std::to_string(data.time));
      const auto target = seen.targets.find(data.name);
      if (target == seen.targets.end() || target->second != data.stream) seen.closedEveryTarget = false;
      Close(data.stream);
      return 1;
    }
    default:
      seen.events.push_back("other " + std::to_string(static_cast<int>(type)));
      return 0;
  }
}

class CabinetDecompressionContract : public ContractTest {
 protected:
  CabinetDecompressionContract() { g_streams = &streams_; }
  ~CabinetDecompressionContract() override { g_streams = nullptr; }

  std::string Cabinet(const std::vector<CabinetFile>& files) {
    const auto work = temp_.Path() / "pack";
    std::filesystem::create_directories(work);
    return testing::PackedCabinet(work, files);
  }

  // Expands `cabinet`; the error record is the one the context was made with.
  bool Copy(std::string cabinet, Notifications& seen) {
    streams_.cabinet = std::move(cabinet);
    auto context = Ports().cabinets->Create(kCallbacks, error_);
    if (!context) {
      ADD_FAILURE() << "no decompression context";
      return false;
    }
    return context->Copy(kCabinetName, kCabinetPath, Notify, &seen);
  }

  const std::string& Target(const Notifications& seen, const std::string& name) {
    return streams_.streams.at(seen.targets.at(name)).bytes;
  }

  // The copy-file and close-file-info events of every file, in cabinet order.
  static std::vector<std::string> Expected(const std::string& cabinet, const std::vector<CabinetFile>& files) {
    std::vector<std::string> events{"info"};
    const auto stamps = testing::CabinetEntryStamps(cabinet);
    for (std::size_t i = 0; i < files.size(); ++i) {
      events.push_back("copy " + files[i].storedName + " " + std::to_string(files[i].content.size()));
      events.push_back("close " + files[i].storedName + " " + std::to_string(stamps[i].date) + " " +
                       std::to_string(stamps[i].time));
    }
    return events;
  }

  Streams streams_;
  platform::CabinetErrorRecord error_;
  testing::TempFolder temp_;
};

TEST_F(CabinetDecompressionContract, EveryEntryIsAnnouncedWrittenThroughItsStreamAndClosedInCabinetOrder) {
  const std::string cabinet = Cabinet(kFiles);
  Notifications seen;
  ASSERT_TRUE(Copy(cabinet, seen));
  EXPECT_FALSE(error_.failed);
  EXPECT_EQ(seen.events, Expected(cabinet, kFiles));
  EXPECT_TRUE(seen.closedEveryTarget);
  for (const CabinetFile& file : kFiles) EXPECT_TRUE(Target(seen, file.storedName) == file.content) << file.storedName;
  // The cabinet is read through the caller's open of folder and name, never for writing, and
  // closed again.
  ASSERT_FALSE(streams_.opened.empty());
  for (const std::string& open : streams_.opened) {
    const int flags = std::stoi(open.substr(open.rfind(' ') + 1));
    EXPECT_EQ(open.substr(0, open.rfind(' ')), std::string(kCabinetPath) + kCabinetName);
    EXPECT_EQ(flags & (platform::kCabinetOpenAccessMask | platform::kCabinetOpenCreate), 0) << open;
  }
  for (const auto& [number, stream] : streams_.streams) EXPECT_FALSE(stream.open) << "stream " << number;
}

TEST_F(CabinetDecompressionContract, AnEntryAnsweredWithZeroIsSkippedAndTheOthersStillArrive) {
  const std::string cabinet = Cabinet(kFiles);
  Notifications seen;
  seen.answers["empty.txt"] = 0;
  seen.answers["Product.msi"] = 0;
  ASSERT_TRUE(Copy(cabinet, seen));
  const auto stamps = testing::CabinetEntryStamps(cabinet);
  EXPECT_EQ(seen.events, (std::vector<std::string>{"info", "copy Product.msi 100000", "copy empty.txt 0",
                                                   "copy sub\\deeper\\notes.txt 5",
                                                   "close sub\\deeper\\notes.txt " + std::to_string(stamps[2].date) +
                                                       " " + std::to_string(stamps[2].time)}));
  EXPECT_EQ(Target(seen, "sub\\deeper\\notes.txt"), "notes");
}

TEST_F(CabinetDecompressionContract, EachFailureReportsItsOperation) {
  const std::string cabinet = Cabinet(kFiles);
  struct Case {
    const char* name;
    std::string bytes;
    bool refuseOpen = false;
    std::intptr_t answerFirst = 1;  // 1: a new stream as usual
    std::vector<int> operations;    // the error operations either side may report
  };
  const Case cases[] = {
      {"the cabinet cannot be opened", cabinet, true, 1, {platform::kCabinetErrorNotFound}},
      {"not a cabinet", "This is not a cabinet, only some text.", false, 1,
       {platform::kCabinetErrorNotACabinet}},
      {"a broken data block", testing::WithBrokenDataBlock(cabinet, 1), false, 1,
       {platform::kCabinetErrorCorrupt}},
      {"cut in its data", cabinet.substr(0, cabinet.size() / 2), false, 1,
       {platform::kCabinetErrorNotACabinet, platform::kCabinetErrorCorrupt}},
      {"a copy-file answered with -1", cabinet, false, -1, {platform::kCabinetErrorUserAbort}},
  };
  for (const Case& c : cases) {
    streams_ = {};
    streams_.refuseCabinet = c.refuseOpen;
    Notifications seen;
    if (c.answerFirst != 1) seen.answers["Product.msi"] = c.answerFirst;
    error_ = {};
    EXPECT_FALSE(Copy(c.bytes, seen)) << c.name;
    EXPECT_TRUE(error_.failed) << c.name;
    EXPECT_NE(std::find(c.operations.begin(), c.operations.end(), error_.operation), c.operations.end())
        << c.name << ": operation " << error_.operation;
    EXPECT_EQ(std::count(seen.events.begin(), seen.events.end(), "copy empty.txt 0"), 0)
        << c.name << ": nothing after the failing entry is announced";
  }
}

}  // namespace
}  // namespace setup::contracts
