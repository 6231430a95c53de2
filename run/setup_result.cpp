#include "run/setup_result.h"

#include "foundation/format.h"
#include "platform/system_info.h"

namespace setup {

namespace {

const ResultKindRow* FindResultKind(std::int32_t kind) {
  for (const ResultKindRow& row : kResultKinds) {
    if (row.kind == kind) return &row;
  }
  return nullptr;
}

}  // namespace

std::wstring DescribeResult(const SetupResult& result, const platform::SystemInfo& system) {
  const ResultKindRow* row = FindResultKind(result.kind);
  const std::wstring_view base = row ? row->description : std::wstring_view();
  if (result.installerCode == 0) return std::wstring(base);
  const std::wstring systemText = system.SystemMessageText(result.installerCode);
  if (systemText.empty()) return std::wstring(base);
  return Format(L"%s (%d - %s)", base, result.installerCode, systemText);
}

std::uint32_t ResultMessageId(std::int32_t kind) {
  const ResultKindRow* row = FindResultKind(kind);
  return row ? row->messageId : 0;
}

}  // namespace setup
