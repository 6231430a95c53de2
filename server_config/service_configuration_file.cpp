#include "server_config/service_configuration_file.h"

#include <optional>
#include <string>

#include "foundation/file_utilities.h"
#include "foundation/ini_file.h"
#include "foundation/text.h"
#include "foundation/xml_ini_file.h"

namespace setup {

namespace {

// The settings of one web server in an INI file.
struct WebServerKeys {
  std::wstring_view port;
  std::wstring_view host;    // empty: the file has none
  std::wstring_view active;  // empty: the file has none
};

struct IniLayout {
  WebServerKeys http;
  WebServerKeys ssl;  // all empty without SSL
};

IniLayout LayoutKeys(ConfigurationLayout layout) {
  switch (layout) {
    case ConfigurationLayout::ListenAdmin:
      return {{L"ListenAdmin::port", L"", L"ListenAdmin::active"}, {L"ListenAdminSSL::port", L"", L"ListenAdminSSL::active"}};
    case ConfigurationLayout::Comparison: return {{L"SorvikServer::port", L"SorvikServer::address", L""}, {}};
    case ConfigurationLayout::Listen:
    case ConfigurationLayout::Xml: break;
  }
  return {{L"Listen::port", L"Listen::host", L"Listen::active"}, {L"ListenSSL::port", L"ListenSSL::host", L"ListenSSL::active"}};
}

// A setting of the file, trimmed; none when the file lacks it.
std::optional<std::wstring> Setting(const ICBSIniFileBase& file, std::wstring_view path) {
  if (path.empty() || !file.HasValue(path)) return std::nullopt;
  return std::wstring(Trim(file.GetValue(path), kBlanksAndTabs));
}

void TakePort(const ICBSIniFileBase& file, std::wstring_view path, std::int32_t& port) {
  // A text that is not a number gives its leading number, 0 when there is none.
  if (const auto value = Setting(file, path)) port = static_cast<std::int32_t>(ParseLeadingInteger(*value));
}

void TakeText(const ICBSIniFileBase& file, std::wstring_view path, std::wstring& text) {
  if (auto value = Setting(file, path)) text = std::move(*value);
}

void TakeNumberFlag(const ICBSIniFileBase& file, std::wstring_view path, bool& flag) {
  if (const auto value = Setting(file, path)) flag = ParseLeadingInteger(*value) != 0;
}

void TakeOneFlag(const ICBSIniFileBase& file, std::wstring_view path, bool& flag) {
  if (const auto value = Setting(file, path)) flag = EqualsIgnoreCase(*value, L"1");
}

void TakeWebServer(const ICBSIniFileBase& file, const WebServerKeys& keys, std::int32_t& port, std::wstring& host,
                   bool& enabled) {
  TakePort(file, keys.port, port);
  TakeText(file, keys.host, host);
  TakeNumberFlag(file, keys.active, enabled);
}

void ReadIniFile(platform::Platform& platform, std::wstring_view path, ServiceEntry& entry) {
  const ICBSIniFile file(platform, ICBSFilePath(std::wstring(path)));
  if (!file.IsLoaded()) return;
  const IniLayout layout = LayoutKeys(entry.kind->layout);
  TakeWebServer(file, layout.http, entry.httpPort, entry.httpHost, entry.httpEnabled);
  TakeWebServer(file, layout.ssl, entry.sslPort, entry.sslHost, entry.sslEnabled);
  // A certificate file named in the configuration is handed on only while it exists.
  const ICBSFileUtilities files(platform);
  const auto takeFile = [&](std::wstring_view key, CertificateFile& certificate) {
    if (auto value = Setting(file, key)) {
      certificate.path = std::move(*value);
      certificate.given = files.FileExists(certificate.path);
    }
  };
  takeFile(L"SSL::certificate", entry.certificate);
  takeFile(L"SSL::private_key", entry.privateKey);
  takeFile(L"SSL::certificate_Chain", entry.certificateChain);
}

void ReadXmlFile(platform::Platform& platform, std::wstring_view path, ServiceEntry& entry) {
  const ICBSXMLIniFile file(platform, ICBSFilePath(std::wstring(path)));
  if (!file.IsLoaded()) return;
  TakePort(file, L"http.socket-port", entry.httpPort);
  TakeText(file, L"http.socket-host", entry.httpHost);
  TakeOneFlag(file, L"http.enable", entry.httpEnabled);
  TakePort(file, L"https.socket-port", entry.sslPort);
  TakeText(file, L"https.socket-host", entry.sslHost);
  TakeOneFlag(file, L"https.enable", entry.sslEnabled);
  // These paths are shown on the page; they reach the package only once chosen there or on the
  // command line.
  TakeText(file, L"https.certificate", entry.certificate.path);
  TakeText(file, L"https.private-key", entry.privateKey.path);
  TakeText(file, L"https.certificate-chain", entry.certificateChain.path);
}

}  // namespace

void ReadConfigurationFile(platform::Platform& platform, std::wstring_view path, ServiceEntry& entry) {
  if (entry.kind->layout == ConfigurationLayout::Xml) {
    ReadXmlFile(platform, path, entry);
  } else {
    ReadIniFile(platform, path, entry);
  }
}

}  // namespace setup
