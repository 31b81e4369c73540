// Conversion of the program's UTF-8 text into the CP932 bytes that data files store.
#pragma once

#include <string>
#include <string_view>

// False (and out left empty) if the text has a character CP932 cannot hold.
bool Utf8ToCp932(std::string_view utf8, std::string& out);
