// Contract of the registry port: keys and values of both views as the launcher reads and writes
// them. Every test works below Software\TarquelContracts\<test> and removes it again.
#include <set>

#include "contracts/platform_under_test.h"
#include "foundation/text.h"

namespace setup::contracts {
namespace {

using platform::kRegistryView32;
using platform::kRegistryView64;
using platform::RegistryAccess;
using platform::RegistryRoot;
using platform::RegistryValue;

RegistryValue Text(std::wstring_view text) { return {platform::kRegSz, ToUtf16LeBytes(text) + std::string(2, '\0')}; }
RegistryValue Dword(std::uint32_t value) {
  return {platform::kRegDword, std::string{static_cast<char>(value), static_cast<char>(value >> 8),
                                           static_cast<char>(value >> 16), static_cast<char>(value >> 24)}};
}

// The bytes of a value, or a text that tells what is missing.
std::string DataOf(const std::unique_ptr<platform::RegistryKey>& key, std::wstring_view name) {
  if (!key) return "<no key>";
  const auto value = key->QueryValue(name);
  return value ? value->data : "<no value>";
}

class RegistryContract : public ContractTest {
 protected:
  RegistryContract() : base_(L"Software\\TarquelContracts\\" + FromUtf8(TestName())) { RemoveAll(); }
  ~RegistryContract() override { RemoveAll(); }

  platform::Registry& Registry() { return *Ports().registry; }
  std::wstring Path(std::wstring_view below = L"") const { return below.empty() ? base_ : base_ + L"\\" + std::wstring(below); }
  std::unique_ptr<platform::RegistryKey> Create(std::wstring_view below, RegistryRoot root = RegistryRoot::CurrentUser,
                                                std::uint32_t view = 0) {
    return Registry().Open(root, Path(below), RegistryAccess::All, true, view);
  }
  std::unique_ptr<platform::RegistryKey> OpenExisting(std::wstring_view below, RegistryAccess access = RegistryAccess::Read,
                                                      RegistryRoot root = RegistryRoot::CurrentUser, std::uint32_t view = 0) {
    return Registry().Open(root, Path(below), access, false, view);
  }
  static std::set<std::wstring> Subkeys(const platform::RegistryKey& key) {
    std::set<std::wstring> names;
    for (std::uint32_t index = 0; const auto name = key.SubkeyName(index); ++index) names.insert(*name);
    return names;
  }

 private:
  void RemoveAll() {
    for (const RegistryRoot root : {RegistryRoot::CurrentUser, RegistryRoot::LocalMachine}) {
      for (const std::uint32_t view : {kRegistryView32, kRegistryView64}) RemoveTree(root, base_, view);
    }
  }
  void RemoveTree(RegistryRoot root, const std::wstring& path, std::uint32_t view) {
    const auto key = Registry().Open(root, path, RegistryAccess::All, false, view);
    if (!key) return;
    while (const auto name = key->SubkeyName(0)) {
      RemoveTree(root, path + L"\\" + *name, view);
      if (!key->DeleteSubkey(*name)) break;
    }
    const std::size_t last = path.rfind(L'\\');
    if (const auto parent = Registry().Open(root, path.substr(0, last), RegistryAccess::All, false, view)) {
      parent->DeleteSubkey(path.substr(last + 1));
    }
  }

