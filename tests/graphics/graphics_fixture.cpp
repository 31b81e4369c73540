// Shared set-up for the graphics tests: one window and device, picture and model writers.
#include "graphics_fixture.h"

#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include <zlib.h>

#include "app/app_globals.h"
#include "graphics/mesh_models.h"
#include "graphics/texture_catalogue.h"
#include "persist/settings_record.h"
#include "platform/render/render_device.h"
#include "world/game_world.h"

namespace {

void Put16(std::string& s, std::uint32_t v) {
  s.push_back(static_cast<char>(v & 0xFF));
  s.push_back(static_cast<char>((v >> 8) & 0xFF));
}
void Put32(std::string& s, std::uint32_t v) {
  Put16(s, v & 0xFFFF);
  Put16(s, v >> 16);
}

std::string BmpHeader(int width, int height, int bits, int paletteEntries, std::size_t pixelBytes) {
  std::string s = "BM";
  const std::uint32_t offset = 14 + 40 + paletteEntries * 4;
  Put32(s, static_cast<std::uint32_t>(offset + pixelBytes));
  Put32(s, 0);
  Put32(s, offset);
  Put32(s, 40);
  Put32(s, static_cast<std::uint32_t>(width));
  Put32(s, static_cast<std::uint32_t>(height));
  Put16(s, 1);
  Put16(s, static_cast<std::uint32_t>(bits));
  Put32(s, 0);
  Put32(s, static_cast<std::uint32_t>(pixelBytes));
  Put32(s, 2835);
  Put32(s, 2835);
  Put32(s, static_cast<std::uint32_t>(paletteEntries));
  Put32(s, 0);
  return s;
}

std::string DdsHeader(int width, int height, int mipCount, std::uint32_t pfFlags, std::uint32_t fourCC,
                      std::uint32_t bits, std::uint32_t r, std::uint32_t g, std::uint32_t b, std::uint32_t a) {
  std::string s = "DDS ";
  Put32(s, 124);
  Put32(s, 0x1 | 0x2 | 0x4 | 0x1000 | (mipCount > 1 ? 0x20000 : 0));
  Put32(s, static_cast<std::uint32_t>(height));
  Put32(s, static_cast<std::uint32_t>(width));
  Put32(s, 0);
  Put32(s, 0);
  Put32(s, static_cast<std::uint32_t>(mipCount));
  for (int i = 0; i < 11; ++i) Put32(s, 0);
  Put32(s, 32);
  Put32(s, pfFlags);
  Put32(s, fourCC);
  Put32(s, bits);
  Put32(s, r);
  Put32(s, g);
  Put32(s, b);
  Put32(s, a);
  Put32(s, 0x1000);
  for (int i = 0; i < 4; ++i) Put32(s, 0);
  return s;
}

int RemoveEntry(const char* path, const struct stat*, int, struct FTW*) { return std::remove(path); }

void MakeFolders(const std::string& path) {
  std::string partial;
  std::stringstream parts(path);
  std::string part;
  if (!path.empty() && path[0] == '/') partial = "/";
  while (std::getline(parts, part, '/')) {
    if (part.empty()) continue;
    partial += part + "/";
    mkdir(partial.c_str(), 0755);
  }
}

std::string Slashed(const std::string& root, const char* gamePath) {
  std::string p = gamePath;
  for (char& c : p)
    if (c == '\\') c = '/';
  return root + "/" + p;
}

}  // namespace

