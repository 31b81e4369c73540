// The .x models load with Assimp and are sized and placed for the transforms the game uses.
#include "asset_readers.h"

#include <gtest/gtest.h>

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <cmath>

class AssetModels : public PackInGameDir {};

namespace {
struct Loaded {
    Assimp::Importer Importer;
    const aiScene* Scene = nullptr;
    std::vector<aiVector3D> Points;
};

void Load(Loaded& l, const std::string& name)
{
    l.Scene = l.Importer.ReadFile(GameDir() + "/File/XFile/" + name,
                                  aiProcess_Triangulate | aiProcess_ConvertToLeftHanded);
    if (!l.Scene) return;
    for (unsigned m = 0; m < l.Scene->mNumMeshes; ++m)
        for (unsigned v = 0; v < l.Scene->mMeshes[m]->mNumVertices; ++v) l.Points.push_back(l.Scene->mMeshes[m]->mVertices[v]);
}

const float Rad = 0.017453292f;

// v * RotY(180) * RotX(-3) * Scale * Translate(offset + (0, 0, 7)), the weapon at rest.
aiVector3D InHand(aiVector3D p, float scale, aiVector3D offset)
{
    aiVector3D q(-p.x, p.y, -p.z);
    float c = std::cos(-3 * Rad), s = std::sin(-3 * Rad);
    aiVector3D r(q.x, q.y * c - q.z * s, q.y * s + q.z * c);
    return r * scale + offset + aiVector3D(0, 0, 7);
}
} // namespace

TEST_F(AssetModels, EveryModelHasNormalsTextureCoordinatesAndMaterials)
{
    for (const char* f : {"Machinegun.x", "Msg.x", "Handgun.x", "Hand.x", "SkyDoom.x", "Ball.x", "Tree.x"}) {
        Loaded l;
        Load(l, f);
        ASSERT_NE(l.Scene, nullptr) << f << ": " << l.Importer.GetErrorString();
        ASSERT_GT(l.Scene->mNumMeshes, 0u) << f;
        EXPECT_GT(l.Scene->mNumMaterials, 0u) << f;
        for (unsigned m = 0; m < l.Scene->mNumMeshes; ++m) {
            EXPECT_TRUE(l.Scene->mMeshes[m]->HasNormals()) << f;
            EXPECT_TRUE(l.Scene->mMeshes[m]->HasTextureCoords(0)) << f;
        }
        std::string head(reinterpret_cast<const char*>(ReadBytes(GameDir() + "/File/XFile/" + f).data()), 16);
        EXPECT_EQ(head, "xof 0303txt 0032") << f;
    }
}

TEST_F(AssetModels, BallMatchesTheEightyUnitHitCubeAtScale25)
{
    Loaded l;
    Load(l, "Ball.x");
    ASSERT_FALSE(l.Points.empty());
    for (const aiVector3D& p : l.Points) EXPECT_NEAR(p.Length() * 25, 40, 1.0);
}

TEST_F(AssetModels, TreeStandsOnTheGroundAboutAThousandTwoHundredUnitsTall)
{
    Loaded l;
    Load(l, "Tree.x");
    ASSERT_FALSE(l.Points.empty());
    float lo = 1e9f, hi = -1e9f;
    for (const aiVector3D& p : l.Points) {
        lo = std::min(lo, p.y);
        hi = std::max(hi, p.y);
    }
    EXPECT_NEAR(lo * 800, 0, 1);
    EXPECT_GE(hi * 800, 1000);
    EXPECT_LE(hi * 800, 1400);
}

TEST_F(AssetModels, SkyDomeEnclosesTheWholeArena)
{
    Loaded l;
    Load(l, "SkyDoom.x");
    ASSERT_FALSE(l.Points.empty());
    float nearest = 1e9f;
    for (const aiVector3D& p : l.Points) nearest = std::min(nearest, p.Length());
    // Drawn at scale 10000 around (0, -5000, 0); the farthest arena point is a top corner.
    float corner = std::sqrt(6000.0f * 6000 * 2 + 6500.0f * 6500);
    EXPECT_GT(nearest * 10000 * std::cos(3.14159f / 32), corner);  // facets sit inside the vertices
    EXPECT_LT(nearest * 10000, 140000 - 6000);                      // and within the far plane
}

TEST_F(AssetModels, WeaponsSitLowerRightWithTheBarrelAway)
{
    const struct {
        const char* File;
        float Scale;
        aiVector3D Offset;
    } weapons[] = {{"Machinegun.x", 0.5f, {2.5f, -3, 0}}, {"Msg.x", 2, {2.5f, -2.5f, 3}}, {"Handgun.x", 0.5f, {2.5f, -2.5f, 0}}};
    const float tanHalf = std::tan(22.5f * Rad);
    for (const auto& w : weapons) {
        Loaded l;
        Load(l, w.File);
        ASSERT_FALSE(l.Points.empty()) << w.File;
        int visible = 0;
        aiVector3D nearest(0, 0, 1e9f), farthest(0, 0, -1e9f);
        double sx = 0, sy = 0;
        for (const aiVector3D& p : l.Points) {
            aiVector3D v = InHand(p, w.Scale, w.Offset);
            EXPECT_GT(v.z, 1.24f) << w.File << " crosses the near plane";
            float x = v.x / (v.z * tanHalf * 1.25f), y = v.y / (v.z * tanHalf);
            if (std::fabs(x) <= 1 && std::fabs(y) <= 1) {
                ++visible;
                sx += x;
                sy += y;
            }
            if (v.z < nearest.z) nearest = v;
            if (v.z > farthest.z) farthest = v;
        }
        ASSERT_GT(visible, int(l.Points.size() / 4)) << w.File << " is mostly off screen";
        EXPECT_GT(sx / visible, 0.2) << w.File << " is not on the right";
        EXPECT_LT(sy / visible, -0.2) << w.File << " is not low";
        EXPECT_GT(farthest.z - nearest.z, 2.0f) << w.File << " does not reach away from the viewer";
    }
}
