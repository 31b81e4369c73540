// The version information written into the program file at build time, read back from it.
#pragma once

#include <cstdint>
#include <string>

// The running program's own file.
std::string ProgramFilePath();

// Reads the version block from a program file; false when the file cannot be read or
// carries none.
bool ReadVersionBlock(const std::string& programFile, std::string& block);

// The first language / code-page pair the block names ("\VarFileInfo\Translation").
bool QueryVersionTranslation(const std::string& block, std::uint16_t& language, std::uint16_t& codePage);

// A value of the block by its path, e.g. "\StringFileInfo\041104B0\ProductName" (UTF-8).
bool QueryVersionValue(const std::string& block, const std::string& path, std::string& value);
