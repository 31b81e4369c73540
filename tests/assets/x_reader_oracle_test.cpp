// Our .x reader against Assimp: the default models in text, binary, 64-bit and compressed form.
#include "asset_readers.h"

#include <gtest/gtest.h>

#include <assimp/cimport.h>
#include <assimp/material.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <zlib.h>

#include <cmath>
#include <cstring>

#include "platform/render/x_file.h"

namespace {

// What the game draws: per subset its material and the corners of its triangles.
struct Drawn {
    bool Ok = false;
    std::vector<Material> Materials;
    std::vector<std::string> Textures;
    std::vector<std::vector<XVertex>> Subsets;
};

Drawn Ours(const std::string& bytes)
{
    Drawn d;
    XMeshData m;
    d.Ok = ReadXFile(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), m);
    for (std::size_t s = 0; s < m.Subsets.size(); ++s) {
        d.Materials.push_back(m.Materials[s].Colours);
        d.Textures.push_back(m.Materials[s].TextureFilename);
        d.Subsets.emplace_back();
        for (std::uint32_t i = 0; i < m.Subsets[s].second; ++i)
            d.Subsets.back().push_back(m.Vertices[m.Indices[m.Subsets[s].first + i]]);
    }
    return d;
}

// The game's former loader: these flags, then triangles gathered by material.
Drawn Oracle(const std::string& bytes)
{
    Drawn d;
    const unsigned flags = aiProcess_ConvertToLeftHanded | aiProcess_Triangulate | aiProcess_PreTransformVertices |
                           aiProcess_SortByPType;
    const aiScene* scene = aiImportFileFromMemory(bytes.data(), unsigned(bytes.size()), flags, "x");
    if (!scene) return d;
    d.Ok = true;
    for (unsigned i = 0; i < scene->mNumMaterials; ++i) {
        const aiMaterial* am = scene->mMaterials[i];
        aiColor4D c;
        Material m;
        if (aiGetMaterialColor(am, AI_MATKEY_COLOR_DIFFUSE, &c) == AI_SUCCESS) m.Diffuse = {c.r, c.g, c.b, c.a};
        if (aiGetMaterialColor(am, AI_MATKEY_COLOR_SPECULAR, &c) == AI_SUCCESS) m.Specular = {c.r, c.g, c.b, 0};
        if (aiGetMaterialColor(am, AI_MATKEY_COLOR_EMISSIVE, &c) == AI_SUCCESS) m.Emissive = {c.r, c.g, c.b, 0};
        aiGetMaterialFloat(am, AI_MATKEY_SHININESS, &m.Power);
        d.Materials.push_back(m);
        aiString name;
        d.Textures.push_back(aiGetMaterialTexture(am, aiTextureType_DIFFUSE, 0, &name) == AI_SUCCESS ? name.C_Str() : "");
        d.Subsets.emplace_back();
        for (unsigned k = 0; k < scene->mNumMeshes; ++k) {
            const aiMesh* part = scene->mMeshes[k];
            if (part->mMaterialIndex != i || !(part->mPrimitiveTypes & aiPrimitiveType_TRIANGLE)) continue;
            for (unsigned f = 0; f < part->mNumFaces; ++f) {
                if (part->mFaces[f].mNumIndices != 3) continue;
                for (unsigned j = 0; j < 3; ++j) {
                    const unsigned v = part->mFaces[f].mIndices[j];
                    XVertex x{part->mVertices[v].x, part->mVertices[v].y, part->mVertices[v].z, 0, 0, 0, 0, 0};
                    if (part->mNormals) x.NX = part->mNormals[v].x, x.NY = part->mNormals[v].y, x.NZ = part->mNormals[v].z;
                    if (part->mTextureCoords[0]) x.U = part->mTextureCoords[0][v].x, x.V = part->mTextureCoords[0][v].y;
                    d.Subsets.back().push_back(x);
                }
            }
        }
    }
    aiReleaseImport(scene);
    return d;
}

bool Near(float a, float b) { return std::fabs(a - b) <= 1e-5f * std::max(1.0f, std::fabs(a)); }

bool SameCorner(const XVertex& a, const XVertex& b)
{
    return Near(a.X, b.X) && Near(a.Y, b.Y) && Near(a.Z, b.Z) && Near(a.NX, b.NX) && Near(a.NY, b.NY) &&
           Near(a.NZ, b.NZ) && Near(a.U, b.U) && Near(a.V, b.V);
}

