#include "widgets/SplineCurve.h"

#include "framework/draw/DrawingPrimitives.h"
#include "framework/draw/Display.h"
#include "framework/draw/zRegion.h"

#include <algorithm>
#include <cmath>

namespace {

double Sinh(double x)
{
    const double e = std::exp(x);
    return (e - 1 / e) / 2;
}

double Cosh(double x)
{
    const double e = std::exp(x);
    return (e + 1 / e) / 2;
}

// Coinciding coordinates are pulled apart by 0.005 inch.
void PullApart(double previous, double& value)
{
    if (std::fabs(value - previous) < 1e-10)
        value += 0.005;
}

} // namespace

SplineCurve::SplineCurve(Display& display, const LogicalPoint* points, int count, int steps, Mode mode)
    : display_(display), mode_(mode)
{
    if (count < 3)
        return;
    steps += steps % 2;
    std::vector<double> x(count), y(count);
    s_.assign(count, 0.0);
    x[0] = points[0].x;
    y[0] = points[0].y;
    for (int i = 1; i < count; ++i) {
        x[i] = points[i].x;
        y[i] = points[i].y;
        PullApart(x[i - 1], x[i]);
        PullApart(y[i - 1], y[i]);
        s_[i] = s_[i - 1] + std::hypot(x[i] - x[i - 1], y[i] - y[i - 1]);
    }
    sigma_ = Tension * (count - 1) / (s_[count - 1] - s_[0]);
    const std::vector<double> px = Fit(x);
    const std::vector<double> py = Fit(y);

    DisplayLock lock(display_);
    if (mode_ == HitRegion)
        region_ = std::make_unique<zRegion>();
    previous_ = POINT{LogicalXToPixel(x[0], display_), LogicalYToPixel(y[0], display_)};
    last_ = LogicalPoint{static_cast<float>(x[0]), static_cast<float>(y[0])};
    if (mode_ == Draw)
        MoveToEx(display_.DeviceContext(), previous_.x, previous_.y, nullptr);
    bounds_ = RECT{previous_.x, previous_.y, previous_.x, previous_.y};

    int step = 0;
    for (int i = 0; i < count - 1; ++i) {
        const int end = steps * (i + 1) / (count - 1);
        const int inInterval = std::max(1, end - step);
        const int first = step;
        for (; step < end; ++step) {
            const double s = s_[i] + (s_[i + 1] - s_[i]) * (step - first + 1) / inInterval;
            Emit(Evaluate(x, px, s), Evaluate(y, py, s));
        }
    }
    Emit(x[count - 1], y[count - 1]);
}

SplineCurve::~SplineCurve() = default;

std::vector<double> SplineCurve::Fit(const std::vector<double>& u) const
{
    const int n = static_cast<int>(u.size());
    const std::vector<double>& s = s_;
    auto diag = [this](double h) {
        const double sh = Sinh(sigma_ * h);
        return (sigma_ * h * Cosh(sigma_ * h) - sh) / (h * sh);
    };
    auto off = [this](double h) {
        const double sh = Sinh(sigma_ * h);
        return (sh - sigma_ * h) / (h * sh);
    };
    // End slopes from the three points at each end.
    const double h1 = s[1] - s[0], h2 = s[2] - s[1], h12 = s[2] - s[0];
    const double startSlope = -(h12 + h1) / h12 / h1 * u[0] + h12 / h1 / h2 * u[1] - h1 / h12 / h2 * u[2];
    const double hn = s[n - 1] - s[n - 2], hm = s[n - 2] - s[n - 3], hnn = s[n - 1] - s[n - 3];
    const double endSlope = hn / hnn / hm * u[n - 3] - hnn / hn / hm * u[n - 2] + (hnn + hn) / hnn / hn * u[n - 1];

    std::vector<double> p(n), t(n);
    double h = s[1] - s[0];
    double d1 = (u[1] - u[0]) / h;
    double d2 = d1;
    double q = 1 / diag(h);
    p[0] = q * (d1 - startSlope);
    double o = off(h);
    t[0] = q * o;
    for (int i = 1; i <= n - 2; ++i) {
        const double previousH = h;
        h = s[i + 1] - s[i];
        d2 = (u[i + 1] - u[i]) / h;
        q = 1 / (diag(previousH) + diag(h) - o * t[i - 1]);
        p[i] = q * (d2 - d1 - o * p[i - 1]);
        o = off(h);
        t[i] = q * o;
        d1 = d2;
    }
    q = 1 / (diag(h) - o * t[n - 2]);
    p[n - 1] = q * (endSlope - d2 - o * p[n - 2]);
    for (int i = n - 2; i >= 0; --i)
        p[i] -= t[i] * p[i + 1];
    return p;
}

double SplineCurve::Evaluate(const std::vector<double>& u, const std::vector<double>& p, double s)
{
    const int n = static_cast<int>(s_.size());
    int i = std::min(std::max(lastInterval_, 1), n - 1);
    while (i < n - 1 && s >= s_[i])
        ++i;
    while (i > 1 && s < s_[i - 1])
        --i;
    lastInterval_ = i;
    const double d1 = s - s_[i - 1];
    const double d2 = s_[i] - s;
    const double h = s_[i] - s_[i - 1];
    return (p[i] * Sinh(sigma_ * d1) + p[i - 1] * Sinh(sigma_ * d2)) / Sinh(sigma_ * h) +
           ((u[i] - p[i]) * d1 + (u[i - 1] - p[i - 1]) * d2) / h;
}

void SplineCurve::Emit(double x, double y)
{
    const POINT point{LogicalXToPixel(x, display_), LogicalYToPixel(y, display_)};
    switch (mode_) {
    case Draw:
        LineTo(display_.DeviceContext(), point.x, point.y);
        break;
    case BoundingBox:
        bounds_.left = std::min(bounds_.left, point.x);
        bounds_.top = std::min(bounds_.top, point.y);
        bounds_.right = std::max(bounds_.right, point.x);
        bounds_.bottom = std::max(bounds_.bottom, point.y);
        break;
    case HitRegion: {
        std::unique_ptr<zRegion> band(DrawArc(previous_, point, 0.1, display_));
        region_->Union(*band);
        break;
    }
    }
    previous_ = point;
    beforeLast_ = last_;
    last_ = LogicalPoint{static_cast<float>(x), static_cast<float>(y)};
}
