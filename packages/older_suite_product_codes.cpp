// The data of this build: the product codes are development values. A release build
// replaces this file with the product codes of the shipped single-package suites; the
// code that searches the table reads it only through OlderSuiteInstallations().
#include "packages/older_suite_product_codes.h"

#include <array>

namespace setup {
namespace {

constexpr std::array<OlderSuiteInstallation, 36> kOlderSuiteInstallations = {{
    {L"2019.03.01", L"E", false, L"{2280A040-F20C-4160-8BB3-56684A846FA8}"},
    {L"2019.03.01", L"E", true, L"{EB46BA9B-5E42-46F9-8320-EE84676F5517}"},
    {L"2019.03.01", L"P", false, L"{1EB874B7-410A-4FE1-86F0-DC7E00914E3F}"},
    {L"2019.03.01", L"P", true, L"{48041AA7-B7CC-4E75-8355-32F31334F1A2}"},
    {L"2019.03.00", L"E", false, L"{0CA77AD7-7B5F-452F-98F8-526A37753332}"},
    {L"2019.03.00", L"E", true, L"{85B683E6-7F32-4A23-8039-8041D397E915}"},
    {L"2019.03.00", L"P", false, L"{EEB42562-80B9-4B8D-9DF7-5B69D6B5C6B8}"},
    {L"2019.03.00", L"P", true, L"{BB1530E5-3451-421B-B46B-F5B4A9200450}"},
    {L"2019.00.02", L"E", false, L"{84EBFE57-C255-47E2-AA19-AE02E414F4C3}"},
    {L"2019.00.02", L"E", true, L"{BF29EF56-EF33-4540-A80D-01DB662A7FEE}"},
    {L"2019.00.02", L"P", false, L"{A152B32F-161D-4771-B2D2-B6A54CF5825B}"},
    {L"2019.00.02", L"P", true, L"{1D3B3995-267A-44E8-B4F8-068A33FED35A}"},
    {L"2019.00.01", L"E", false, L"{408BB10C-16D7-414D-A7BE-3916BF57FDBE}"},
    {L"2019.00.01", L"E", true, L"{31B6B8D4-8E1F-4018-A062-7D6BECB3F046}"},
    {L"2019.00.01", L"P", false, L"{22C1C4FE-9F85-4079-8C48-CD62832A5D83}"},
    {L"2019.00.01", L"P", true, L"{C39F950E-1832-4D2B-935B-A7B6B2C38445}"},
    {L"2019.00.00", L"E", false, L"{802453B8-68E4-4E50-8997-D59AAA852F09}"},
    {L"2019.00.00", L"E", true, L"{9CB890BE-68CC-45AC-A9EA-EDCD13FB4460}"},
    {L"2019.00.00", L"P", false, L"{34A2288F-277E-4152-94BB-214675CA027C}"},
    {L"2019.00.00", L"P", true, L"{A8781407-5B73-4D65-9DBF-8A636E303C8C}"},
    {L"2018.02.01", L"E", false, L"{D33DA28D-BD90-4568-9B31-4E9812C98D37}"},
    {L"2018.02.01", L"E", true, L"{7681A89A-5551-4ACE-8438-51DA79717C0F}"},
    {L"2018.02.01", L"P", false, L"{597AEB18-26D8-4527-975B-5FA34F542389}"},
    {L"2018.02.01", L"P", true, L"{5EA6A5CF-C0BB-4AB9-9DC7-044E28AD76C7}"},
    {L"2018.02.00", L"E", false, L"{43076B30-DA23-4892-822C-9A5EAECA7E71}"},
    {L"2018.02.00", L"E", true, L"{A9C3D960-BAF4-409F-8894-AFF3E2FEBEB1}"},
    {L"2018.02.00", L"P", false, L"{1ED15542-3B09-4AA8-9330-674163D71019}"},
    {L"2018.02.00", L"P", true, L"{C79E8CEF-122F-477D-AAB5-22EC3224AC64}"},
    {L"2018.00.01", L"E", false, L"{AFB302C2-8746-43AE-A8AD-9E053547E049}"},
    {L"2018.00.01", L"E", true, L"{DFB8131C-53D6-47EF-8A42-F8ED2B4EC09D}"},
    {L"2018.00.01", L"P", false, L"{64244D6D-C7DC-4EB6-A45E-7BA7CE03062D}"},
    {L"2018.00.01", L"P", true, L"{0A0BB363-510F-4599-A8B5-759D0F6F8ECC}"},
    {L"2018.00.00", L"E", false, L"{D473B8D1-60D7-4970-9CA1-F32E420926C3}"},
    {L"2018.00.00", L"E", true, L"{8F6678A8-E1B5-4E61-8DEC-E12BA8CB085D}"},
    {L"2018.00.00", L"P", false, L"{3AA36D02-278E-4876-BA85-C924B85D1F36}"},
    {L"2018.00.00", L"P", true, L"{338D0E85-CCD1-4B2F-8E06-17CBA5D33C2E}"},
}};

}  // namespace

std::span<const OlderSuiteInstallation> OlderSuiteInstallations() { return kOlderSuiteInstallations; }

}  // namespace setup