  std::wstring base_;
};

TEST_F(RegistryContract, CreatingAKeyMakesItsMissingParents) {
  EXPECT_FALSE(OpenExisting(L"One"));
  ASSERT_TRUE(Create(L"One\\Two\\Three"));
  EXPECT_TRUE(OpenExisting(L"One"));
  EXPECT_TRUE(OpenExisting(L"One\\Two\\Three"));
  EXPECT_TRUE(OpenExisting(L"one\\TWO"));
  EXPECT_FALSE(OpenExisting(L"One\\Other"));
}

TEST_F(RegistryContract, ValuesKeepTypeAndBytesAndTheirNamesIgnoreCase) {
  const auto key = Create(L"Values");
  ASSERT_TRUE(key);
  const RegistryValue text = Text(L"Gr\u00FC\u00DFe");
  const RegistryValue number = Dword(0x01020304);
  const RegistryValue binary{platform::kRegBinary, std::string("\0\1\2\xff", 4)};
  EXPECT_TRUE(key->SetValue(L"Text", text));
  EXPECT_TRUE(key->SetValue(L"Number", number));
  EXPECT_TRUE(key->SetValue(L"Binary", binary));
  const auto reader = OpenExisting(L"Values");
  ASSERT_TRUE(reader);
  for (const auto& [name, expected] : {std::pair{L"TEXT", text}, std::pair{L"number", number},
                                       std::pair{L"Binary", binary}}) {
    const auto value = reader->QueryValue(name);
    ASSERT_TRUE(value) << ToUtf8(name);
    EXPECT_EQ(value->type, expected.type) << ToUtf8(name);
    EXPECT_EQ(value->data, expected.data) << ToUtf8(name);
  }
  EXPECT_EQ(reader->QueryValue(L"Missing"), std::nullopt);
  // A string stored without its terminating zero reads back complete. (Windows gives the
  // stored bytes; Wine adds the zero.)
  const std::string complete = ToUtf16LeBytes(L"complete");
  EXPECT_TRUE(key->SetValue(L"Unterminated", {platform::kRegSz, complete}));
  const std::string unterminated = DataOf(reader, L"Unterminated");
  EXPECT_TRUE(unterminated == complete || unterminated == complete + std::string(2, '\0')) << unterminated;
  EXPECT_TRUE(key->SetValue(L"NUMBER", Dword(7)));
  EXPECT_EQ(DataOf(reader, L"Number"), Dword(7).data);
  EXPECT_TRUE(key->DeleteValue(L"text"));
  EXPECT_FALSE(key->DeleteValue(L"text"));
  EXPECT_EQ(reader->QueryValue(L"Text"), std::nullopt);
}

// Deleting a subkey needs the right to delete the subkey, not to change its parent.
TEST_F(RegistryContract, KeysOpenedForReadingRefuseChangesButNotTheDeletionOfSubkeys) {
  ASSERT_TRUE(Create(L"Locked\\Child"));
  ASSERT_TRUE(Create(L"Locked")->SetValue(L"Kept", Dword(1)));
  const auto reader = OpenExisting(L"Locked");
  ASSERT_TRUE(reader);
  EXPECT_FALSE(reader->SetValue(L"New", Dword(2)));
  EXPECT_FALSE(reader->DeleteValue(L"Kept"));
  EXPECT_TRUE(reader->QueryValue(L"Kept"));
  EXPECT_EQ(reader->QueryValue(L"New"), std::nullopt);
  EXPECT_TRUE(reader->DeleteSubkey(L"Child"));
  EXPECT_FALSE(OpenExisting(L"Locked\\Child"));
}

TEST_F(RegistryContract, SubkeysAreTheDirectChildrenNamedAsCreated) {
  ASSERT_TRUE(Create(L"Base\\alpha"));
  ASSERT_TRUE(Create(L"Base\\Beta\\Deep"));
  ASSERT_TRUE(Create(L"Base\\GAMMA"));
  ASSERT_TRUE(Create(L"Based"));
  const auto base = OpenExisting(L"Base");
  ASSERT_TRUE(base);
  EXPECT_EQ(Subkeys(*base), (std::set<std::wstring>{L"alpha", L"Beta", L"GAMMA"}));
  EXPECT_EQ(base->SubkeyName(3), std::nullopt);
  EXPECT_EQ(Subkeys(*OpenExisting(L"Base\\alpha")), std::set<std::wstring>{});
}

TEST_F(RegistryContract, OnlyKeysWithoutSubkeysAreDeleted) {
  ASSERT_TRUE(Create(L"Tree\\Branch\\Leaf"));
  const auto tree = OpenExisting(L"Tree", RegistryAccess::All);
  ASSERT_TRUE(tree);
  EXPECT_FALSE(tree->DeleteSubkey(L"Branch"));
  EXPECT_TRUE(OpenExisting(L"Tree\\Branch", RegistryAccess::All)->DeleteSubkey(L"LEAF"));
  EXPECT_TRUE(tree->DeleteSubkey(L"branch"));
  EXPECT_FALSE(tree->DeleteSubkey(L"Branch"));
  EXPECT_FALSE(OpenExisting(L"Tree\\Branch"));
}

// The launcher is a 32-bit program: without a view flag it sees the 32-bit view of the machine's
// software keys. The user's keys are the same in both views.
TEST_F(RegistryContract, MachineSoftwareKeysHaveTwoViewsAndTheDefaultIsThe32BitOne) {
  ASSERT_TRUE(Create(L"", RegistryRoot::LocalMachine, kRegistryView32)->SetValue(L"View", Text(L"32")));
  ASSERT_TRUE(Create(L"", RegistryRoot::LocalMachine, kRegistryView64)->SetValue(L"View", Text(L"64")));
  EXPECT_EQ(DataOf(OpenExisting(L"", RegistryAccess::Read, RegistryRoot::LocalMachine, kRegistryView32), L"View"), Text(L"32").data);
  EXPECT_EQ(DataOf(OpenExisting(L"", RegistryAccess::Read, RegistryRoot::LocalMachine, kRegistryView64), L"View"), Text(L"64").data);
  EXPECT_EQ(DataOf(OpenExisting(L"", RegistryAccess::Read, RegistryRoot::LocalMachine, 0), L"View"), Text(L"32").data);

  ASSERT_TRUE(Create(L"Only64", RegistryRoot::LocalMachine, kRegistryView64));
  EXPECT_FALSE(OpenExisting(L"Only64", RegistryAccess::Read, RegistryRoot::LocalMachine, kRegistryView32));

  ASSERT_TRUE(Create(L"", RegistryRoot::CurrentUser, kRegistryView32)->SetValue(L"View", Text(L"user")));
  EXPECT_EQ(DataOf(OpenExisting(L"", RegistryAccess::Read, RegistryRoot::CurrentUser, kRegistryView64), L"View"), Text(L"user").data);
}

}  // namespace
}  // namespace setup::contracts
