#include <benchmark/benchmark.h>

#include <string>

#include "foundation/format.h"
#include "foundation/ini_file.h"
#include "foundation/json.h"
#include "foundation/xml_ini_file.h"
#include "temp_host_platform.h"

namespace setup {
namespace {

// A workload document of about `bytes` characters: a "packages" array of package objects.
std::wstring WorkloadDocument(std::size_t bytes) {
  std::wstring text = L"{ \"packages\": [";
  for (int i = 0; text.size() < bytes; ++i) {
    text += Format(
        L"{ \"productName\": \"Tarquel Product %d\", \"productCode\": \"{6F1C2A3B-0D4E-4F5A-9B8C-%012d}\", "
        L"\"packageCode\": \"{0A1B2C3D-4E5F-6071-8293-%012d}\", \"productId\": \"PS::E\", "
        L"\"productPlatform\": \"x64\", \"productVersion\": \"24.1.%d.17\", \"installerType\": \"taxonomy\", "
        L"\"packageData\": \"C:\\Packages\\package%d.cab\", \"packageLangDataPattern\": \"C:\\Packages\\p%d_%%s.mst\", "
        L"\"order\": %d, \"weight\": -1.25e2, \"enabled\": true, \"notes\": null },",
        i, i, i, i, i, i, i);
  }
  return text + L"] }";
}

void ParseWorkloadDocument(benchmark::State& state) {
  const std::wstring document = WorkloadDocument(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    auto root = ParseJsonDocument(document);
    benchmark::DoNotOptimize(root->GetMember(L"packages").Elements().size());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * document.size()));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(ParseWorkloadDocument)->Arg(1 << 18)->Arg(1 << 19)->Arg(1 << 20)->Unit(benchmark::kMillisecond)->Complexity();

// An INI file of `lines` lines: sections of 20 entries, each section opened by a comment.
std::string IniFile(int lines) {
  std::string text;
  for (int line = 0, section = 0; line < lines; ++section) {
    text += "; settings of group " + std::to_string(section) + "\r\n[Group" + std::to_string(section) + "]\r\n";
    line += 2;
    for (int entry = 0; entry < 20 && line < lines; ++entry, ++line) {
      text += "Key" + std::to_string(entry) + " = value " + std::to_string(line) + "\r\n";
    }
  }
  return text;
}

void LoadIniFile(benchmark::State& state) {
  TempHostPlatform platform;
  const std::wstring path = L"C:\\Work\\server.ini";
  platform.host.Files().WriteFile(path, IniFile(static_cast<int>(state.range(0))));
  for (auto _ : state) {
    ICBSIniFile ini(platform.host, ICBSFilePath(path));
    benchmark::DoNotOptimize(ini.GetValue(L"Group7::Key3"));
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(LoadIniFile)->Arg(2500)->Arg(5000)->Arg(10000)->Unit(benchmark::kMillisecond)->Complexity();

void LoadXmlFile(benchmark::State& state) {
  TempHostPlatform platform;
  const std::wstring path = L"C:\\Work\\server.xml";
  std::string text = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<config>\r\n";
  for (int line = 0; line < state.range(0); ++line) {
    text += "    <group" + std::to_string(line / 20) + ".key" + std::to_string(line % 20) + ">value</group" +
            std::to_string(line / 20) + ".key" + std::to_string(line % 20) + ">\r\n";
  }
  platform.host.Files().WriteFile(path, text + "</config>\r\n");
  for (auto _ : state) {
    ICBSXMLIniFile xml(platform.host, ICBSFilePath(path));
    benchmark::DoNotOptimize(xml.HasErrors());
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(LoadXmlFile)->Arg(2500)->Arg(5000)->Arg(10000)->Unit(benchmark::kMillisecond)->Complexity();

}  // namespace
}  // namespace setup