bool WriteFile(const std::string& path, const std::string& bytes) {
  const std::size_t slash = path.rfind('/');
  if (slash != std::string::npos) MakeFolders(path.substr(0, slash));
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

bool WriteBmp24(const std::string& path, int width, int height, const std::vector<std::uint32_t>& argb) {
  const int stride = (width * 3 + 3) & ~3;
  std::string s = BmpHeader(width, height, 24, 0, static_cast<std::size_t>(stride) * height);
  for (int y = height - 1; y >= 0; --y) {
    std::string row;
    for (int x = 0; x < width; ++x) {
      const std::uint32_t p = argb[static_cast<std::size_t>(y) * width + x];
      row.push_back(static_cast<char>(p & 0xFF));
      row.push_back(static_cast<char>((p >> 8) & 0xFF));
      row.push_back(static_cast<char>((p >> 16) & 0xFF));
    }
    row.resize(stride, '\0');
    s += row;
  }
  return WriteFile(path, s);
}

bool WriteBmp8(const std::string& path, int width, int height, const std::vector<std::uint8_t>& indices,
               const std::vector<std::uint32_t>& palette) {
  const int stride = (width + 3) & ~3;
  std::string s = BmpHeader(width, height, 8, static_cast<int>(palette.size()),
                            static_cast<std::size_t>(stride) * height);
  for (std::uint32_t c : palette) Put32(s, c & 0xFFFFFF);
  for (int y = height - 1; y >= 0; --y) {
    std::string row;
    for (int x = 0; x < width; ++x) row.push_back(static_cast<char>(indices[static_cast<std::size_t>(y) * width + x]));
    row.resize(stride, '\0');
    s += row;
  }
  return WriteFile(path, s);
}

bool WriteDds32(const std::string& path, int width, int height, const std::vector<std::uint32_t>& levelColours) {
  std::string s = DdsHeader(width, height, static_cast<int>(levelColours.size()), 0x41, 0, 32, 0xFF0000, 0xFF00,
                            0xFF, 0xFF000000);
  int w = width, h = height;
  for (std::uint32_t colour : levelColours) {
    for (int i = 0; i < w * h; ++i) Put32(s, colour);
    w = w > 1 ? w / 2 : 1;
    h = h > 1 ? h / 2 : 1;
  }
  return WriteFile(path, s);
}

bool WriteDds565(const std::string& path, int width, int height, std::uint16_t colour) {
  std::string s = DdsHeader(width, height, 1, 0x40, 0, 16, 0xF800, 0x07E0, 0x001F, 0);
  for (int i = 0; i < width * height; ++i) Put16(s, colour);
  return WriteFile(path, s);
}

bool WriteDdsDxt(const std::string& path, int width, int height, const char* fourCC,
                 const std::vector<std::uint8_t>& block) {
  std::uint32_t code;
  std::memcpy(&code, fourCC, 4);
  std::string s = DdsHeader(width, height, 1, 0x4, code, 0, 0, 0, 0, 0);
  const int blocks = ((width + 3) / 4) * ((height + 3) / 4);
  for (int i = 0; i < blocks; ++i) s.append(reinterpret_cast<const char*>(block.data()), block.size());
  return WriteFile(path, s);
}

std::string QuadXFile(const std::vector<std::vector<float>>& diffuse, float power, const std::vector<float>& specular,
                      const std::vector<float>& emissive, const char* textureName) {
  std::ostringstream x;
  x << "xof 0302txt 0064\n";
  for (std::size_t m = 0; m < diffuse.size(); ++m) {
    x << "Material Mat" << m << " {\n " << diffuse[m][0] << ";" << diffuse[m][1] << ";" << diffuse[m][2] << ";"
      << diffuse[m][3] << ";;\n " << power << ";\n " << specular[0] << ";" << specular[1] << ";" << specular[2]
      << ";;\n " << emissive[0] << ";" << emissive[1] << ";" << emissive[2] << ";;\n";
    if (textureName) x << " TextureFilename { \"" << textureName << "\"; }\n";
    x << "}\n";
  }
  x << "Mesh Quad {\n 4;\n -1.0;-1.0;0.0;,\n 1.0;-1.0;0.0;,\n 1.0;1.0;0.0;,\n -1.0;1.0;0.0;;\n"
    << " 2;\n 3;0,3,2;,\n 3;0,2,1;;\n";
  x << " MeshNormals {\n  4;\n  0.0;0.0;-1.0;,\n  0.0;0.0;-1.0;,\n  0.0;0.0;-1.0;,\n  0.0;0.0;-1.0;;\n"
    << "  2;\n  3;0,3,2;,\n  3;0,2,1;;\n }\n";
  x << " MeshTextureCoords {\n  4;\n  0.0;1.0;,\n  1.0;1.0;,\n  1.0;0.0;,\n  0.0;0.0;;\n }\n";
  x << " MeshMaterialList {\n  " << diffuse.size() << ";\n  2;\n  0,\n  " << (diffuse.size() > 1 ? 1 : 0) << ";\n";
  for (std::size_t m = 0; m < diffuse.size(); ++m) x << "  {Mat" << m << "}\n";
  x << " }\n}\n";
  return x.str();
}

namespace {

void Token(std::string& s, std::uint32_t token) { Put16(s, token); }
void Name(std::string& s, const std::string& name) {
  Token(s, 1);
  Put32(s, static_cast<std::uint32_t>(name.size()));
  s += name;
}
void Ints(std::string& s, const std::vector<std::uint32_t>& values) {
  Token(s, 6);
  Put32(s, static_cast<std::uint32_t>(values.size()));
  for (std::uint32_t v : values) Put32(s, v);
}
void Floats(std::string& s, const std::vector<float>& values) {
  Token(s, 7);
  Put32(s, static_cast<std::uint32_t>(values.size()));
  for (float f : values) {
    std::uint32_t bits;
    std::memcpy(&bits, &f, 4);
    Put32(s, bits);
  }
}

}  // namespace

std::string QuadXFileBinary(const std::vector<std::vector<float>>& diffuse, float power,
                            const std::vector<float>& specular, const std::vector<float>& emissive) {
  std::string s = "xof 0303bin 0032";
  for (std::size_t m = 0; m < diffuse.size(); ++m) {
    Name(s, "Material");
    Name(s, "Mat" + std::to_string(m));
    Token(s, 10);
    Floats(s, {diffuse[m][0], diffuse[m][1], diffuse[m][2], diffuse[m][3], power, specular[0], specular[1],
               specular[2], emissive[0], emissive[1], emissive[2]});
    Token(s, 11);
  }
  const std::vector<std::uint32_t> faces = {2, 3, 0, 3, 2, 3, 0, 2, 1};
  Name(s, "Mesh");
  Name(s, "Quad");
  Token(s, 10);
  Ints(s, {4});
  Floats(s, {-1, -1, 0, 1, -1, 0, 1, 1, 0, -1, 1, 0});
  Ints(s, faces);
  Name(s, "MeshNormals");
  Token(s, 10);
  Ints(s, {4});
  Floats(s, {0, 0, -1, 0, 0, -1, 0, 0, -1, 0, 0, -1});
  Ints(s, faces);
  Token(s, 11);
  Name(s, "MeshTextureCoords");
  Token(s, 10);
  Ints(s, {4});
  Floats(s, {0, 1, 1, 1, 1, 0, 0, 0});
  Token(s, 11);
  Name(s, "MeshMaterialList");
  Token(s, 10);
  Ints(s, {static_cast<std::uint32_t>(diffuse.size()), 2, 0, diffuse.size() > 1 ? 1u : 0u});
  for (std::size_t m = 0; m < diffuse.size(); ++m) {
    Token(s, 10);
    Name(s, "Mat" + std::to_string(m));
    Token(s, 11);
  }
  Token(s, 11);
  Token(s, 11);
  return s;
}

std::string CompressXFile(const std::string& xFile) {
  // Header with "tzip" in place of "txt " or "bin ", the body's size, then MSZIP blocks:
  // a 16-bit length, "CK" and raw deflate data of at most 32 KiB of the body each.
  std::string out = xFile.substr(0, 16);
  out.replace(8, 4, xFile.compare(8, 3, "bin") == 0 ? "bzip" : "tzip");
  const std::string body = xFile.substr(16);
  Put32(out, static_cast<std::uint32_t>(body.size() + 16));
  for (std::size_t at = 0; at < body.size(); at += 32768) {
    const std::string chunk = body.substr(at, 32768);
    z_stream z{};
    deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::string packed(chunk.size() + 1024, '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(chunk.data()));
    z.avail_in = static_cast<uInt>(chunk.size());
    z.next_out = reinterpret_cast<Bytef*>(packed.data());
    z.avail_out = static_cast<uInt>(packed.size());
    deflate(&z, Z_FINISH);
    packed.resize(z.total_out);
    deflateEnd(&z);
    Put16(out, static_cast<std::uint32_t>(chunk.size()));
    Put16(out, static_cast<std::uint32_t>(packed.size() + 2));
    out += "CK";
    out += packed;
  }
  return out;
}

TempFolder::TempFolder() {
  char pattern[] = "/tmp/korvid_graphics_XXXXXX";
  const char* made = mkdtemp(pattern);
  Path = made ? made : "/tmp";
}

TempFolder::~TempFolder() {
  if (Path != "/tmp") nftw(Path.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
}

void WriteMiniPack(const std::string& root) {
  for (int slot = 0; slot < TextureCount; ++slot) {
    const CatalogueEntry& entry = TextureCatalogue[slot];
    const std::string path = Slashed(root, entry.Path);
    const bool big = entry.Set == LoadMipmapped || entry.Set == LoadMipmappedKeyed;
    const int side = big ? 128 : 16;
    if (path.size() > 4 && path.substr(path.size() - 4) == ".dds") {
      WriteDds32(path, side, side, {0xFF336699});
    } else {
      // White with a red top-left corner: keyed pictures lose the white only.
      std::vector<std::uint32_t> pixels(static_cast<std::size_t>(side) * side, 0xFFFFFFFF);
      pixels[0] = 0xFFFF0000;
      WriteBmp24(path, side, side, pixels);
    }
  }
  for (int id = 0; id < ModelCount; ++id) {
    const ModelFiles& files = ModelCatalogue[id];
    WriteFile(Slashed(root, files.MeshPath),
              QuadXFile({{1, 1, 1, 1}, {0.5f, 0.5f, 0.5f, 1}}, 4, {1, 1, 1}, {0, 0, 0}, "Other.bmp"));
    if (files.PicturePath) {
      std::vector<std::uint32_t> pixels(64, 0xFFFFFFFF);
      pixels[0] = 0xFF00FF00;
      WriteBmp24(Slashed(root, files.PicturePath), 8, 8, pixels);
    }
  }
}

void EnsureDevice() {
  if (World.Device) return;
  static bool registered = RegisterWindowClass("Main Window", DefWindowProc);
  ASSERT_TRUE(registered);
  if (!MainWindow) MainWindow = CreateMainWindow("Main Window", "Korvid");
  ASSERT_NE(MainWindow, nullptr);
  Settings.ScreenWidth = 640;
  Settings.ScreenHeight = 480;
  Settings.MipLevelCount = 4;
  ASSERT_TRUE(World.InitDirect3D());
  ASSERT_NE(World.Device, nullptr);
}

Pixels ReadBack() {
  Pixels p;
  World.Device->ReadBackBuffer(p.Data, p.Width, p.Height);
  return p;
}

void MakeQuad(FanVertex out[4], float z, float halfWidth, float halfHeight, std::uint32_t colour) {
  out[0] = {-halfWidth, -halfHeight, z, colour, 0, 1};
  out[1] = {halfWidth, -halfHeight, z, colour, 1, 1};
  out[2] = {halfWidth, halfHeight, z, colour, 1, 0};
  out[3] = {-halfWidth, halfHeight, z, colour, 0, 0};
}
