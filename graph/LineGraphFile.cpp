// The line graph's own part of the graph file, read back with its checks, and its text export.

#include "graph/LineGraph.h"

#include "foundation/Archive.h"
#include "foundation/NumericFormatting.h"
#include "foundation/StoredString.h"
#include "foundation/TextReport.h"
#include "foundation/VersionRecord.h"

#include <cstdint>

namespace {

constexpr uint32_t kBadThresholdPoint = 10;
constexpr uint32_t kBadThresholdLabel = 11;
constexpr uint32_t kBadLinePart = 13;
constexpr uint32_t kBadThresholdPart = 14;
constexpr int kMostStoredLines = 100;
constexpr int kMostThresholdPoints = 100;
constexpr int kLongestThresholdTitle = 300;

} // namespace

void ThresholdLabel::Serialize(Archive& archive)
{
    GraphLabel::Serialize(archive);
    if (archive.Failed())
        return;
    VersionRecord version;
    version.Serialize(archive);
    if (archive.IsStoring()) {
        archive.WriteShort(thresholdIndex);
        StoreString(archive, secondText);
        return;
    }
    archive.ReadShort(thresholdIndex);
    LoadString(archive, secondText);
    if (thresholdIndex < 0)
        archive.SetFormatError(kBadThresholdLabel);
}

bool LineGraph::WriteTextExport(TextReport& report)
{
    auto number = [](const AxisElement& axis, double value) {
        zString text;
        FormatNumber(axis.numberFormat, value, text, false, false, -9);
        return text;
    };
    auto xAt = [this](int k) {
        const GraphLineElement* first = lines_.Line(0);
        return first != nullptr && !first->positions.empty() && k < first->Count()
                   ? first->positions[k]
                   : horizontalAxis.valueBottom + k * horizontalAxis.interval;
    };
    BeginTextExport(report, "KIVO(tm) Line Graph");
    for (int i = 0; i < LineCount(); ++i)
        report.AddColumnHeader(legendTexts.Label(i)->text.Text());
    for (int k = 0; k <= stepCount_; ++k) {
        zString row = number(horizontalAxis, xAt(k));
        for (int i = 0; i < LineCount(); ++i) {
            row += "\t";
            const GraphLineElement& line = *lines_.Line(i);
            row += number(verticalAxis, k < line.Count() ? line.values[k] : 0.0);
        }
        report.AddLine(row);
    }
    if (ThresholdCount() > 0) {
        report.AddNote("Threshold Values:");
        for (int i = 0; i < thresholdLabels_.Count(); ++i) {
            const ThresholdLabel& label = *thresholdLabels_.Label(i);
            const GraphSeriesItem& point = Threshold(label.thresholdIndex);
            zString note = "Lines (";
            note += legendTexts.Label(point.first)->text;
            note += ", ";
            note += legendTexts.Label(point.second)->text;
            note += ") ";
            note += label.text;
            note += "/";
            note += label.secondText;
            report.AddNote(note.Text());
        }
        report.AddNote("");
    }
    report.AddNote("The following duplicate output may offer better import into other software.");
    report.AddNote("");
    zString across = horizontalLabel.text;
    for (int k = 0; k <= stepCount_; ++k) {
        across += "\t";
        across += number(horizontalAxis, xAt(k));
    }
    report.AddNote(across.Text());
    for (int i = 0; i < LineCount(); ++i) {
        const GraphLineElement& line = *lines_.Line(i);
        zString values = legendTexts.Label(i)->text;
        for (int k = 0; k < line.Count(); ++k) {
            values += "\t";
            values += number(verticalAxis, line.values[k]);
        }
        report.AddNote(values.Text());
    }
    return true;
}

