// The texture catalogue: loading the 54 slots in order with the loading line.
#include "graphics/texture_catalogue.h"

#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "app/app_globals.h"
#include "graphics/screen_pictures.h"
#include "graphics/text_renderer.h"
#include "persist/settings_record.h"
#include "platform/game_folder.h"
#include "platform/message_box.h"
#include "platform/render/texture.h"
#include "platform/translation.h"
#include "world/game_world.h"

const CatalogueEntry TextureCatalogue[TextureCount] = {
    {"File\\Bitmap\\Title.dds", LoadPlain},
    {"File\\Bitmap\\TitleBack.dds", LoadPlain},
    {"File\\Bitmap\\GameOver.bmp", LoadPlain},
    {"File\\Bitmap\\Record.bmp", LoadPlain},
    {"File\\Bitmap\\Setting.bmp", LoadPlain},
    {"File\\Bitmap\\Credit.bmp", LoadPlain},
    {"File\\Bitmap\\Fps.dds", LoadKeyed},
    {"File\\Bitmap\\tama.bmp", LoadKeyed},
    {"File\\Bitmap\\Haikei_Sora.bmp", LoadMipmapped},
    {"File\\Bitmap\\Haikei_Yuka.bmp", LoadMipmapped},
    {"File\\Bitmap\\Haikei_Kabe.bmp", LoadMipmapped},
    {"File\\Bitmap\\Window.dds", LoadPlain},
    {"File\\Bitmap\\TamaKazu.bmp", LoadKeyed},
    {"File\\Bitmap\\HP.bmp", LoadKeyed},
    {"File\\Bitmap\\NoBitmap.bmp", LoadPlain},
    {"File\\Bitmap\\NoBitmap.bmp", LoadKeyed},
    {"File\\Bitmap\\Dankon.bmp", LoadPlain},
    {"File\\Bitmap\\Scope.bmp", LoadKeyed},
    {"File\\Bitmap\\Cursor01.dds", LoadPlain},
    {"File\\Bitmap\\Cursor02.dds", LoadPlain},
    {"File\\Bitmap\\Cursor03.dds", LoadPlain},
    {"File\\Bitmap\\Cursor04.dds", LoadPlain},
    {"File\\Bitmap\\Cursor05.dds", LoadPlain},
    {"File\\Bitmap\\Cursor06.dds", LoadPlain},
    {"File\\Bitmap\\Operation01.bmp", LoadPlain},
    {"File\\Bitmap\\Operation02.bmp", LoadPlain},
    {"File\\Bitmap\\Operation03.bmp", LoadPlain},
    {"File\\Bitmap\\Noise01.bmp", LoadPlain},
    {"File\\Bitmap\\Noise02.bmp", LoadPlain},
    {"File\\Bitmap\\Noise03.bmp", LoadPlain},
    {"File\\Bitmap\\Menu0.bmp", LoadPlain},
    {"File\\Bitmap\\Menu1a.bmp", LoadPlain},
    {"File\\Bitmap\\Menu1b.bmp", LoadPlain},
    {"File\\Bitmap\\Menu2a.bmp", LoadPlain},
    {"File\\Bitmap\\Menu2b.bmp", LoadPlain},
    {"File\\Bitmap\\Menu3a.bmp", LoadPlain},
    {"File\\Bitmap\\Menu3b.bmp", LoadPlain},
    {"File\\Bitmap\\Menu4a.bmp", LoadPlain},
    {"File\\Bitmap\\Menu4b.bmp", LoadPlain},
    {"File\\Bitmap\\Menu5a.bmp", LoadPlain},
    {"File\\Bitmap\\Menu5b.bmp", LoadPlain},
    {"File\\Bitmap\\Menu6a.bmp", LoadPlain},
    {"File\\Bitmap\\Menu6b.bmp", LoadPlain},
    {"File\\Bitmap\\WeaponName01.dds", LoadPlain},
    {"File\\Bitmap\\WeaponName02.dds", LoadPlain},
    {"File\\Bitmap\\WeaponName03.dds", LoadPlain},
    {"File\\Bitmap\\Smoke\\Smoke01.bmp", LoadMipmappedKeyed},
    {"File\\Bitmap\\Smoke\\Smoke02.bmp", LoadMipmappedKeyed},
    {"File\\Bitmap\\Smoke\\Smoke03.bmp", LoadMipmappedKeyed},
    {"File\\Bitmap\\Smoke\\Smoke04.bmp", LoadMipmappedKeyed},
    {"File\\Bitmap\\Smoke\\Smoke05.bmp", LoadMipmappedKeyed},
    {"File\\Bitmap\\Smoke\\Smoke06.bmp", LoadMipmappedKeyed},
    {"File\\Bitmap\\Smoke\\Smoke07.bmp", LoadMipmappedKeyed},
    {"File\\Bitmap\\Smoke\\Smoke08.bmp", LoadMipmappedKeyed},
};

