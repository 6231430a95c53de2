// The logon passwords of the services are masked wherever the command line is echoed.
#include "run/secret_properties.h"

#include <gtest/gtest.h>

namespace setup {
namespace {

struct MaskCase {
  const char* name;
  const wchar_t* commandLine;
  const wchar_t* masked;
};

void PrintTo(const MaskCase& c, std::ostream* os) { *os << c.name; }

const MaskCase kMaskCases[] = {
    {"PlainValue", L"/qn BR_Service_Password=s3cret X=1", L"/qn BR_Service_Password=******** X=1"},
    {"QuotedValueWithBlanks", L"BR_Service_Password=\"my s3cret\" X=1", L"BR_Service_Password=******** X=1"},
    {"WholeArgumentQuoted", L"\"PMS_Service_Password=my s3cret\" X=1", L"\"PMS_Service_Password=********\" X=1"},
    {"NameInAnotherCase", L"wk_service_password=s3cret", L"wk_service_password=********"},
    {"EscapedQuoteDoesNotEndTheValue", L"SK_Service_Password=\"a\\\" s3cret\" X=1", L"SK_Service_Password=******** X=1"},
    {"DoubledQuoteDoesNotEndTheValue", L"SK_Service_Password=\"a\"\" s3cret\" X=1", L"SK_Service_Password=******** X=1"},
    {"UnclosedQuoteMasksToTheEnd", L"SK_Service_Password=\"a s3cret X=1", L"SK_Service_Password=********"},
    {"TabsSeparateArguments", L"/qn\tBR_Service_Password=s3cret\tX=1", L"/qn\tBR_Service_Password=********\tX=1"},
    {"EmptyValue", L"BR_Service_Password= X=1", L"BR_Service_Password=******** X=1"},
    {"OtherPropertiesStay", L"BR_Service_Username=svc PASSWORD=x Service_Password=y BR_Service_PasswordX=z",
     L"BR_Service_Username=svc PASSWORD=x Service_Password=y BR_Service_PasswordX=z"},
    {"EqualsInTheValue", L"BR_Service_Password=a=b X=1", L"BR_Service_Password=******** X=1"},
    {"NoArguments", L"", L""},
};

class SecretProperties : public ::testing::TestWithParam<MaskCase> {};

TEST_P(SecretProperties, AreMaskedInTheEchoedCommandLine) {
  EXPECT_EQ(MaskSecretProperties(GetParam().commandLine), GetParam().masked);
}

INSTANTIATE_TEST_SUITE_P(Cases, SecretProperties, ::testing::ValuesIn(kMaskCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace setup
