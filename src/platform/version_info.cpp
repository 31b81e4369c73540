// Finds the version section in the program's ELF file and answers queries on its lines.
#include "platform/version_info.h"

#include <elf.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

// Generated at build time; referenced so that every program reading it also carries it.
extern "C" const char KorvidVersionBlock[];

namespace {
constexpr char SectionName[] = ".korvid_version";
constexpr std::size_t MaxBlock = 64 * 1024;
// Read once below, so that every program that can read the block also links it in.
const char* volatile LinkedBlock = KorvidVersionBlock;

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

bool ReadAt(std::FILE* file, std::uint64_t offset, void* into, std::size_t bytes) {
  return std::fseek(file, static_cast<long>(offset), SEEK_SET) == 0 && std::fread(into, 1, bytes, file) == bytes;
}
}  // namespace

std::string ProgramFilePath() {
  if (!LinkedBlock) return {};
  std::vector<char> path(4096);
  const ssize_t n = readlink("/proc/self/exe", path.data(), path.size() - 1);
  return n > 0 ? std::string(path.data(), static_cast<std::size_t>(n)) : std::string();
}

bool ReadVersionBlock(const std::string& programFile, std::string& block) {
  block.clear();
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(programFile.c_str(), "rb"));
  if (!file) return false;
  Elf64_Ehdr header{};
  if (!ReadAt(file.get(), 0, &header, sizeof header) || std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 ||
      header.e_ident[EI_CLASS] != ELFCLASS64 || header.e_ident[EI_DATA] != ELFDATA2LSB ||
      header.e_shentsize != sizeof(Elf64_Shdr) || header.e_shnum == 0 || header.e_shstrndx >= header.e_shnum)
    return false;
  std::vector<Elf64_Shdr> sections(header.e_shnum);
  if (!ReadAt(file.get(), header.e_shoff, sections.data(), sections.size() * sizeof(Elf64_Shdr))) return false;
  const Elf64_Shdr& names = sections[header.e_shstrndx];
  if (names.sh_size > MaxBlock * 16) return false;
  std::vector<char> nameTable(names.sh_size + 1, '\0');
  if (!ReadAt(file.get(), names.sh_offset, nameTable.data(), names.sh_size)) return false;
  for (const Elf64_Shdr& section : sections) {
    if (section.sh_name >= names.sh_size || std::strcmp(&nameTable[section.sh_name], SectionName) != 0) continue;
    if (section.sh_type == SHT_NOBITS || section.sh_size == 0 || section.sh_size > MaxBlock) return false;
    std::string bytes(section.sh_size, '\0');
    if (!ReadAt(file.get(), section.sh_offset, bytes.data(), bytes.size())) return false;
    block.assign(bytes.c_str());  // up to the first zero byte
    return !block.empty();
  }
  return false;
}

bool QueryVersionValue(const std::string& block, const std::string& path, std::string& value) {
  value.clear();
  std::size_t start = 0;
  while (start < block.size()) {
    std::size_t end = block.find('\n', start);
    if (end == std::string::npos) end = block.size();
    const std::size_t equals = block.find('=', start);
    if (equals != std::string::npos && equals < end && block.compare(start, equals - start, path) == 0 &&
        equals - start == path.size()) {
      value = block.substr(equals + 1, end - equals - 1);
      return true;
    }
    start = end + 1;
  }
  return false;
}

bool QueryVersionTranslation(const std::string& block, std::uint16_t& language, std::uint16_t& codePage) {
  std::string value;
  if (!QueryVersionValue(block, "\\VarFileInfo\\Translation", value) || value.size() < 8) return false;
  // Parsed from a named copy: `end` points into it afterwards.
  const std::string digits = value.substr(0, 8);
  char* end = nullptr;
  const unsigned long pair = std::strtoul(digits.c_str(), &end, 16);
  if (!end || *end != '\0') return false;
  language = static_cast<std::uint16_t>(pair >> 16);
  codePage = static_cast<std::uint16_t>(pair & 0xFFFF);
  return true;
}
