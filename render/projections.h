#pragma once

// The three projections as mappings for the scan in render/scan.h: pixel to plane, and plane to
// sphere, each value passed through the scan's check as it is stored. Rows and columns are
// window coordinates: whole numbers in the window's scan, finer ones in a finer sampling.

#include <cmath>

#include "setup/mirrors.h"

namespace vantu::detail {

// Azimuth of (X, Y): atan(Y / X), turned by pi in the left half. X is never zero.
template <class Check>
inline double azimuth(double x, double y, double pi, Check& check) {
    double phi = check.value(std::atan(check.quotient(y, x)));
    if (x < 0.0) {
        phi = check.value(pi + phi);
    }
    return phi;
}

// P at angle theta from (0, 0, 1) in the direction phi.
template <class Check>
inline void polarPoint(double theta, double phi, Check& check, Vec3& p) {
    const double sinTheta = std::sin(theta);
    p.x = check.value(sinTheta * std::cos(phi));
    p.y = check.value(sinTheta * std::sin(phi));
    p.z = check.value(std::cos(theta));
}

struct Gnomonic {
    template <class Check>
    static double ordinate(double row, double scale, Check& check) {
        return check.quotient(240.5 - row, scale);
    }
    template <class Check>
    static double abscissa(double col, double scale, Check& check) {
        return check.quotient(col - 319.5, scale);
    }
    template <class Check>
    static bool toSphere(double x, double y, double ySquared, double pi, Check& check, Vec3& p) {
        const double rho = check.root(check.value(x * x + ySquared));
        const double theta = check.value(std::atan(rho));
        polarPoint(theta, azimuth(x, y, pi, check), check, p);
        return true;
    }
};

// The stereographic and orthographic plane: half the offset, then divided by R.
struct HalfPlane {
    template <class Check>
    static double ordinate(double row, double scale, Check& check) {
        return check.quotient(check.value((240.5 - row) * 0.5), scale);
    }
    template <class Check>
    static double abscissa(double col, double scale, Check& check) {
        return check.quotient(check.value((col - 319.5) * 0.5), scale);
    }
};

struct Stereographic : HalfPlane {
    template <class Check>
    static bool toSphere(double x, double y, double ySquared, double pi, Check& check, Vec3& p) {
        const double rho = check.root(check.value(x * x + ySquared));
        const double t = check.value(std::atan(rho));
        const double theta = check.value(t + t);
        polarPoint(theta, azimuth(x, y, pi, check), check, p);
        return true;
    }
};

struct Orthographic : HalfPlane {
    template <class Check>
    static bool toSphere(double x, double y, double ySquared, double /*pi*/, Check& check,
                         Vec3& p) {
        const double xSquared = check.value(x * x);
        if (!(check.value(xSquared + ySquared) < 1.0)) {
            return false;
        }
        p = {x, y, check.root(check.value((1.0 - xSquared) - ySquared))};
        return true;
    }
};

}  // namespace vantu::detail
