#include "packages/package_product_records.h"

#include <algorithm>
#include <array>

#include "packages/product_catalogue.h"

namespace setup {
namespace {

constexpr std::array<std::wstring_view, 7> kEnterpriseSuite = {L"QB::E", L"TR::E", L"PL::E", L"KS::E",
                                                               L"HD::E", L"SK::E", L"MB::Z"};
constexpr std::array<std::wstring_view, 5> kProfessionalSuite = {L"QB::P", L"TR::P", L"PL::P", L"KS::P", L"HD::P"};
static_assert(kEnterpriseSuite.size() <= kMaxPackageProductRecords);
static_assert(kProfessionalSuite.size() <= kMaxPackageProductRecords);

bool HasFamily(const ProductRecord& record) {
  return record.HasEntry() && EntryFamily(*record.Entry()) != nullptr;
}

}  // namespace

std::span<const std::wstring_view> SuiteMemberIds(std::wstring_view productId) {
  if (productId == L"FD::E") return kEnterpriseSuite;
  if (productId == L"FD::P") return kProfessionalSuite;
  return {};
}

PackageProductRecords BuildPackageProductRecords(std::wstring_view productId, std::wstring_view versionText,
                                                 bool is64Bit) {
  PackageProductRecords result;
  const std::span<const std::wstring_view> members = SuiteMemberIds(productId);
  if (members.empty()) {
    result.records.emplace_back(productId, versionText, is64Bit, std::wstring(), false);
  } else {
    for (const std::wstring_view member : members) {
      result.records.emplace_back(member, versionText, is64Bit, std::wstring(), true);
    }
  }
  result.complete = true;
  for (const ProductRecord& record : result.records) result.complete = result.complete && HasFamily(record);
  return result;
}

bool IsServicePackage(std::span<const ProductRecord> records) {
  return std::any_of(records.begin(), records.end(), [](const ProductRecord& r) { return r.IsServiceProduct(); });
}

}  // namespace setup
