#include "model/RiskPrefAssessment.h"

#include "foundation/Archive.h"
#include "foundation/NumericFormatting.h"
#include "foundation/VersionRecord.h"
#include "model/TreeDocument.h"

#include <algorithm>
#include <cerrno>
#include <cmath>

namespace {

constexpr double kSame = 1e-10;
// The interpolation walks at most this many points, so a stored table (16 points) is never overrun.
constexpr int kWalkLimit = 16;

bool IsTop(double utility)
{
    return std::fabs(utility - 1.0) < kSame;
}

}  // namespace

bool RiskPrefAssessment::Check(const TreeDocument& document, zString& message, const EndValueRange& endValues) const
{
    message.Clear();
    if (type == 1) {
        if (!(coefficient > 0.0)) {
            message = "The coefficient for a constant risk-aversion preference function must be greater than zero.";
            return false;
        }
        if (!document.IsMaximizing()) {
            message = "To use a constant risk-aversion preference function, your tree must be set to maximize, not "
                      "minimize.";
            return false;
        }
        return true;
    }
    if (type != 2)
        return true;
    double lowest = 0.0;
    double highest = 0.0;
    if (!endValues(lowest, highest))
        return false;
    double low = 0.0;
    double high = 0.0;
    if (AssessedRange(low, high) && lowest >= low && highest <= high)
        return true;
    message = "The overall payoff range for the tree has changed since you last entered your risk preference "
              "function. You must re-assess your risk preferences before proceeding. Old range: ";
    AppendFormattedNumber(message, low, DigitsOfFormat);
    message += " to ";
    AppendFormattedNumber(message, high, DigitsOfFormat);
    message += "; new range: ";
    AppendFormattedNumber(message, lowest, DigitsOfFormat);
    message += " to ";
    AppendFormattedNumber(message, highest, DigitsOfFormat);
    message += ".";
    return false;
}

// A table read from a file keeps 16 points, so after sixteen segments it has no point of utility 1: the
// range then ends at its largest value and is not usable.
bool RiskPrefAssessment::AssessedRange(double& low, double& high) const
{
    low = high = 0.0;
    if (!points)
        return false;
    low = high = points[0].value;
    for (int i = 0; i < kPointCount; ++i) {
        if (IsTop(points[i].utility)) {
            high = points[i].value;
            return true;
        }
        high = std::max(high, points[i].value);
    }
    return false;
}

double RiskPrefAssessment::ToUtility(double value, RunFault* error) const
{
    if (type == 1) {
        errno = 0;
        double u = 1.0 - std::exp(-value / coefficient);
        if (errno == ERANGE || !std::isfinite(u))
            error->Set(OutcomeCode::UtilityOverflow);
        return u;
    }
    if (type != 2 || !points)
        return value;
    int i = 0;
    while (i < kWalkLimit && points[i].value < value && points[i].utility < 1.0)
        ++i;
    const Point& e = points[i];
    if (std::fabs(e.value - value) < kSame)
        return e.utility;
    if (i == 0) {
        error->Set(OutcomeCode::UtilityOverflow);
        return value;
    }
    const Point& p = points[i - 1];
    double t = (value - p.value) / (e.value - p.value);
    if (!(t >= 0.0 && t <= 1.0)) {
        error->Set(OutcomeCode::UtilityOverflow);
        return value;
    }
    return p.utility + t * (e.utility - p.utility);
}

double RiskPrefAssessment::FromUtility(double utility, RunFault* error) const
{
    if (type == 1) {
        if (utility >= 1.0) {
            error->Set(OutcomeCode::UtilityOverflow);
            return utility;
        }
        return -coefficient * std::log(1.0 - utility);
    }
    if (type != 2 || !points)
        return utility;
    int i = 0;
    while (i < kWalkLimit && points[i].utility < utility && points[i].utility < 1.0)
        ++i;
    const Point& e = points[i];
    if (std::fabs(e.utility - utility) < kSame)
        return e.value;
    if (i == 0) {
        error->Set(OutcomeCode::UtilityOverflow);
        return utility;
    }
    const Point& p = points[i - 1];
    double t = (utility - p.utility) / (e.utility - p.utility);
    if (!(t >= 0.0 && t <= 1.0)) {
        error->Set(OutcomeCode::UtilityOverflow);
        return utility;
    }
    return p.value + t * (e.value - p.value);
}

void RiskPrefAssessment::Clear()
{
    type = 0;
    constantAssessed = 0;
    pointsAssessed = 0;
    coefficient = 0.0;
    points.reset();
}

void RiskPrefAssessment::ResetTable()
{
    points.reset(new Point[kPointCount]());
}

double Utility(TreeDocument* document, double value, RunFault* error)
{
    return document->RiskAssessment.ToUtility(value, error);
}

double InverseUtility(TreeDocument* document, double utility, RunFault* error)
{
    return document->RiskAssessment.FromUtility(utility, error);
}

void RiskPrefAssessment::Serialize(Archive& archive)
{
    VersionRecord version;
    version.Serialize(archive);
    if (archive.IsStoring()) {
        archive.WriteShort(static_cast<int16_t>(type));
        archive.WriteByte(pointsAssessed).WriteByte(constantAssessed).WriteDouble(coefficient);
        archive.WriteShort(points ? 1 : 0);
        for (int i = 0; points && i < kPointCount - 1; ++i)
            archive.WriteDouble(points[i].utility).WriteDouble(points[i].value);
        return;
    }
    int16_t storedType = 0;
    int16_t hasTable = 0;
    archive.ReadShort(storedType).ReadByte(pointsAssessed).ReadByte(constantAssessed).ReadDouble(coefficient);
    archive.ReadShort(hasTable);
    type = storedType;
    points.reset();
    if (hasTable != 1 || archive.Failed())
        return;
    ResetTable();
    for (int i = 0; i < kPointCount - 1; ++i)
        archive.ReadDouble(points[i].utility).ReadDouble(points[i].value);
}

RiskPrefAssessment& RiskPrefAssessment::operator=(const RiskPrefAssessment& other)
{
    if (this == &other)
        return *this;
    type = other.type;
    constantAssessed = other.constantAssessed;
    pointsAssessed = other.pointsAssessed;
    coefficient = other.coefficient;
    points.reset();
    if (other.points) {
        points = std::make_unique<Point[]>(kPointCount);
        std::copy(other.points.get(), other.points.get() + kPointCount, points.get());
    }
    return *this;
}
