// Conversion between the program's UTF-8 text and the CP932 bytes that data files store.
#pragma once

#include <string>
#include <string_view>

// False (and out left empty) if the text has a character CP932 cannot hold.
bool Utf8ToCp932(std::string_view utf8, std::string& out);

// The CP932 bytes of a stored name as UTF-8 for drawing; a byte sequence that is no CP932
// character (a damaged file) shows as '?', so the rest of the name stays readable.
std::string Cp932ToUtf8(std::string_view cp932);
