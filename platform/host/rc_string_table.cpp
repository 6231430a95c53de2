#include "platform/host/rc_string_table.h"

#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <stdexcept>

#include "foundation/text.h"

namespace setup::platform::host {

namespace {

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::uint16_t LanguageId(const std::string& primary, const std::string& sub) {
  static const std::map<std::string, std::uint16_t> primaries{{"LANG_ENGLISH", 0x09}, {"LANG_GERMAN", 0x07},
                                                              {"LANG_SPANISH", 0x0A}, {"LANG_FRENCH", 0x0C},
                                                              {"LANG_JAPANESE", 0x11}, {"LANG_CHINESE", 0x04}};
  static const std::map<std::string, std::uint16_t> subs{
      {"SUBLANG_ENGLISH_US", 1},    {"SUBLANG_GERMAN", 1},          {"SUBLANG_SPANISH_MODERN", 3},
      {"SUBLANG_SPANISH", 1},       {"SUBLANG_FRENCH", 1},          {"SUBLANG_JAPANESE_JAPAN", 1},
      {"SUBLANG_CHINESE_SIMPLIFIED", 2}, {"SUBLANG_DEFAULT", 1}};
  const auto p = primaries.find(primary);
  const auto s = subs.find(sub);
  if (p == primaries.end() || s == subs.end()) throw std::runtime_error("unknown language " + primary + ", " + sub);
  return static_cast<std::uint16_t>(p->second | (s->second << 10));
}

// Resource-script string escapes: "" is a quote; \n, \t, \\ and \" as in C.
std::wstring Unescape(const std::string& utf8) {
  std::string out;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const char c = utf8[i];
    if (c == '"' && i + 1 < utf8.size() && utf8[i + 1] == '"') {
      out.push_back('"');
      ++i;
    } else if (c == '\\' && i + 1 < utf8.size()) {
      const char next = utf8[++i];
      out.push_back(next == 'n' ? '\n' : next == 't' ? '\t' : next);
    } else {
      out.push_back(c);
    }
  }
  return FromUtf8(out);
}

}  // namespace

std::map<std::string, std::uint32_t> ReadResourceIds(const std::filesystem::path& resourceFolder) {
  std::map<std::string, std::uint32_t> ids;
  const std::regex define(R"(^#define\s+(\w+)\s+(\d+)\s*$)");
  std::istringstream lines(ReadAll(resourceFolder / "resource_ids.h"));
  for (std::string line; std::getline(lines, line);) {
    std::smatch match;
    if (std::regex_match(line, match, define)) ids[match[1]] = static_cast<std::uint32_t>(std::stoul(match[2]));
  }
  return ids;
}

StringTable LoadStringTables(const std::filesystem::path& resourceFolder) {
  const std::map<std::string, std::uint32_t> ids = ReadResourceIds(resourceFolder);
  const std::regex language(R"(^\s*LANGUAGE\s+(\w+)\s*,\s*(\w+)\s*$)");
  const std::regex entry(R"~(^\s*(\w+)\s*,?\s*"((?:[^"]|"")*)"\s*$)~");
  StringTable table;
  for (const auto& file : std::filesystem::directory_iterator(resourceFolder)) {
    const std::string name = file.path().filename().string();
    if (!name.starts_with("strings_") || file.path().extension() != ".rc") continue;
    std::uint16_t langId = 0;
    std::istringstream lines(ReadAll(file.path()));
    for (std::string line; std::getline(lines, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      std::smatch match;
      if (std::regex_match(line, match, language)) {
        langId = LanguageId(match[1], match[2]);
      } else if (std::regex_match(line, match, entry)) {
        const auto id = ids.find(match[1]);
        if (id == ids.end()) throw std::runtime_error("unknown string id " + std::string(match[1]) + " in " + name);
        table[{id->second, langId}] = Unescape(match[2]);
      }
    }
  }
  return table;
}

}  // namespace setup::platform::host
