// The ranking-entry dialog: a name for the score that has just entered the ranking.
#pragma once

#include <string>
#include <string_view>

#include "platform/dialog.h"

extern const DialogTemplate DLG_RANKINGENTRY;
INT_PTR RankingEntryProc(HWND dialog, std::uint32_t message, WPARAM wParam, LPARAM lParam);

// What a typed name becomes: the CP932 bytes to store, or why it is refused.
enum class NameCheck { Accepted, TooLong, NotStorable };
NameCheck CheckRankingName(std::string_view typed, std::string& stored);
