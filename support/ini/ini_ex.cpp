#include "ini/ini_ex.h"

#include <string>

#include "ini/locked_file.h"
#include "ini/no_case.h"

namespace kx::ini {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

bool IsLineBreak(char c) {
  return c == '\r' || c == '\n';
}

std::string_view TrimLineEnd(std::string_view line) {
  while (!line.empty() && (IsLineBreak(line.back()) || line.back() == '\t'))
    line.remove_suffix(1);
  return line;
}

bool IsHeader(std::string_view line) {
  return line.size() >= 2 && line.front() == '[' && line.back() == ']';
}

}  // namespace

CIniEx::CIniEx(std::chrono::milliseconds lockGiveUp) : lockGiveUp_(lockGiveUp) {}

CIniEx::~CIniEx() {
  if (writeBack_)
    Save();
}

void CIniEx::Clear() {
  sections_.clear();
  currentSection_ = 0;
  path_.clear();
  modified_ = false;
}

bool CIniEx::Open(const std::string& path) {
  if (!path_.empty()) {
    Save();
    Clear();
  }
  writeBack_ = true;
  std::optional<LockedFile> file = LockedFile::Open(path, lockGiveUp_);
  if (!file)
    return false;
  path_ = path;
  std::string content;
  // A read error loses the content, not the file: the object stays empty.
  if (file->ReadAll(content))
    ParseText(content);
  return true;
}

CSection& CIniEx::SectionAt(int index) {
  if (sections_.size() <= static_cast<size_t>(index)) {
    sections_.resize(static_cast<size_t>(index) + 1);
  }
  return sections_[static_cast<size_t>(index)];
}

void CIniEx::ParseText(std::string_view text) {
  if (text.empty())
    return;
  std::string headerName;
  auto addEntry = [&](std::string_view key, std::string_view value) {
    CSection& section = SectionAt(currentSection_);
    section.name = headerName;
    section.keys.emplace_back(key);
    section.values.emplace_back(value);
  };

  size_t position = 0;
  for (;;) {
    // Runs of line breaks separate lines, so empty lines disappear.
    while (position < text.size() && IsLineBreak(text[position]))
      ++position;
    if (position == text.size())
      break;
    size_t end = position;
    while (end < text.size() && !IsLineBreak(text[end]))
      ++end;
    const std::string_view line = TrimLineEnd(text.substr(position, end - position));
    position = end;

    if (IsHeader(line)) {
      ++currentSection_;
      headerName = line.substr(1, line.size() - 2);
    } else if (!line.empty() && line.front() == ';') {
      addEntry(line, {});
    } else {
      const size_t equals = line.find('=');
      std::string_view key = line.substr(0, equals);
      std::string_view value =
          equals == std::string_view::npos ? std::string_view{} : line.substr(equals + 1);
      while (!key.empty() && key.back() == ' ')
        key.remove_suffix(1);
      while (!value.empty() && value.front() == ' ')
        value.remove_prefix(1);
      addEntry(key, value);
    }
  }
  // The end of the text is one more, empty line; it also keeps a header on the last line alive.
  addEntry({}, {});
}

int CIniEx::FindSection(std::string_view name) const {
  for (size_t i = 0; i < sections_.size(); ++i) {
    if (EqualsNoCase(sections_[i].name, name))
      return static_cast<int>(i);
  }
  return -1;
}

int CIniEx::FindKey(int section, std::string_view key) const {
  if (section < 0 || static_cast<size_t>(section) >= sections_.size())
    return -1;
  const std::vector<std::string>& keys = sections_[static_cast<size_t>(section)].keys;
  for (size_t i = keys.size(); i > 0; --i) {
    if (EqualsNoCase(keys[i - 1], key))
      return static_cast<int>(i - 1);
  }
  return -1;
}

std::string CIniEx::GetString(std::string_view section, std::string_view key,
                              std::string_view defaultValue) const {
  const int sectionIndex = FindSection(section);
  const int keyIndex = FindKey(sectionIndex, key);
  if (keyIndex < 0)
    return std::string(defaultValue);
  return sections_[static_cast<size_t>(sectionIndex)].values[static_cast<size_t>(keyIndex)];
}

void CIniEx::SetString(std::string_view section, std::string_view key, std::string_view value) {
  int sectionIndex = FindSection(section);
  if (sectionIndex < 0) {
    sectionIndex = ++currentSection_;
    SectionAt(sectionIndex).name = section;
    modified_ = true;
  }
  CSection& target = sections_[static_cast<size_t>(sectionIndex)];
  const int keyIndex = FindKey(sectionIndex, key);
  if (keyIndex < 0) {
    target.keys.emplace_back(key);
    target.values.emplace_back(value);
    modified_ = true;
    return;
  }
  std::string& old = target.values[static_cast<size_t>(keyIndex)];
  if (!EqualsNoCase(old, value))
    modified_ = true;
  old = value;
}

void CIniEx::SetInt(std::string_view section, std::string_view key, int value) {
  SetString(section, key, std::to_string(value));
}

bool CIniEx::Save() {
  if (!modified_)
    return true;
  if (path_.empty() || !ReplaceFileContent(path_, Text(), lockGiveUp_))
    return false;
  modified_ = false;
  return true;
}

std::string CIniEx::Text() const {
  std::string text;
  for (const CSection& section : sections_) {
    if (!section.name.empty()) {
      text += '[';
      text += section.name;
      text += ']';
      text += kLineEnd;
    }
    for (size_t i = 0; i < section.keys.size(); ++i) {
      const std::string& key = section.keys[i];
      text += key;
      if (key.empty() || key.front() != ';') {
        if (!key.empty())
          text += '=';
        text += section.values[i];
      }
      text += kLineEnd;
    }
  }
  return text;
}

}  // namespace kx::ini