// Triangles in the same order, each with the same corners turning the same way (any first corner).
void ExpectSame(const Drawn& ours, const Drawn& oracle, const std::string& what)
{
    ASSERT_TRUE(ours.Ok) << what;
    ASSERT_TRUE(oracle.Ok) << what;
    ASSERT_EQ(ours.Subsets.size(), oracle.Subsets.size()) << what;
    for (std::size_t s = 0; s < ours.Subsets.size(); ++s) {
        const Material &a = ours.Materials[s], &b = oracle.Materials[s];
        const float av[] = {a.Diffuse.R, a.Diffuse.G, a.Diffuse.B, a.Diffuse.A, a.Specular.R, a.Specular.G,
                            a.Specular.B, a.Emissive.R, a.Emissive.G, a.Emissive.B, a.Power};
        const float bv[] = {b.Diffuse.R, b.Diffuse.G, b.Diffuse.B, b.Diffuse.A, b.Specular.R, b.Specular.G,
                            b.Specular.B, b.Emissive.R, b.Emissive.G, b.Emissive.B, b.Power};
        for (int i = 0; i < 11; ++i) EXPECT_TRUE(Near(av[i], bv[i])) << what << " material " << s << " value " << i;
        EXPECT_EQ(ours.Textures[s], oracle.Textures[s]) << what << " material " << s;
        ASSERT_EQ(ours.Subsets[s].size(), oracle.Subsets[s].size()) << what << " subset " << s;
        for (std::size_t t = 0; t < ours.Subsets[s].size(); t += 3) {
            const XVertex* x = &ours.Subsets[s][t];
            const XVertex* y = &oracle.Subsets[s][t];
            bool same = false;
            for (int r = 0; r < 3 && !same; ++r)
                same = SameCorner(x[0], y[r]) && SameCorner(x[1], y[(r + 1) % 3]) && SameCorner(x[2], y[(r + 2) % 3]);
            auto show = [](const XVertex* v) {
                std::string o;
                for (int i = 0; i < 3; ++i)
                    o += "(" + std::to_string(v[i].X) + " " + std::to_string(v[i].Y) + " " + std::to_string(v[i].Z) + " n " +
                         std::to_string(v[i].NX) + " " + std::to_string(v[i].NY) + " " + std::to_string(v[i].NZ) + " uv " +
                         std::to_string(v[i].U) + " " + std::to_string(v[i].V) + ") ";
                return o;
            };
            ASSERT_TRUE(same) << what << " subset " << s << " triangle " << t / 3 << "\n ours   " << show(x)
                              << "\n oracle " << show(y);
        }
    }
}

void Put(std::string& s, std::uint32_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i) s += char((v >> (8 * i)) & 0xFF);
}

// The same file in binary: words become names, runs of integers and of decimals become lists.
std::string ToBinary(const std::string& text, bool doubles)
{
    std::string out = text.substr(0, 8) + "bin " + (doubles ? "0064" : "0032");
    std::vector<std::string> run;
    bool decimals = false;
    auto flush = [&] {
        if (run.empty()) return;
        Put(out, decimals ? 7 : 6, 2);
        Put(out, std::uint32_t(run.size()), 4);
        for (const std::string& n : run) {
            if (!decimals) Put(out, std::uint32_t(std::stoul(n)), 4);
            else if (!doubles) {
                const float f = std::stof(n);
                std::uint32_t bits;
                std::memcpy(&bits, &f, 4);
                Put(out, bits, 4);
            } else {
                const double f = std::stod(n);
                std::uint64_t bits;
                std::memcpy(&bits, &f, 8);
                Put(out, std::uint32_t(bits), 4);
                Put(out, std::uint32_t(bits >> 32), 4);
            }
        }
        run.clear();
    };
    for (std::size_t i = 16; i < text.size();) {
        const char c = text[i];
        if (std::isspace(static_cast<unsigned char>(c)) || c == ';' || c == ',') {
            ++i;
        } else if (c == '{' || c == '}') {
            flush();
            Put(out, c == '{' ? 10 : 11, 2);
            ++i;
        } else if (c == '"') {
            flush();
            const std::size_t end = text.find('"', i + 1);
            Put(out, 2, 2);
            Put(out, std::uint32_t(end - i - 1), 4);
            out += text.substr(i + 1, end - i - 1);
            Put(out, 20, 2);
            i = end + 1;
        } else {
            std::size_t end = i;
            while (end < text.size() && !std::isspace(static_cast<unsigned char>(text[end])) &&
                   !std::strchr(";,{}\"", text[end]))
                ++end;
            const std::string word = text.substr(i, end - i);
            i = end;
            const bool number = std::isdigit(static_cast<unsigned char>(word[0])) || word[0] == '-';
            const bool decimal = word.find('.') != std::string::npos;
            if (number) {
                if (!run.empty() && decimal != decimals) flush();
                decimals = decimal;
                run.push_back(word);
                continue;
            }
            flush();
            Put(out, 1, 2);
            Put(out, std::uint32_t(word.size()), 4);
            out += word;
        }
    }
    flush();
    return out;
}

