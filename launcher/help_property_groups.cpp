// The installer properties of the server products, grouped as the help lists them.
#include <initializer_list>
#include <span>

#include "launcher/help_model.h"
#include "resources/resource_ids.h"

namespace setup {

namespace {

struct PropertyShape {
  std::wstring_view suffix;  // the name after "<prefix>_"
  std::uint32_t placeholderId;
  std::uint32_t descriptionId;
  bool numeric = false;
};

constexpr PropertyShape kEnabled{L"WebServer_Enabled", IDS_PROP_ENABLED_PLACEHOLDER, IDS_PROP_ENABLED_DESCRIPTION};
constexpr PropertyShape kHost{L"WebServer_Host", IDS_PROP_HOST_PLACEHOLDER, IDS_PROP_HOST_DESCRIPTION};
constexpr PropertyShape kPort{L"WebServer_Port", IDS_PROP_PORT_PLACEHOLDER, IDS_PROP_PORT_DESCRIPTION, true};
constexpr PropertyShape kSslEnabled{L"SSLWebServer_Enabled", IDS_PROP_ENABLED_PLACEHOLDER, IDS_PROP_ENABLED_DESCRIPTION};
constexpr PropertyShape kSslHost{L"SSLWebServer_Host", IDS_PROP_SSL_HOST_PLACEHOLDER, IDS_PROP_SSL_HOST_DESCRIPTION};
constexpr PropertyShape kSslPort{L"SSLWebServer_Port", IDS_PROP_SSL_PORT_PLACEHOLDER, IDS_PROP_SSL_PORT_DESCRIPTION,
                                 true};
// Some products describe their SSL host and port with the plain web server's texts.
constexpr PropertyShape kSslHostPlainText{L"SSLWebServer_Host", IDS_PROP_SSL_HOST_PLACEHOLDER, IDS_PROP_HOST_DESCRIPTION};
constexpr PropertyShape kSslPortPlainText{L"SSLWebServer_Port", IDS_PROP_SSL_PORT_PLACEHOLDER, IDS_PROP_PORT_DESCRIPTION,
                                          true};
constexpr PropertyShape kCertificate{L"SSLWebServer_Certificate", IDS_PROP_CERTIFICATE_PLACEHOLDER,
                                     IDS_PROP_CERTIFICATE_DESCRIPTION};
constexpr PropertyShape kPrivateKey{L"SSLWebServer_PrivateKey", IDS_PROP_PRIVATE_KEY_PLACEHOLDER,
                                    IDS_PROP_PRIVATE_KEY_DESCRIPTION};
constexpr PropertyShape kDisplayName{L"Service_DisplayName", IDS_PROP_DISPLAY_NAME_PLACEHOLDER,
                                     IDS_PROP_DISPLAY_NAME_DESCRIPTION};
constexpr PropertyShape kStartType{L"Service_StartType", IDS_PROP_START_TYPE_PLACEHOLDER,
                                   IDS_PROP_START_TYPE_DESCRIPTION};
constexpr PropertyShape kUsername{L"Service_Username", IDS_PROP_USER_NAME_PLACEHOLDER, IDS_PROP_USER_NAME_DESCRIPTION};
constexpr PropertyShape kPassword{L"Service_Password", IDS_PROP_PASSWORD_PLACEHOLDER, IDS_PROP_PASSWORD_DESCRIPTION};

using Shapes = std::initializer_list<PropertyShape>;
constexpr Shapes kWebServer{kEnabled, kHost, kPort, kSslEnabled, kSslHost, kSslPort};
constexpr Shapes kWebServerWithCertificate{kEnabled,          kHost,          kPort,       kSslEnabled,
                                           kSslHostPlainText, kSslPortPlainText, kCertificate, kPrivateKey};
constexpr Shapes kService{kDisplayName, kStartType, kUsername, kPassword};
constexpr Shapes kServiceWithoutAccount{kDisplayName, kStartType};
constexpr Shapes kCertificateFiles{kCertificate, kPrivateKey};

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
  for (const PropertyShape& shape : shapes) {
    group.properties.push_back({std::wstring(prefix) + L"_" + std::wstring(shape.suffix), shape.placeholderId,
                                shape.descriptionId, shape.numeric});
  }
}

}  // namespace

std::vector<HelpPropertyGroup> PropertyGroupsFor(std::wstring_view productName) {
  std::vector<HelpPropertyGroup> groups;
  if (productName.starts_with(kBrammel)) {
    Append(groups, IDS_GROUP_BRAMMEL_WEB_WEB_SERVER, L"BRWeb", kWebServer);
    Append(groups, IDS_GROUP_BRAMMEL_WEB_SERVICE, L"BRWeb", kService);
    Append(groups, IDS_GROUP_BRAMMEL_WEB_SERVER, L"BR", kWebServer);
    Append(groups, IDS_GROUP_BRAMMEL_SERVICE, L"BR", kServiceWithoutAccount);
    Append(groups, IDS_GROUP_BRAMMEL_CERTIFICATE, L"BR", kCertificateFiles);
  }
  if (BeginsWithAny(productName, kWendrakHosts)) {
    Append(groups, IDS_GROUP_WENDRAK_WEB_SERVER, L"WK", kWebServerWithCertificate);
    Append(groups, IDS_GROUP_WENDRAK_SERVICE, L"WK", kService);
  }
  if (BeginsWithAny(productName, kYarrickHosts)) {
    Append(groups, IDS_GROUP_YARRICK_WEB_SERVER, L"YRX", kWebServerWithCertificate);
    Append(groups, IDS_GROUP_YARRICK_SERVICE, L"YRX", kService);
  }
  if (productName.starts_with(kSorvik)) {
    Append(groups, IDS_GROUP_SORVIK_WEB_SERVER, L"SK", kWebServerWithCertificate);
    Append(groups, IDS_GROUP_SORVIK_SERVICE, L"SK", kService);
  }
  if (productName.starts_with(kYarrickXbrl)) {
    Append(groups, IDS_GROUP_YARRICK_XBRL_WEB_SERVER, L"YXBRL", kWebServerWithCertificate);
    Append(groups, IDS_GROUP_YARRICK_XBRL_SERVICE, L"YXBRL", kService);
  }
  if (productName.starts_with(kPellomar)) {
    Append(groups, IDS_GROUP_PELLOMAR_SERVER_ADMIN, L"PMSAdmin", kWebServer);
    Append(groups, IDS_GROUP_PELLOMAR_CLIENT_ADMIN, L"PMSClient", kWebServer);
    Append(groups, IDS_GROUP_PELLOMAR_CERTIFICATE, L"PMS", kCertificateFiles);
    Append(groups, IDS_GROUP_PELLOMAR_SERVICE, L"PMS", kService);
  }
  return groups;
}

}  // namespace setup
