#include "AnalysisTool.h"

#include <QJsonDocument>
#include <QProcess>

QJsonObject RunAnalysisTool(const QString& folder, const QStringList& arguments) {
    QProcess tool;
    tool.setWorkingDirectory(folder);
    tool.start(QStringLiteral(TONDRELA_STAGE_DIR "/bin/tondrela-analyse"), arguments);
    if (!tool.waitForFinished(30000) || tool.exitCode() != 0)
        return {};
    return QJsonDocument::fromJson(tool.readAllStandardOutput()).object();
}