// Own part of the graph file, after the common part:
//   version record                                    3 bytes
//   step count                                        i16
//   lines                                             list of line records
//   display-thresholds flag                           i16; check: steps >= 0, 0..100 lines of steps + 1
//                                                     values, flag 0 or 1 (else format error 13)
//   threshold title                                   label record
//   threshold points                                  list; check: title under 301 characters, 0..100
//                                                     points (else 14), each on two lines (else 10)
//   threshold labels                                  list
//   variable name                                     stored string
//   higher-is-better, thresholds-recorded flags       2 x i16
//   option word                                       i16 (from 2.6)
//   shown line count n, n indexes into the lines      i16, n x i16 (from 3.0)
void LineGraph::StorePart(Archive& archive)
{
    VersionRecord(VersionRecord::Current()).Serialize(archive);
    archive.WriteShort(stepCount_);
    lines_.Serialize(archive);
    archive.WriteShort(displayThresholds_);
    thresholdTitle_.Serialize(archive);
    thresholds_.Serialize(archive);
    thresholdLabels_.Serialize(archive);
    StoreString(archive, variableName);
    archive.WriteShort(higherIsBetter).WriteShort(thresholdsRecorded).WriteShort(optionWord_);
    archive.WriteShort(static_cast<int16_t>(shown_.size()));
    for (GraphLineElement* line : shown_)
        archive.WriteShort(lines_.IndexOf(line));
}

bool LineGraph::LoadPart(Archive& archive)
{
    if (archive.Failed())
        return false;
    VersionRecord version;
    version.Serialize(archive);
    archive.ReadShort(stepCount_);
    lines_.Serialize(archive);
    archive.ReadShort(displayThresholds_);
    bool linesSound = stepCount_ >= 0 && lines_.Count() <= kMostStoredLines && displayThresholds_ >= 0 &&
                      displayThresholds_ <= 1;
    for (int i = 0; linesSound && i < lines_.Count(); ++i)
        linesSound = lines_.Line(i)->Count() == stepCount_ + 1;
    if (!linesSound)
        archive.SetFormatError(kBadLinePart);
    if (archive.Failed())
        return true;
    thresholdTitle_.Serialize(archive);
    thresholds_.Serialize(archive);
    if (thresholdTitle_.text.Length() > kLongestThresholdTitle || thresholds_.Count() > kMostThresholdPoints)
        archive.SetFormatError(kBadThresholdPart);
    for (int i = 0; i < thresholds_.Count(); ++i) {
        const GraphSeriesItem& point = *thresholds_.Point(i);
        if (point.first >= lines_.Count() || point.second >= lines_.Count())
            archive.SetFormatError(kBadThresholdPoint);
    }
    if (archive.Failed())
        return true;
    thresholdLabels_.Serialize(archive);
    for (int i = 0; i < thresholdLabels_.Count(); ++i)
        if (thresholdLabels_.Label(i)->thresholdIndex >= thresholds_.Count())
            archive.SetFormatError(kBadThresholdLabel);
    LoadString(archive, variableName);
    archive.ReadShort(higherIsBetter).ReadShort(thresholdsRecorded);
    if (version.IsAtLeast(KnownVersion::k2_6))
        archive.ReadShort(optionWord_);
    shown_.clear();
    if (version.IsAtLeast(KnownVersion::k3_0)) {
        int16_t count = 0;
        archive.ReadShort(count);
        if (count < 0 || count > lines_.Count())
            archive.SetFormatError(kBadLinePart);
        for (int i = 0; i < count && !archive.Failed(); ++i) {
            int16_t index = -1;
            archive.ReadShort(index);
            if (index < 0 || index >= lines_.Count())
                archive.SetFormatError(kBadLinePart);
            else
                shown_.push_back(lines_.Line(index));
        }
    }
    for (int i = 0; i < lines_.Count(); ++i)
        lines_.Line(i)->owner = this;
    for (int i = 0; i < thresholds_.Count(); ++i)
        thresholds_.Point(i)->owner = this;
    for (int i = 0; i < thresholdLabels_.Count(); ++i)
        thresholdLabels_.Label(i)->owner = this;
    thresholdTitle_.owner = this;
    return true;
}
