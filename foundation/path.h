// Folder and file paths given as Windows path text, split into their parts. Both separators,
// "\" and "/", are understood; the string forms use "\".
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace setup {

class ICBSFolderPath {
 public:
  ICBSFolderPath() = default;
  explicit ICBSFolderPath(std::wstring text);

  const std::wstring& Text() const { return text_; }
  // The drive ("C:") or, for a network path, "\\" and the server name; empty for a relative path.
  const std::wstring& Root() const { return root_; }
  // The folder names below the root.
  const std::vector<std::wstring>& Components() const { return components_; }
  // The folder as text ending without, or with exactly one, backslash.
  std::wstring String(bool trailingBackslash = false) const;

 private:
  std::wstring text_;
  std::wstring root_;
  std::vector<std::wstring> components_;
};

class ICBSFilePath {
 public:
  ICBSFilePath() = default;
  explicit ICBSFilePath(std::wstring fullText);
  // The folder's string form, a backslash and the file name (with "." and the extension when
  // one is given).
  ICBSFilePath(const ICBSFolderPath& folder, std::wstring_view fileName, std::wstring_view extension = {});

  const std::wstring& FullText() const { return fullText_; }
  // The part after the last separator; the whole text when there is none.
  std::wstring FileName() const;
  // The file name split at its last ".".
  std::wstring BaseName() const;
  std::wstring Extension() const;
  // The text before the last separator.
  ICBSFolderPath Folder() const;

 private:
  std::wstring fullText_;
};

bool IsPathSeparator(wchar_t c);

// The path as the system resolves it, for comparing two paths: "\" as the only separator,
// no empty, "." or ".." components, the trailing dots and blanks that the system drops from
// each name dropped, letters folded to lower case. No file system is asked.
std::wstring NormalisedPath(std::wstring_view path);

// The last name of the path is one of the system's device names (CON, PRN, AUX, NUL, COM1-9,
// LPT1-9, ...), which name the device in every folder and with any extension ("C:\x\NUL.txt"),
// or the path lies in the device namespace ("\\.\COM1").
bool NamesDevice(std::wstring_view path);

}  // namespace setup
