// Matrix helpers on GLM, kept in the row-vector layout the game's matrices are written in.

// A glm::mat4 read as m[row][column] holds exactly the row-vector matrix, so products run in
// the opposite order to GLM's own.
#include "platform/render/matrix.h"

#include <cstring>

#include <glm/ext/matrix_clip_space.hpp>
#include <glm/ext/matrix_transform.hpp>
#include <glm/mat4x4.hpp>
#include <glm/matrix.hpp>

namespace {

glm::mat4 ToGlm(const Matrix& m) {
  glm::mat4 g;
  std::memcpy(&g[0][0], &m.M[0][0], sizeof m.M);
  return g;
}

Matrix FromGlm(const glm::mat4& g) {
  Matrix m;
  std::memcpy(&m.M[0][0], &g[0][0], sizeof m.M);
  return m;
}

}  // namespace

Matrix MatrixIdentity() { return FromGlm(glm::mat4(1.0f)); }

Matrix MatrixMultiply(const Matrix& first, const Matrix& second) {
  return FromGlm(ToGlm(second) * ToGlm(first));
}

Matrix MatrixScaling(float x, float y, float z) {
  return FromGlm(glm::scale(glm::mat4(1.0f), glm::vec3(x, y, z)));
}

Matrix MatrixTranslation(float x, float y, float z) {
  return FromGlm(glm::translate(glm::mat4(1.0f), glm::vec3(x, y, z)));
}

// GLM's rotations are right-handed column-vector ones; read row-wise they are exactly the
// left-handed row-vector rotations (a positive angle turns +z towards +x about y).
Matrix MatrixRotationX(float radians) {
  return FromGlm(glm::rotate(glm::mat4(1.0f), radians, glm::vec3(1, 0, 0)));
}

Matrix MatrixRotationY(float radians) {
  return FromGlm(glm::rotate(glm::mat4(1.0f), radians, glm::vec3(0, 1, 0)));
}

Matrix MatrixRotationZ(float radians) {
  return FromGlm(glm::rotate(glm::mat4(1.0f), radians, glm::vec3(0, 0, 1)));
}

Matrix MatrixLookAtLH(const Vector3& eye, const Vector3& at, const Vector3& up) {
  return FromGlm(glm::lookAtLH(glm::vec3(eye.X, eye.Y, eye.Z), glm::vec3(at.X, at.Y, at.Z),
                               glm::vec3(up.X, up.Y, up.Z)));
}

Matrix MatrixPerspectiveFovLH(float fovY, float aspect, float zNear, float zFar) {
  return FromGlm(glm::perspectiveLH_ZO(fovY, aspect, zNear, zFar));
}

Matrix MatrixInverse(const Matrix& m) { return FromGlm(glm::inverse(ToGlm(m))); }

Vector3 TransformCoord(const Vector3& v, const Matrix& m) {
  float out[4];
  for (int c = 0; c < 4; ++c)
    out[c] = v.X * m.M[0][c] + v.Y * m.M[1][c] + v.Z * m.M[2][c] + m.M[3][c];
  const float w = out[3] != 0 ? out[3] : 1.0f;
  return {out[0] / w, out[1] / w, out[2] / w};
}
