// A PDF transformation matrix [a b c d e f], the 3 x 3 matrix with rows (a, b, 0), (c, d, 0),
// (e, f, 1) acting on row vectors (x, y, 1).
#pragma once

struct PdfMatrix
{
    double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;

    static PdfMatrix Translation(double tx, double ty) { return PdfMatrix{1, 0, 0, 1, tx, ty}; }
    static PdfMatrix Scale(double sx, double sy) { return PdfMatrix{sx, 0, 0, sy, 0, 0}; }
    // Rotation by degrees (counter-clockwise), pi = 3.141592653589793.
    static PdfMatrix Rotation(double degrees);

    // this x other: first this, then other.
    PdfMatrix operator*(const PdfMatrix& other) const;
    void Apply(double x, double y, double& outX, double& outY) const
    {
        outX = x * a + y * c + e;
        outY = x * b + y * d + f;
    }
    // A direction: the matrix without its translation.
    void ApplyToDirection(double x, double y, double& outX, double& outY) const
    {
        outX = x * a + y * c;
        outY = x * b + y * d;
    }
    double Determinant() const { return a * d - b * c; }
    // True when every element is a finite number.
    bool IsFinite() const;
};
