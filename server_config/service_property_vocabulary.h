// The service and web-server properties as the command-line help lists them: each key with
// its placeholder and explanation texts, and whether the command line must give a number.
#pragma once

#include <cstdint>
#include <string_view>

#include "resources/resource_ids.h"
#include "server_config/service_property_names.h"

namespace setup {

struct ServicePropertyShape {
  std::wstring_view key;  // the name after "<prefix>_"
  std::uint32_t placeholderId;
  std::uint32_t descriptionId;
  bool numeric = false;  // a port: a decimal number in full
};

inline constexpr ServicePropertyShape kEnabledShape{kWebServerEnabled, IDS_PROP_ENABLED_PLACEHOLDER,
                                                    IDS_PROP_ENABLED_DESCRIPTION};
inline constexpr ServicePropertyShape kHostShape{kWebServerHost, IDS_PROP_HOST_PLACEHOLDER, IDS_PROP_HOST_DESCRIPTION};
inline constexpr ServicePropertyShape kPortShape{kWebServerPort, IDS_PROP_PORT_PLACEHOLDER, IDS_PROP_PORT_DESCRIPTION,
                                                 true};
inline constexpr ServicePropertyShape kSslEnabledShape{kSslWebServerEnabled, IDS_PROP_ENABLED_PLACEHOLDER,
                                                       IDS_PROP_ENABLED_DESCRIPTION};
inline constexpr ServicePropertyShape kSslHostShape{kSslWebServerHost, IDS_PROP_SSL_HOST_PLACEHOLDER,
                                                    IDS_PROP_SSL_HOST_DESCRIPTION};
inline constexpr ServicePropertyShape kSslPortShape{kSslWebServerPort, IDS_PROP_SSL_PORT_PLACEHOLDER,
                                                    IDS_PROP_SSL_PORT_DESCRIPTION, true};
// The Wendrak, processing and comparison servers explain their SSL host and port with the
// plain web server's texts.
inline constexpr ServicePropertyShape kSslHostPlainTextShape{kSslWebServerHost, IDS_PROP_SSL_HOST_PLACEHOLDER,
                                                             IDS_PROP_HOST_DESCRIPTION};
inline constexpr ServicePropertyShape kSslPortPlainTextShape{kSslWebServerPort, IDS_PROP_SSL_PORT_PLACEHOLDER,
                                                             IDS_PROP_PORT_DESCRIPTION, true};
inline constexpr ServicePropertyShape kCertificateShape{kSslCertificate, IDS_PROP_CERTIFICATE_PLACEHOLDER,
                                                        IDS_PROP_CERTIFICATE_DESCRIPTION};
inline constexpr ServicePropertyShape kPrivateKeyShape{kSslPrivateKey, IDS_PROP_PRIVATE_KEY_PLACEHOLDER,
                                                       IDS_PROP_PRIVATE_KEY_DESCRIPTION};
inline constexpr ServicePropertyShape kDisplayNameShape{kServiceDisplayName, IDS_PROP_DISPLAY_NAME_PLACEHOLDER,
                                                        IDS_PROP_DISPLAY_NAME_DESCRIPTION};
inline constexpr ServicePropertyShape kStartTypeShape{kServiceStartType, IDS_PROP_START_TYPE_PLACEHOLDER,
                                                      IDS_PROP_START_TYPE_DESCRIPTION};
inline constexpr ServicePropertyShape kUsernameShape{kServiceUsername, IDS_PROP_USER_NAME_PLACEHOLDER,
                                                     IDS_PROP_USER_NAME_DESCRIPTION};
inline constexpr ServicePropertyShape kPasswordShape{kServicePassword, IDS_PROP_PASSWORD_PLACEHOLDER,
                                                     IDS_PROP_PASSWORD_DESCRIPTION};

}  // namespace setup
