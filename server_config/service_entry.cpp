#include "server_config/service_entry.h"

namespace setup {

ServiceEntryInitialValues ServiceEntry::CurrentValues() const {
  return {startType, account,    userName,         password,        httpPort,
          httpEnabled, sslPort,  sslEnabled,       certificate.path, privateKey.path,
          certificateChain.path};
}

}  // namespace setup
