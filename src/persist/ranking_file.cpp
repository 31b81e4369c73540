// The ranking table of GameWorld: defaults, check, and Ranking.dat.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/app_globals.h"
#include "persist/cp932_text.h"
#include "persist/masked_file.h"
#include "platform/message_box.h"
#include "world/game_world.h"

namespace {
constexpr const char* RankingFileName = "Ranking.dat";

constexpr const char* InvalidMessage =
    "スコアの読み込みエラー！\n設定を改変された可能性があります。\n設定を初期化しました。\n";

constexpr const char* UnsavedMessage =
    "Ranking.dat に書き込めませんでした。\n"
    "スコアはこの起動の間だけ記録され、保存されません。\n"
    "ファイルが読み取り専用でないか、ディスクに空きがあるかを確かめてください。\n";

struct DefaultNames {
  std::string Names[RankingLevels][RankingSlots - 1];
};

// The default names in CP932, converted once. They are fixed text; a C library that
// cannot convert them cannot store any ranking name either, so that is fatal.
const DefaultNames& DefaultRankingNames() {
  static const DefaultNames names = [] {
    static constexpr const char* Tags[RankingLevels] = {"[初]", "[通]", "[玄]"};
    static constexpr const char* Given[RankingSlots - 1] = {"一郎", "次郎", "三郎", "四郎", "五郎"};
    DefaultNames result;
    for (int level = 0; level < RankingLevels; ++level) {
      for (int slot = 0; slot < RankingSlots - 1; ++slot) {
        const std::string text = std::string(Tags[level]) + " 名無し " + Given[slot];
        if (!Utf8ToCp932(text, result.Names[level][slot])) {
          std::fprintf(stderr, "Korvid: no CP932 conversion available for ranking names\n");
          std::abort();
        }
      }
    }
    return result;
  }();
  return names;
}

// A score as the file stores it.
std::int32_t StoredScore(std::int32_t score) {
  if (score < 0) return 0;
  return score > RankingScoreMax ? RankingScoreMax : score;
}

void SetName(char (&name)[RankingNameBytes], const std::string& bytes) {
  std::memset(name, 0, sizeof name);
  std::memcpy(name, bytes.data(), bytes.size() < sizeof name - 1 ? bytes.size() : sizeof name - 1);
}
}  // namespace

void GameWorld::ResetRanking() {
  const DefaultNames& names = DefaultRankingNames();
  for (int level = 0; level < RankingLevels; ++level) {
    for (int slot = 0; slot < RankingSlots - 1; ++slot) {
      SetName(RankingNames[level][slot], names.Names[level][slot]);
      RankingScores[level][slot] = (RankingSlots - 1 - slot) * (RankingLevels - level);
    }
    SetName(RankingNames[level][RankingSlots - 1], "No Name");
    RankingScores[level][RankingSlots - 1] = 0;
    // Lengths as a load of the saved defaults would find them, so the table checks valid.
    for (int slot = 0; slot < RankingSlots; ++slot)
      RankingNameLengths[level][slot] = static_cast<std::int32_t>(std::strlen(RankingNames[level][slot]));
  }
  LastGameScore = 0;
}

bool GameWorld::ValidateRanking() const {
  for (int level = 0; level < RankingLevels; ++level) {
    for (int slot = 0; slot < RankingSlots; ++slot) {
      if (RankingScores[level][slot] < 0 || RankingScores[level][slot] > RankingScoreMax) return false;
      if (RankingNameLengths[level][slot] < 0 ||
          RankingNameLengths[level][slot] > RankingNameMaxLength)
        return false;
    }
  }
  return true;
}

bool GameWorld::SaveRanking() {
  const std::uint32_t key = DrawFileKey();
  std::string text = std::to_string(key ^ FileKeyMask) + "\r\n";
  for (int level = 0; level < RankingLevels; ++level) {
    for (int slot = 0; slot < RankingSlots; ++slot) {
      // A match can outscore the table's range; storing more would void the whole file.
      const std::int32_t score = StoredScore(RankingScores[level][slot]);
      const char* name = RankingNames[level][slot];
      const std::size_t length = strnlen(name, RankingNameBytes);
      AppendMaskedNumber(text, static_cast<std::uint32_t>(score), key);
      text += ',';
      AppendMaskedNumber(text, static_cast<std::uint32_t>(length), key);
      text += ',';
      text.append(name, length);
      text += "\r\n";
    }
  }
  const bool saved = ReplaceFile(RankingFileName, text);
  RankingSaveFailed = saved ? 0 : 1;
  return saved;
}

void GameWorld::LoadRanking() {
  if (GameFilesUntouched) {
    // A replay keeps its table in memory: the defaults from start-up, its own match after it.
    if (!ValidateRanking()) ResetRanking();
    return;
  }
  // After a failed save the file is stale: keep the scores of this run.
  bool readFile = false;
  if (!RankingSaveFailed) {
    std::string bytes;
    bool present = ReadWholeFile(RankingFileName, bytes);
    if (!present) {
      ResetRanking();
      if (SaveRanking()) present = ReadWholeFile(RankingFileName, bytes);
    }
    if (present) {
      MaskedReader reader{bytes};
      const std::uint32_t key = static_cast<std::uint32_t>(reader.ReadNumber()) ^ FileKeyMask;
      reader.Skip(2);
      bool complete = true;
      for (int level = 0; complete && level < RankingLevels; ++level) {
        for (int slot = 0; slot < RankingSlots; ++slot) {
          RankingScores[level][slot] =
              static_cast<std::int32_t>(static_cast<std::uint32_t>(reader.ReadNumber()) ^ key);
          reader.Skip(1);
          const std::int32_t length =
              static_cast<std::int32_t>(static_cast<std::uint32_t>(reader.ReadNumber()) ^ key);
          RankingNameLengths[level][slot] = length;
          reader.Skip(1);
          if (length < 0 || length > RankingNameMaxLength) {
            complete = false;
            break;
          }
          // Text up to the first zero byte, as the name buffer holds it.
          const std::string name = reader.ReadBytes(static_cast<std::size_t>(length));
          SetName(RankingNames[level][slot], name.substr(0, name.find('\0')));
          reader.Skip(2);
        }
      }
      CutFile(RankingFileName, reader.Position);
      readFile = true;
    }
  }
  if (!readFile) {
    // The table as the save would have stored it and a load read it back.
    for (int level = 0; level < RankingLevels; ++level) {
      for (int slot = 0; slot < RankingSlots; ++slot) {
        RankingScores[level][slot] = StoredScore(RankingScores[level][slot]);
        RankingNameLengths[level][slot] =
            static_cast<std::int32_t>(strnlen(RankingNames[level][slot], RankingNameBytes));
      }
    }
  }

  if (!ValidateRanking()) {
    ResetRanking();
    SaveRanking();
    MessageBox(MainWindow, InvalidMessage, "警告", MB_OK);
  }
  if (RankingSaveFailed && !RankingSaveFailureShown) {
    RankingSaveFailureShown = 1;
    MessageBox(MainWindow, UnsavedMessage, "警告", MB_OK);
  }
}
