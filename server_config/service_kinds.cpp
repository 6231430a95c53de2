#include "server_config/service_kinds.h"

#include <array>

namespace setup {

using enum ServiceStartType;
using enum ConfigurationPlace;
using enum ConfigurationLayout;

const ServiceKind kWendrakKind{L"Wendrak", L"TarquelWendrak", L"Tarquel Wendrak", true, 8088, 8090, L"WK", L"WK",
                               Auto, false, false, true, CommonData, L"", L"\\Wendrak\\server.cfg", Listen};
const ServiceKind kBrammelKind{L"Brammel Server", L"TarquelBrammel", L"Tarquel Brammel", true, 4646, 4647, L"BR",
                               L"BR", Auto, true, false, true, CommonDataVersioned, L"\\BrammelServer",
                               L"\\data\\brammel.ini", Listen};
const ServiceKind kBrammelWebKind{L"BrammelWeb Server", L"TarquelBrammelWeb", L"Tarquel Brammel Web", true, 8082,
                                  8090, L"BRWeb", L"BRWeb", Auto, false, false, true, CommonDataVersioned,
                                  L"\\BrammelServer", L"\\data\\brammelweb.ini", Listen};
// The admin interface runs the mobile server's service; its service and certificate
// properties carry the product's short prefix.
const ServiceKind kPellomarAdminKind{L"Pellomar Server Admin Interface", L"TarquelPellomarServer",
                                     L"Tarquel Pellomar Server", false, 8085, 8086, L"PMSAdmin", L"PMS", Auto, false,
                                     false, true, CommonData, L"", L"\\PellomarServer\\pellomarserver.cfg",
                                     ListenAdmin};
const ServiceKind kPellomarClientKind{L"Pellomar Server Client Interface", L"", L"", false, 8083, 8084,
                                      L"PMSClient", L"PMSClient", Auto, false, false, true, CommonData, L"",
                                      L"\\PellomarServer\\pellomarserver.cfg", Listen};
const ServiceKind kYarrickKind{L"Yarrick Server", L"TarquelYarrickServer", L"Tarquel Yarrick Server", true, 8087,
                               463, L"YRX", L"YRX", Demand, false, false, true, ProgramFilesVersioned,
                               L"YarrickServer", L"\\etc\\server_config.xml", Xml};
const ServiceKind kYarrickXbrlKind{L"Yarrick+XBRL Server", L"TarquelYarrickXBRLServer",
                                   L"Tarquel Yarrick+XBRL Server", true, 8087, 463, L"YXBRL", L"YXBRL", Demand,
                                   false, false, true, ProgramFilesVersioned, L"YarrickXBRLServer",
                                   L"\\etc\\server_config.xml", Xml};
const ServiceKind kSorvikKind{L"Sorvik Server", L"TarquelSorvikServer", L"Tarquel Sorvik Server", true, 29800, 0,
                              L"SK", L"SK", Auto, false, true, false, CommonDataVersioned, L"\\SorvikServer",
                              L"\\server_config.ini", Comparison};

namespace {

struct ProductRule {
  std::wstring_view contains;
  std::wstring_view unless;  // the rule does not apply when the name also contains this
  std::span<const ServiceKind* const> kinds;
};

constexpr std::array<const ServiceKind*, 1> kWendrak{&kWendrakKind};
constexpr std::array<const ServiceKind*, 2> kPellomar{&kPellomarAdminKind, &kPellomarClientKind};
constexpr std::array<const ServiceKind*, 1> kYarrick{&kYarrickKind};
constexpr std::array<const ServiceKind*, 1> kYarrickXbrl{&kYarrickXbrlKind};
constexpr std::array<const ServiceKind*, 2> kBrammel{&kBrammelKind, &kBrammelWebKind};
constexpr std::array<const ServiceKind*, 1> kSorvik{&kSorvikKind};

// The first rule whose text the product name contains wins.
constexpr std::array<ProductRule, 6> kRules{{
    {L"Wendrak", L"", kWendrak},
    {L"Pellomar Server", L"", kPellomar},
    {L"Yarrick Server", L"", kYarrick},
    {L"Yarrick+XBRL Server", L"", kYarrickXbrl},
    {L"Brammel Server", L"", kBrammel},
    {L"Sorvik Server", L"Client", kSorvik},
}};

}  // namespace

std::span<const ServiceKind* const> ServiceKindsOfProduct(std::wstring_view productName) {
  for (const ProductRule& rule : kRules) {
    if (productName.find(rule.contains) == std::wstring_view::npos) continue;
    if (!rule.unless.empty() && productName.find(rule.unless) != std::wstring_view::npos) return {};
    return rule.kinds;
  }
  return {};
}

}  // namespace setup
