// The platform a port contract suite checks, made by one factory per side: the host stand-ins
// (host_platform_under_test.cpp) or the Win32 adapters (win32_platform_under_test.cpp, run
// under Wine). Where a contract needs the machine arranged (a package resource, an installable
// package, an installed service, a child process), each side arranges it in its own way, and
// the suite checks only what the port answers.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "contracts/contract_resources.h"
#include "platform/platform.h"

namespace setup::contracts {

// An installable package and what the installer reports of it once installed: the 64-bit
// sample product Wendrak 7.2.
struct ContractPackage {
  std::wstring path;
  std::wstring productCode = L"{5C1FE072-7C55-4E3B-9C6B-0A1A2B3C4D01}";
  std::wstring productId = L"WK::N";
  std::wstring versionString = L"7.2.1.4";
  std::wstring productName = L"Tarquel Wendrak 7.2 (x64)";
};

// A copy of that package's database in the test's folder, with two transforms of it: the
// property transform sets INSTALLER_LANGUAGE (from "en") to "it" and adds ADMIN_NOTE ("Set by
// the administrator"); the file transform adds the File row "AdminNotes" (file name
// "admin-notes.txt", attributes 8192, sequence 2). The database's own File row is
// "ApplicationFile".
struct ContractDatabase {
  std::wstring path;
  std::wstring propertyTransform;
  std::wstring fileTransform;
  std::wstring productId = L"WK::N";
  std::wstring applicationFileName = L"Wendrak.exe";
  std::int32_t applicationFileAttributes = 512;
};

// Package resources (type 40) the program carries: "CONTRACT_PACKAGE" in US English and in
// German, "CONTRACT_GERMAN_ONLY" in German only (contract_resources.h gives their bytes).

class PlatformUnderTest {
 public:
  virtual ~PlatformUnderTest() = default;

  virtual platform::Platform& Ports() = 0;
  // An empty folder of this test as an absolute Windows path; removed with this object.
  virtual const std::wstring& Folder() const = 0;

  // Makes the package resources above part of the program.
  virtual void ArrangePackageResources() = 0;
  // A file whose version resource gives the launcher's version.
  virtual std::wstring VersionedFile() = 0;
  // What `write` sends to standard output through the console port.
  virtual std::wstring CaptureOutput(const std::function<void()>& write) = 0;
  // Children: one that ends at once with `exitCode`, one that runs until it is terminated,
  // and a program that does not exist.
  virtual platform::ProcessStart ChildThatExits(std::uint32_t exitCode) = 0;
  virtual platform::ProcessStart ChildThatRuns() = 0;
  virtual platform::ProcessStart MissingProgram() = 0;
  // The sample package, ready to be installed.
  virtual ContractPackage InstallablePackage() = 0;
  // The package database and its transforms, ready to be changed.
  virtual ContractDatabase TransformableDatabase() = 0;
  // The key name of an installed service that starts on demand.
  virtual std::wstring InstalledServiceName() = 0;
};

// The side's factory; `testName` is unique among the tests of a run.
std::unique_ptr<PlatformUnderTest> CreatePlatformUnderTest(std::string_view testName);

// Every contract test gets a fresh platform under test.
class ContractTest : public ::testing::Test {
 protected:
  ContractTest() : side_(CreatePlatformUnderTest(TestName())) {}

  platform::Platform& Ports() { return side_->Ports(); }
  PlatformUnderTest& Side() { return *side_; }
  // The test's name, as "Suite.Test".
  static std::string TestName() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    return std::string(info->test_suite_name()) + "." + info->name();
  }

 private:
  std::unique_ptr<PlatformUnderTest> side_;
};

}  // namespace setup::contracts
