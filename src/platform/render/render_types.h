// Render-state vocabulary of the device: state names and values, colours, lights, materials.
#pragma once

#include <cstdint>

#include "platform/render/matrix.h"

struct ColourValue {
  float R = 0, G = 0, B = 0, A = 0;
};

struct Material {
  ColourValue Diffuse;
  ColourValue Ambient;
  ColourValue Specular;
  ColourValue Emissive;
  float Power = 0;
};

enum LightType : std::uint32_t {
  D3DLIGHT_POINT = 1,
  D3DLIGHT_SPOT = 2,
  D3DLIGHT_DIRECTIONAL = 3,
};

struct Light {
  std::uint32_t Type = D3DLIGHT_POINT;
  ColourValue Diffuse;
  ColourValue Specular;
  ColourValue Ambient;
  Vector3 Position;
  Vector3 Direction;
  float Range = 0;
  float Falloff = 0;
  float Attenuation0 = 0;
  float Attenuation1 = 0;
  float Attenuation2 = 0;
  float Theta = 0;
  float Phi = 0;
};

enum RenderStateType : std::uint32_t {
  D3DRS_ZENABLE = 7,
  D3DRS_SHADEMODE = 9,
  D3DRS_ZWRITEENABLE = 14,
  D3DRS_ALPHATESTENABLE = 15,
  D3DRS_SRCBLEND = 19,
  D3DRS_DESTBLEND = 20,
  D3DRS_CULLMODE = 22,
  D3DRS_ZFUNC = 23,
  D3DRS_ALPHAREF = 24,
  D3DRS_ALPHAFUNC = 25,
  D3DRS_ALPHABLENDENABLE = 27,
  D3DRS_FOGENABLE = 28,
  D3DRS_SPECULARENABLE = 29,
  D3DRS_FOGCOLOR = 34,
  D3DRS_FOGTABLEMODE = 35,
  D3DRS_FOGSTART = 36,
  D3DRS_FOGEND = 37,
  D3DRS_FOGDENSITY = 38,
  D3DRS_LIGHTING = 137,
  D3DRS_AMBIENT = 139,
  D3DRS_FOGVERTEXMODE = 140,
  D3DRS_NORMALIZENORMALS = 143,
};

enum TextureStageStateType : std::uint32_t {
  D3DTSS_COLOROP = 1,
  D3DTSS_COLORARG1 = 2,
  D3DTSS_COLORARG2 = 3,
  D3DTSS_ALPHAOP = 4,
  D3DTSS_ALPHAARG1 = 5,
  D3DTSS_ALPHAARG2 = 6,
  D3DTSS_ADDRESSU = 13,
  D3DTSS_ADDRESSV = 14,
  D3DTSS_MAGFILTER = 16,
  D3DTSS_MINFILTER = 17,
  D3DTSS_MIPFILTER = 18,
};

enum : std::uint32_t {
  D3DZB_FALSE = 0,
  D3DZB_TRUE = 1,
  D3DSHADE_FLAT = 1,
  D3DSHADE_GOURAUD = 2,
  D3DCULL_NONE = 1,
  D3DCULL_CW = 2,
  D3DCULL_CCW = 3,
  D3DFOG_NONE = 0,
  D3DFOG_EXP = 1,
  D3DFOG_EXP2 = 2,
  D3DFOG_LINEAR = 3,
  D3DTEXF_NONE = 0,
  D3DTEXF_POINT = 1,
  D3DTEXF_LINEAR = 2,
  D3DTADDRESS_WRAP = 1,
  D3DTADDRESS_MIRROR = 2,
  D3DTADDRESS_CLAMP = 3,
  D3DTOP_DISABLE = 1,
  D3DTOP_SELECTARG1 = 2,
  D3DTOP_SELECTARG2 = 3,
  D3DTOP_MODULATE = 4,
  D3DTA_DIFFUSE = 0,
  D3DTA_CURRENT = 1,
  D3DTA_TEXTURE = 2,
  D3DCMP_NEVER = 1,
  D3DCMP_LESS = 2,
  D3DCMP_EQUAL = 3,
  D3DCMP_LESSEQUAL = 4,
  D3DCMP_GREATER = 5,
  D3DCMP_NOTEQUAL = 6,
  D3DCMP_GREATEREQUAL = 7,
  D3DCMP_ALWAYS = 8,
  D3DBLEND_ZERO = 1,
  D3DBLEND_ONE = 2,
  D3DBLEND_SRCCOLOR = 3,
  D3DBLEND_INVSRCCOLOR = 4,
  D3DBLEND_SRCALPHA = 5,
  D3DBLEND_INVSRCALPHA = 6,
  D3DBLEND_DESTALPHA = 7,
  D3DBLEND_INVDESTALPHA = 8,
  D3DBLEND_DESTCOLOR = 9,
  D3DBLEND_INVDESTCOLOR = 10,
};

enum TransformStateType : std::uint32_t {
  D3DTS_VIEW = 2,
  D3DTS_PROJECTION = 3,
  D3DTS_WORLD = 256,
};

enum : std::uint32_t {
  D3DCLEAR_TARGET = 1,
  D3DCLEAR_ZBUFFER = 2,
  D3DCLEAR_STENCIL = 4,
};

enum PrimitiveType : std::uint32_t {
  D3DPT_TRIANGLELIST = 4,
  D3DPT_TRIANGLESTRIP = 5,
  D3DPT_TRIANGLEFAN = 6,
};

// Position, ARGB colour, one texture coordinate pair: the one vertex layout drawn from memory.
constexpr std::uint32_t D3DFVF_XYZ = 0x002;
constexpr std::uint32_t D3DFVF_DIFFUSE = 0x040;
constexpr std::uint32_t D3DFVF_TEX1 = 0x100;
constexpr std::uint32_t SceneVertexFormat = D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1;

enum BackBufferFormat : std::uint32_t {
  D3DFMT_UNKNOWN = 0,
  D3DFMT_R8G8B8 = 20,
  D3DFMT_A8R8G8B8 = 21,
  D3DFMT_X8R8G8B8 = 22,
  D3DFMT_R5G6B5 = 23,
  D3DFMT_D16 = 80,
};

enum : std::uint32_t {
  D3DSWAPEFFECT_DISCARD = 1,
  D3DSWAPEFFECT_FLIP = 2,
  D3DPRESENTFLAG_LOCKABLE_BACKBUFFER = 1,
};

struct PresentParameters {
  int BackBufferWidth = 0;
  int BackBufferHeight = 0;
  std::uint32_t BackBufferFormat = D3DFMT_UNKNOWN;
  std::uint32_t BackBufferCount = 0;
  std::uint32_t SwapEffect = 0;
  bool Windowed = false;
  bool EnableAutoDepthStencil = false;
  std::uint32_t AutoDepthStencilFormat = 0;
  std::uint32_t Flags = 0;
  std::uint32_t FullScreenRefreshRateInHz = 0;
};

struct DisplayMode {
  int Width = 0;
  int Height = 0;
  int RefreshRate = 0;
  std::uint32_t Format = D3DFMT_UNKNOWN;
};