// The compressed container: the unpacked size, then blocks of at most 32 KiB in raw deflate.
std::string Compress(const std::string& x)
{
    std::string out = x.substr(0, 8) + (x.compare(8, 3, "bin") == 0 ? "bzip" : "tzip") + x.substr(12, 4);
    Put(out, std::uint32_t(x.size()), 4);
    for (std::size_t at = 16; at < x.size(); at += 32768) {
        const std::string chunk = x.substr(at, 32768);
        std::string packed(compressBound(uLong(chunk.size())) + 64, '\0');
        z_stream z{};
        deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(chunk.data()));
        z.avail_in = uInt(chunk.size());
        z.next_out = reinterpret_cast<Bytef*>(packed.data());
        z.avail_out = uInt(packed.size());
        deflate(&z, Z_FINISH);
        packed.resize(z.total_out);
        deflateEnd(&z);
        Put(out, std::uint32_t(chunk.size()), 2);
        Put(out, std::uint32_t(packed.size() + 2), 2);
        out += "CK" + packed;
    }
    return out;
}

std::string Text(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

} // namespace

class XReaderOracle : public PackInGameDir {};

TEST_F(XReaderOracle, EveryDefaultModelInEveryEncodingGivesWhatAssimpGives)
{
    for (const char* f : {"Machinegun.x", "Msg.x", "Handgun.x", "Hand.x", "SkyDoom.x", "Ball.x", "Tree.x"}) {
        const std::string text = Text(ReadBytes(GameDir() + "/File/XFile/" + f));
        ASSERT_FALSE(text.empty()) << f;
        const std::string binary = ToBinary(text, false);
        const std::pair<const char*, std::string> forms[] = {
            {"text", text}, {"binary", binary}, {"binary 64", ToBinary(text, true)},
            {"text zip", Compress(text)}, {"binary zip", Compress(binary)}};
        for (const auto& [form, bytes] : forms) ExpectSame(Ours(bytes), Oracle(bytes), std::string(f) + " " + form);
    }
}

// Cube files of our own with inline templates and four-corner faces: the binary ones end their
// strings with a 32-bit separator as the format has it, which Assimp misreads, so they are
// held against Assimp's reading of the same cube in text.
TEST(XReaderOracleFiles, CubesInBinaryAndCompressedFormGiveWhatAssimpGivesForTheirText)
{
    const std::string folder = std::string(KORVID_TEST_SOURCE_DIR) + "/tests/fuzz/corpus/model/";
    const Drawn oracle = Oracle(Text(ReadBytes(folder + "cube_text.x")));
    ASSERT_EQ(oracle.Subsets.size(), 1u);
    EXPECT_EQ(oracle.Subsets[0].size(), 36u);
    for (const char* f : {"cube_text.x", "cube_binary.x", "cube_compressed.x"})
        ExpectSame(Ours(Text(ReadBytes(folder + f))), oracle, f);
}

TEST(XReaderOracleFiles, NestedFramesAndATurnedOverFrameGiveWhatAssimpGives)
{
    const char* material = " MeshMaterialList { 1; 1; 0;; Material { 0.8;0.4;0.2;1.0;; 5.0; 0.1;0.2;0.3;; 0.0;0.0;0.5;; } }\n";
    const std::string tri = std::string(" 3; 0.0;0.0;0.0;, 1.0;0.0;0.0;, 0.0;1.0;0.0;;\n 1; 3;0,1,2;;\n") +
                            " MeshNormals { 1; 0.0;0.0;-1.0;; 1; 3;0,0,0;; }\n" +
                            " MeshTextureCoords { 3; 0.0;0.0;, 1.0;0.0;, 0.0;1.0;; }\n" + material;
    const std::string x = "xof 0303txt 0032\n"
                          "Frame Outer {\n FrameTransformMatrix { 2.0,0.0,0.0,0.0, 0.0,2.0,0.0,0.0, 0.0,0.0,2.0,0.0, 10.0,0.0,0.0,1.0;; }\n"
                          " Mesh OuterTri {\n" + tri + " }\n"
                          " Frame Inner {\n  FrameTransformMatrix { 0.0,1.0,0.0,0.0, -1.0,0.0,0.0,0.0, 0.0,0.0,1.0,0.0, 0.0,5.0,0.0,1.0;; }\n"
                          "  Mesh InnerTri {\n" + tri + "  }\n }\n}\n"
                          "Frame Mirror {\n FrameTransformMatrix { -1.0,0.0,0.0,0.0, 0.0,3.0,0.0,0.0, 0.0,0.0,1.0,0.0, 0.0,0.0,7.0,1.0;; }\n"
                          " Mesh Turned {\n" + tri + " }\n}\n";
    ExpectSame(Ours(x), Oracle(x), "frames");
    ExpectSame(Ours(Compress(ToBinary(x, true))), Oracle(Compress(ToBinary(x, true))), "frames, binary 64 zip");
}
