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

QStringList ListUserRecordings(const QString& folder, const QString& userName) {
    const std::string user = userName.toStdString();
    QStringList names;
    const QStringList files =
        QDir(folder).entryList({QStringLiteral("*.ppg")}, QDir::Files | QDir::Readable);
    for (const QString& file : files) {
        if (IsRecordingOf(file.toStdString(), user))
            names.append(file);
    }
    // The test time follows the name: name order is the order of the tests.
    std::sort(names.begin(), names.end());
    return names;
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

std::vector<CHistoryList> BuildApgHistory(CHrv& hrv, const QString& folder, const QString& userName,
                                          int sex) {
    const QStringList names = ListUserRecordings(folder, userName);
    // The recording shown: the CHrv's name is a path ("../work/..." after a save), the
    // enumerated names are bare.
    const QString shown = QFileInfo(QString::fromStdString(hrv.Identity().name)).fileName();
    const qsizetype match = names.indexOf(shown);
    const qsizetype end = match >= 0 ? match + 1 : names.size();
    const qsizetype first = std::max<qsizetype>(0, end - kApgHistoryRecords);

    std::vector<CHistoryList> history;
    for (qsizetype i = first; i < end; ++i) {
        const std::string path = QDir(folder).filePath(names[i]).toStdString();
        RecordingHeader header;
        hrv.ResetMeasurement();
        if (hrv.LoadPulseFile(&header, path) != FileStatus::Ok) {
            TRACE("history: cannot read %s\n", path.c_str());
            continue;
        }
        history.push_back(SummariseRecording(hrv, sex));
    }
    return history;
}
