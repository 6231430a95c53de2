// The installer properties of the server products, grouped as the help lists them.
#include <initializer_list>
#include <span>

#include "launcher/help_model.h"
#include "resources/resource_ids.h"
#include "server_config/service_kinds.h"
#include "server_config/service_property_vocabulary.h"

namespace setup {

namespace {

using Shapes = std::initializer_list<ServicePropertyShape>;
constexpr Shapes kWebServer{kEnabledShape, kHostShape, kPortShape, kSslEnabledShape, kSslHostShape, kSslPortShape};
constexpr Shapes kWebServerWithCertificate{kEnabledShape,     kHostShape,         kPortShape,
                                           kSslEnabledShape,  kSslHostPlainTextShape, kSslPortPlainTextShape,
                                           kCertificateShape, kPrivateKeyShape};
constexpr Shapes kService{kDisplayNameShape, kStartTypeShape, kUsernameShape, kPasswordShape};
constexpr Shapes kServiceWithoutAccount{kDisplayNameShape, kStartTypeShape};
constexpr Shapes kCertificateFiles{kCertificateShape, kPrivateKeyShape};

constexpr std::wstring_view kBrammel = L"Tarquel Brammel Server ";
constexpr std::wstring_view kYarrick = L"Tarquel Yarrick Server ";
constexpr std::wstring_view kYarrickXbrl = L"Tarquel Yarrick+XBRL Server ";
constexpr std::wstring_view kSorvik = L"Tarquel Sorvik Server ";
constexpr std::wstring_view kPellomar = L"Tarquel Pellomar Server ";
constexpr std::wstring_view kWendrakHosts[] = {L"Tarquel Wendrak ", kBrammel, kYarrick, kYarrickXbrl,
                                               L"Tarquel Paloric Server ", L"Tarquel Trandel Server ", kPellomar,
                                               kSorvik};

constexpr std::wstring_view kYarrickHosts[] = {kYarrick, kBrammel};

bool BeginsWithAny(std::wstring_view name, std::span<const std::wstring_view> prefixes) {
  for (const std::wstring_view prefix : prefixes) {
    if (name.starts_with(prefix)) return true;
  }
  return false;
}

void Append(std::vector<HelpPropertyGroup>& groups, std::uint32_t titleId, std::wstring_view prefix, Shapes shapes) {
  HelpPropertyGroup& group = groups.emplace_back(HelpPropertyGroup{titleId, {}});
  for (const ServicePropertyShape& shape : shapes) {
    group.properties.push_back({ServicePropertyName(prefix, shape.key), shape.placeholderId, shape.descriptionId,
                                shape.numeric});
  }
}

}  // namespace

std::vector<HelpPropertyGroup> PropertyGroupsFor(std::wstring_view productName) {
  std::vector<HelpPropertyGroup> groups;
  if (productName.starts_with(kBrammel)) {
    Append(groups, IDS_GROUP_BRAMMEL_WEB_WEB_SERVER, kBrammelWebKind.prefix, kWebServer);
    Append(groups, IDS_GROUP_BRAMMEL_WEB_SERVICE, kBrammelWebKind.prefix, kService);
    Append(groups, IDS_GROUP_BRAMMEL_WEB_SERVER, kBrammelKind.prefix, kWebServer);
    Append(groups, IDS_GROUP_BRAMMEL_SERVICE, kBrammelKind.prefix, kServiceWithoutAccount);
    Append(groups, IDS_GROUP_BRAMMEL_CERTIFICATE, kBrammelKind.prefix, kCertificateFiles);
  }
  if (BeginsWithAny(productName, kWendrakHosts)) {
    Append(groups, IDS_GROUP_WENDRAK_WEB_SERVER, kWendrakKind.prefix, kWebServerWithCertificate);
    Append(groups, IDS_GROUP_WENDRAK_SERVICE, kWendrakKind.prefix, kService);
  }
  if (BeginsWithAny(productName, kYarrickHosts)) {
    Append(groups, IDS_GROUP_YARRICK_WEB_SERVER, kYarrickKind.prefix, kWebServerWithCertificate);
    Append(groups, IDS_GROUP_YARRICK_SERVICE, kYarrickKind.prefix, kService);
  }
  if (productName.starts_with(kSorvik)) {
    Append(groups, IDS_GROUP_SORVIK_WEB_SERVER, kSorvikKind.prefix, kWebServerWithCertificate);
    Append(groups, IDS_GROUP_SORVIK_SERVICE, kSorvikKind.prefix, kService);
  }
  if (productName.starts_with(kYarrickXbrl)) {
    Append(groups, IDS_GROUP_YARRICK_XBRL_WEB_SERVER, kYarrickXbrlKind.prefix, kWebServerWithCertificate);
    Append(groups, IDS_GROUP_YARRICK_XBRL_SERVICE, kYarrickXbrlKind.prefix, kService);
  }
  if (productName.starts_with(kPellomar)) {
    Append(groups, IDS_GROUP_PELLOMAR_SERVER_ADMIN, kPellomarAdminKind.prefix, kWebServer);
    Append(groups, IDS_GROUP_PELLOMAR_CLIENT_ADMIN, kPellomarClientKind.prefix, kWebServer);
    Append(groups, IDS_GROUP_PELLOMAR_CERTIFICATE, kPellomarAdminKind.servicePrefix, kCertificateFiles);
    Append(groups, IDS_GROUP_PELLOMAR_SERVICE, kPellomarAdminKind.servicePrefix, kService);
  }
  return groups;
}

}  // namespace setup