TextureLoadOptions CatalogueLoadOptions(int slot, int mipLevelCount) {
  const TextureLoadSet set = TextureCatalogue[slot].Set;
  TextureLoadOptions options;
  if (set == LoadMipmapped || set == LoadMipmappedKeyed) {
    options.MipLevels = static_cast<std::uint32_t>(mipLevelCount);
  } else {
    // The full chain where a mip filter may pick a smaller level: the shot's picture, on the
    // bullets and the player's body in the scene. Every other plain or keyed picture is drawn
    // on the screen's plane between frame brackets, which turn mip filtering off, so only its
    // first level is ever read; the rest of a chain would be some 12 MB of texture memory that
    // no frame shows.
    options.MipLevels = slot == TexShot ? 0 : 1;
  }
  if (set == LoadKeyed || set == LoadMipmappedKeyed) options.ColourKey = WhiteColourKey;
  return options;
}

std::string SlotPicturePath(int slot) { return LanguagePicturePath(TextureCatalogue[slot].Path, LanguageFolder()); }

void ReportMissingFile(const std::string& path) {
  // The whole path always shows, however long it is.
  const std::string text =
      std::string(Translate("以下のファイルが見つかりません。\n")) + path + Translate("\nロードに失敗しました。");
  MessageBox(MainWindow, text.c_str(), "ファイルロードエラー", MB_OK);
}

namespace {

struct PreparedSlot {
  PreparedPicture Picture;
  bool Ok = false;
};

PreparedSlot PrepareSlot(int slot, int mipLevelCount) {
  PreparedSlot prepared;
  prepared.Ok = PreparePicture(SlotPicturePath(slot), CatalogueLoadOptions(slot, mipLevelCount),
                               prepared.Picture);
  return prepared;
}

// Every slot's picture read and prepared in order on one helper thread; the main thread takes
// each as its turn comes. Only the helper writes a slot, and only before it counts it ready.
class Preparation {
 public:
  ~Preparation() { End(); }

  void Begin(int mipLevelCount) {
    End();
    Slots.assign(TextureCount, PreparedSlot{});
    Ready = 0;
    StopAsked = false;
    MipLevelCount = mipLevelCount;
    Worker = std::thread([this] { Run(); });
  }

  bool RunningFor(int mipLevelCount) const { return Worker.joinable() && MipLevelCount == mipLevelCount; }

  PreparedSlot Take(int slot) {
    std::unique_lock<std::mutex> lock(Lock);
    Changed.wait(lock, [&] { return Ready > slot; });
    return std::move(Slots[slot]);
  }

  void End() {
    {
      std::lock_guard<std::mutex> lock(Lock);
      StopAsked = true;
    }
    if (Worker.joinable()) Worker.join();
    Slots.clear();
    Slots.shrink_to_fit();
  }

 private:
  void Run() {
    for (int slot = 0; slot < TextureCount; ++slot) {
      {
        std::lock_guard<std::mutex> lock(Lock);
        if (StopAsked) return;
      }
      PreparedSlot prepared = PrepareSlot(slot, MipLevelCount);
      {
        std::lock_guard<std::mutex> lock(Lock);
        Slots[slot] = std::move(prepared);
        Ready = slot + 1;
      }
      Changed.notify_all();
    }
  }

  std::thread Worker;
  std::mutex Lock;
  std::condition_variable Changed;
  std::vector<PreparedSlot> Slots;
  int Ready = 0;
  bool StopAsked = false;
  int MipLevelCount = 0;
};

Preparation Ahead;

}  // namespace

void BeginTexturePreparation(int mipLevelCount) { Ahead.Begin(mipLevelCount); }

void EndTexturePreparation() { Ahead.End(); }

bool GameWorld::LoadTextures() {
  // The pictures are read and prepared on a helper thread, usually begun while the window was
  // still opening; here each is uploaded in turn under the loading line, so the order, the
  // progress and the failure stay as they were. The helper is joined on every way out.
  if (!Ahead.RunningFor(Settings.MipLevelCount)) Ahead.Begin(Settings.MipLevelCount);
  ScreenPicturesMissing = 0;
  for (int slot = 0; slot < TextureCount; ++slot) {
    LoadPercent += 25.0f / 27.0f;
    Text.ShowLoadingLine("Now Loadind... %d％　テクスチャのロード中", static_cast<int>(LoadPercent));
    const PreparedSlot prepared = Ahead.Take(slot);
    // Every picture is read, but a screen picture other than the title's is uploaded only
    // when its screen comes up.
    if (!prepared.Ok ||
        (UploadedAtStartUp(slot) && !CreateTextureFromPrepared(Device, prepared.Picture, &Textures[slot]))) {
      Ahead.End();
      ReportMissingFile(SlotPicturePath(slot));
      return false;
    }
  }
  Ahead.End();
  return true;
}
