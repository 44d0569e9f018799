#pragma once
// A point: x is the northing, y the easting, z the height (metres). Bearings are azimuths from
// north, clockwise: AngleTo gives atan2(dy, dx) with dx along x (north) and dy along y (east).

#include "platform/base/HovedObjekt.h"

class DT_Punkt : public HovedObjekt {
public:
    DT_Punkt() = default;
    DT_Punkt(double x, double y, double z = 0.0) : x_(x), y_(y), z_(z) {}

    const char* KlasseNavn() const override { return "DT_Punkt"; }
    int KlasseType() const override { return rigel::klasse::Punkt; }

    double x() const { return x_; }
    double y() const { return y_; }
    double z() const { return z_; }

    int Init(double x, double y, double z = 0.0) {
        x_ = x;
        y_ = y;
        z_ = z;
        return 1;
    }
    int Init(const DT_Punkt& p) { return Init(p.x_, p.y_, p.z_); }
    int InitRel(double dx, double dy, double dz = 0.0) {
        x_ += dx;
        y_ += dy;
        z_ += dz;
        return 1;
    }
    // The point at `distance` from `from` along the bearing `direction` (radians); z from `from`.
    int InitPolar(double direction, double distance, const DT_Punkt& from);

    // Plan distance.
    double AvstandTil(const DT_Punkt& p) const;
    // Bearing from this point to q in radians, in (-pi, pi]; not normalised further.
    double AngleTo(const DT_Punkt& q) const;
    // 1 when x and y (and z when withZ is non-zero) each differ by at most tol.
    int Lik(const DT_Punkt& other, double tol = 0.0, int withZ = 1) const;

private:
    double x_ = 0.0;
    double y_ = 0.0;
    double z_ = 0.0;
};
