#include "foundation/registry_key.h"

#include <gtest/gtest.h>

#include "foundation/text.h"
#include "platform/host/host_registry.h"

namespace setup {
namespace {

using platform::RegistryRoot;
using platform::kRegistryView64;

TEST(RegistryKey, ViewsAreSeparateBelowSoftware) {
  platform::host::HostRegistry registry;
  ICBSRegistryKey key32(registry);
  ASSERT_TRUE(key32.Open(RegistryRoot::LocalMachine, L"Software\\Tarquel", false, true, 0));
  ASSERT_TRUE(key32.WriteString(L"View", L"32"));
  ICBSRegistryKey key64(registry);
  ASSERT_TRUE(key64.Open(L"HKEY_LOCAL_MACHINE\\Software\\Tarquel", false, true, kRegistryView64));
  EXPECT_EQ(key64.ReadString(L"View"), L"");
  ASSERT_TRUE(key64.WriteString(L"View", L"64"));
  EXPECT_EQ(key32.ReadString(L"View"), L"32");
  EXPECT_EQ(key64.ViewFlags(), kRegistryView64);
  EXPECT_EQ(key64.FullPath(), L"HKEY_LOCAL_MACHINE\\Software\\Tarquel");

  ICBSRegistryKey readOnly(registry);
  ASSERT_TRUE(readOnly.Open(L"HKEY_LOCAL_MACHINE\\Software\\Tarquel", true, false, kRegistryView64));
  EXPECT_EQ(readOnly.ReadString(L"VIEW"), L"64");
  EXPECT_FALSE(readOnly.WriteString(L"View", L"x"));
}

TEST(RegistryKey, FullPathsNeedAnExactRootName) {
  platform::host::HostRegistry registry;
  registry.SetString(RegistryRoot::CurrentUser, L"Software\\Tarquel", L"a", L"b");
  ICBSRegistryKey key(registry);
  EXPECT_TRUE(key.Open(L"HKEY_CURRENT_USER\\Software\\Tarquel", true, false, 0));
  EXPECT_EQ(key.KeyPath(), L"Software\\Tarquel");
  EXPECT_FALSE(key.Open(L"hkey_current_user\\Software\\Tarquel", true, false, 0));
  EXPECT_FALSE(key.IsOpen());
  EXPECT_FALSE(key.Open(L"HKCU\\Software\\Tarquel", true, false, 0));
  EXPECT_FALSE(key.Open(L"HKEY_CURRENT_USER\\Software\\Missing", true, false, 0));
  EXPECT_EQ(key.ReadString(L"a"), L"");
}

TEST(RegistryKey, ValueTypesAndTerminators) {
  platform::host::HostRegistry registry;
  ICBSRegistryKey key(registry);
  ASSERT_TRUE(key.Open(RegistryRoot::LocalMachine, L"Software\\T", false, true, 0));
  auto raw = registry.Open(RegistryRoot::LocalMachine, L"Software\\T", platform::RegistryAccess::All, false, 0);
  // Stored without a terminating NUL, with an odd trailing byte, with text after a NUL.
  raw->SetValue(L"NoNul", {platform::kRegSz, ToUtf16LeBytes(L"complete")});
  raw->SetValue(L"Odd", {platform::kRegExpandSz, ToUtf16LeBytes(L"%TEMP%") + "x"});
  raw->SetValue(L"Inner", {platform::kRegSz, ToUtf16LeBytes(std::wstring(L"one\0two", 7))});
  raw->SetValue(L"Bin", {platform::kRegBinary, "\x01\x02"});
  EXPECT_EQ(key.ReadString(L"NoNul"), L"complete");
  EXPECT_EQ(key.ReadString(L"Odd"), L"%TEMP%");
  EXPECT_EQ(key.ReadString(L"Inner"), L"one");
  EXPECT_EQ(key.ReadString(L"Bin"), L"");

  ASSERT_TRUE(key.WriteString(L"Name", L"Gr\u00FC\u00DFe"));
  EXPECT_EQ(raw->QueryValue(L"Name")->data, ToUtf16LeBytes(L"Gr\u00FC\u00DFe") + std::string(2, '\0'));
  ASSERT_TRUE(key.WriteDword(L"Port", 0xA1B2C3D4));
  EXPECT_EQ(raw->QueryValue(L"Port")->data, "\xD4\xC3\xB2\xA1");
  EXPECT_EQ(key.ReadDword(L"Port"), 0xA1B2C3D4u);
  EXPECT_EQ(key.ReadDword(L"Name"), 0u);
  EXPECT_TRUE(key.DeleteValue(L"Port"));
  EXPECT_EQ(key.ReadDword(L"Port"), 0u);
  EXPECT_FALSE(key.DeleteValue(L"Port"));
}

TEST(RegistryKey, SubkeyTreesAreEnumeratedAndDeletedDepthFirst) {
  platform::host::HostRegistry registry;
  for (const wchar_t* path : {L"Software\\Vendor\\Product\\A\\A1", L"Software\\Vendor\\Product\\A\\A2\\Deep",
                              L"Software\\Vendor\\Product\\B"}) {
    registry.SetString(RegistryRoot::LocalMachine, path, L"v", L"x", kRegistryView64);
  }
  ICBSRegistryKey vendor(registry);
  ASSERT_TRUE(vendor.Open(RegistryRoot::LocalMachine, L"Software\\Vendor", false, false, kRegistryView64));
  const auto products = vendor.EnumerateSubkeys();
  ASSERT_EQ(products.size(), 1u);
  const auto parts = products[0].EnumerateSubkeys();
  ASSERT_EQ(parts.size(), 2u);
  // Names come back with the case they were created with.
  EXPECT_EQ(parts[0].KeyPath(), L"Software\\Vendor\\Product\\A");
  EXPECT_EQ(parts[0].ViewFlags(), kRegistryView64);
  EXPECT_TRUE(parts[1].IsOpen());

  // As on Windows, deleting a subkey does not depend on the access rights of its parent.
  ICBSRegistryKey readOnly(registry);
  ASSERT_TRUE(readOnly.Open(RegistryRoot::LocalMachine, L"Software\\Vendor", true, false, kRegistryView64));
  EXPECT_TRUE(readOnly.DeleteSubkeyTree(L"Product"));
  EXPECT_FALSE(registry.KeyExists(RegistryRoot::LocalMachine, L"Software\\Vendor\\Product", kRegistryView64));
  EXPECT_TRUE(registry.KeyExists(RegistryRoot::LocalMachine, L"Software\\Vendor", kRegistryView64));
  EXPECT_FALSE(vendor.DeleteSubkeyTree(L"Product"));
}

}  // namespace
}  // namespace setup
