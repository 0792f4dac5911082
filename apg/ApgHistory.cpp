#include "apg/ApgHistory.h"

#include "analysis/Hrv.h"
#include "analysis/RecordingHeader.h"
#include "analysis/Trace.h"
#include "app/Tondrela.h"
#include "records/UserRecordings.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cmath>

void AttachWellnessAnalysis(CHrv& hrv) {
    hrv.AttachApg();
    hrv.AttachRateDisplay();
    hrv.AttachRateChart(kApgRateChartSeconds);
    hrv.AttachPulseRing();
}

CHistoryList SummariseRecording(CHrv& hrv, int sex) {
    const RecordingIdentity identity = hrv.Identity();
    const ApgSummary summary = hrv.SummariseApg(identity.age, sex);
    double minRate = 0;
    double maxRate = 0;
    CHistoryList record;
    record.vascularAge = std::trunc(summary.vascularAge);
    record.typeLetter = summary.typeIndex >= 0 ? static_cast<char>('A' + summary.typeIndex) : 0;
    record.daDifference =
        identity.age < 0
            ? -1
            : ((0.6 + ApgCanvas::ReferenceDa(identity.age)) / 0.6 - (0.6 + summary.da) / 0.6) * 100;
    record.bpText = summary.bpStatus != 0 ? GetMessageText(summary.bpStatus) : QString();
    record.dateTimeText = QString::fromStdString(identity.dateTimeText);
    record.meanPulse = std::trunc(hrv.TimelineStats(&minRate, &maxRate));
    record.wellnessIndex = summary.wellnessIndex;
    record.age = identity.age;
    return record;
}

ApgHistory BuildApgHistory(CHrv& replay, const QString& folder, const QString& userName, int sex,
                           const QString& upTo) {
    const std::vector<std::string> names =
        ListUserRecordings(folder.toStdString(), userName.toStdString(), ".ppg");
    // upTo is a path (in the recordings folder after a save), the enumerated names are bare.
    const std::string shown = QFileInfo(upTo).fileName().toStdString();
    const auto match = upTo.isEmpty() ? names.end() : std::find(names.begin(), names.end(), shown);
    const size_t end =
        match != names.end() ? static_cast<size_t>(match - names.begin()) + 1 : names.size();
    const size_t keep = kApgHistoryRecords;
    const size_t first = end > keep ? end - keep : 0;

    ApgHistory history;
    for (size_t i = first; i < end; ++i) {
        const std::string path =
            QDir(folder).filePath(QString::fromStdString(names[i])).toStdString();
        RecordingHeader header;
        replay.ResetMeasurement();
        history.last = QString::fromStdString(names[i]);
        // A file without a single sample (too short for its header) is no recording either.
        history.lastLoaded = replay.LoadPulseFile(&header, path) == FileStatus::Ok &&
                             replay.Count(CHrv::Series::Raw) > 0;
        if (!history.lastLoaded) {
            TRACE("history: cannot read %s\n", path.c_str());
            continue;
        }
        history.records.push_back(SummariseRecording(replay, sex));
    }
    return history;
}
