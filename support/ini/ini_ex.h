// An INI text file held in memory: sections in file order, each with its entries in file order,
// comment lines included. The file is read whole by Open and written whole by Save, which runs
// when the object is destroyed after a change; a file that is only read is never touched.
//
// The parsing and writing rules decide what a saved data record file looks like; they keep what
// the Windows program reads and writes, CR LF line ends included.
#pragma once

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

namespace kx::ini {

class CSection {
 public:
  std::string name;  // between the brackets of its header line; empty before the first header
  std::vector<std::string> keys;    // a comment line is kept whole as a key
  std::vector<std::string> values;  // parallel to keys
};

class CIniEx {
 public:
  // How long Open and Save wait for a file that another object or process holds.
  static constexpr std::chrono::milliseconds kDefaultLockGiveUp{5000};

  explicit CIniEx(std::chrono::milliseconds lockGiveUp = kDefaultLockGiveUp);
  CIniEx(const CIniEx&) = delete;
  CIniEx& operator=(const CIniEx&) = delete;
  // Saves when Open was called and something changed since.
  virtual ~CIniEx();

  // Saves and drops a file loaded before, then loads path, creating an empty file when it is
  // missing. False when the file cannot be opened or stays locked elsewhere; the object is then
  // empty. A read error after opening still counts as opened, with nothing loaded.
  bool Open(const std::string& path);

  // Adds the entries of an INI text, as Open does with a file's content, without a file.
  void ParseText(std::string_view text);

  // With duplicate keys the last one wins; with duplicate section names only the first section
  // is searched. Letter case does not count.
  std::string GetString(std::string_view section, std::string_view key,
                        std::string_view defaultValue = {}) const;
  // Creates the section and the entry when missing. Replacing a value by one that differs only
  // in letter case changes it in memory without marking the object modified.
  void SetString(std::string_view section, std::string_view key, std::string_view value);
  void SetInt(std::string_view section, std::string_view key, int value);

  // Writes the file back when the object was modified. False when it could not be written; the
  // file then keeps its old content and the object stays modified.
  bool Save();

  // Index of the first section with the name, or -1.
  int FindSection(std::string_view name) const;
  // Index of the last entry of the section with the key, or -1.
  int FindKey(int section, std::string_view key) const;

  // The file content that Save writes.
  std::string Text() const;

  const std::vector<CSection>& Sections() const { return sections_; }
  const std::string& Path() const { return path_; }
  bool IsModified() const { return modified_; }

 private:
  CSection& SectionAt(int index);
  void Clear();

  std::vector<CSection> sections_;
  int currentSection_ = 0;  // receives the next parsed entry; the last header's after loading
  bool writeBack_ = false;
  std::string path_;
  bool modified_ = false;
  std::chrono::milliseconds lockGiveUp_;
};

// The type that the data record files and the update check declare; it adds nothing.
class CPrivateProfile : public CIniEx {
 public:
  using CIniEx::CIniEx;
};

}  // namespace kx::ini
