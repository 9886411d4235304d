#include "layers/GeneralGraphicFunctions.h"

#include <gtest/gtest.h>

namespace zp {
namespace {

using GGF = TGeneralGraphicFunctions;

const TGPMatrixElements Identity{};

TFloatPoint Map(const TGPMatrixElements& M, float X, float Y) {
    return {X * M.M11 + Y * M.M21 + M.DX, X * M.M12 + Y * M.M22 + M.DY};
}

// Checks where M takes (X, Y); the message names the point.
void ExpectMaps(const TGPMatrixElements& M, float X, float Y, float ExpectedX, float ExpectedY) {
    const TFloatPoint P = Map(M, X, Y);
    EXPECT_NEAR(P.X, ExpectedX, 1e-4) << "x of (" << X << ", " << Y << ")";
    EXPECT_NEAR(P.Y, ExpectedY, 1e-4) << "y of (" << X << ", " << Y << ")";
}

TEST(Matrix, RotationTurnsAboutThePivot) {
    const TGPMatrixElements R = GGF::MatrixRotate(90, Identity, {0, 0});
    ExpectMaps(R, 1, 0, 0, -1);
    ExpectMaps(R, 0, 1, 1, 0);

    const TGPMatrixElements P = GGF::MatrixRotate(90, Identity, {10, 5});
    ExpectMaps(P, 10, 5, 10, 5);
    ExpectMaps(P, 11, 5, 10, 4);
    ExpectMaps(P, 10, 7, 12, 5);

    const TGPMatrixElements Back = GGF::MatrixRotate(-30, GGF::MatrixRotate(30, Identity, {3, 4}), {3, 4});
    ExpectMaps(Back, 7, -2, 7, -2);
}

TEST(Matrix, RotationAndMirrorsComeBeforeTheExistingMatrix) {
    // The existing matrix doubles and moves; the rotation works in the untransformed
    // coordinates and the existing matrix is applied to its result.
    const TGPMatrixElements Existing{2, 0, 0, 2, 100, 0};
    const TGPMatrixElements R = GGF::MatrixRotate(90, Existing, {0, 0});
    ExpectMaps(R, 1, 0, 100, -2);
    ExpectMaps(R, 0, 1, 102, 0);

    const TGPMatrixElements V = GGF::MatrixFlipVertical(Existing, {0, 5});
    ExpectMaps(V, 3, 2, 106, 16); // (3, 8), then doubled and moved
    const TGPMatrixElements H = GGF::MatrixFlipHotizontal(Existing, {4, 0});
    ExpectMaps(H, 1, 2, 114, 4); // (7, 2), then doubled and moved
}

TEST(Matrix, MirrorsAreTheirOwnInverse) {
    const TGPMatrixElements V = GGF::MatrixFlipVertical(GGF::MatrixFlipVertical(Identity, {2, 3}), {2, 3});
    const TGPMatrixElements H =
        GGF::MatrixFlipHotizontal(GGF::MatrixFlipHotizontal(Identity, {2, 3}), {2, 3});
    EXPECT_EQ(V, Identity);
    EXPECT_EQ(H, Identity);
    const TGPMatrixElements Once = GGF::MatrixFlipHotizontal(Identity, {2.5f, 3});
    ExpectMaps(Once, 0, 9, 5, 9);
}

TEST(Matrix, ScaleAndTranslateComeAfterTheExistingMatrix) {
    // Scaling after a rotation about (10, 10) scales the rotated coordinates about the origin,
    // not about the pivot.
    const TGPMatrixElements R = GGF::MatrixRotate(90, Identity, {10, 10});
    const TGPMatrixElements S = GGF::MatrixScale(R, {2, 3});
    ExpectMaps(S, 10, 10, 20, 30);
    ExpectMaps(S, 11, 10, 20, 27);

    const TGPMatrixElements T = GGF::MatrixTranslate(GGF::MatrixScale(Identity, {2, 2}), {5, 7});
    ExpectMaps(T, 1, 1, 7, 9);
    const TGPMatrixElements U = GGF::MatrixScale(GGF::MatrixTranslate(Identity, {5, 7}), {2, 2});
    ExpectMaps(U, 1, 1, 12, 16);
}

} // namespace
} // namespace zp
