// Row-vector, left-handed matrices (v' = v * M) and the helpers the game builds them with.
#pragma once

struct Vector3 {
  float X = 0, Y = 0, Z = 0;
};

// M[row][column]; a point is a row vector multiplied from the left.
struct Matrix {
  float M[4][4] = {};
};

Matrix MatrixIdentity();
// The transform that applies `first`, then `second`.
Matrix MatrixMultiply(const Matrix& first, const Matrix& second);
Matrix MatrixScaling(float x, float y, float z);
Matrix MatrixTranslation(float x, float y, float z);
Matrix MatrixRotationX(float radians);
Matrix MatrixRotationY(float radians);
Matrix MatrixRotationZ(float radians);
Matrix MatrixLookAtLH(const Vector3& eye, const Vector3& at, const Vector3& up);
// Depth 0 at the near plane and 1 at the far plane, as the game's projection expects.
Matrix MatrixPerspectiveFovLH(float fovY, float aspect, float zNear, float zFar);
Matrix MatrixInverse(const Matrix& m);
// Transforms a point and divides by w.
Vector3 TransformCoord(const Vector3& v, const Matrix& m);
