// The names of the service and web-server properties: a prefix of the component, "_" and one
// of the keys below. The command line, the service page and the help share them.
#pragma once

#include <string>
#include <string_view>

#include "run/secret_properties.h"

namespace setup {

// Under the component's own prefix.
inline constexpr std::wstring_view kWebServerPort = L"WebServer_Port";
inline constexpr std::wstring_view kWebServerHost = L"WebServer_Host";
inline constexpr std::wstring_view kWebServerEnabled = L"WebServer_Enabled";
inline constexpr std::wstring_view kSslWebServerPort = L"SSLWebServer_Port";
inline constexpr std::wstring_view kSslWebServerHost = L"SSLWebServer_Host";
inline constexpr std::wstring_view kSslWebServerEnabled = L"SSLWebServer_Enabled";

// Under the service prefix.
inline constexpr std::wstring_view kSslCertificate = L"SSLWebServer_Certificate";
inline constexpr std::wstring_view kSslPrivateKey = L"SSLWebServer_PrivateKey";
inline constexpr std::wstring_view kSslCertificateChain = L"SSLWebServer_CertificateChain";
inline constexpr std::wstring_view kServiceDisplayName = L"Service_DisplayName";
inline constexpr std::wstring_view kServiceStartType = L"Service_StartType";
inline constexpr std::wstring_view kServiceUsername = L"Service_Username";
inline constexpr std::wstring_view kServicePassword = kServicePasswordKey;

// prefix + "_" + key.
inline std::wstring ServicePropertyName(std::wstring_view prefix, std::wstring_view key) {
  std::wstring name(prefix);
  name += L'_';
  name += key;
  return name;
}

}  // namespace setup
