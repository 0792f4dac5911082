#pragma once
// The staged tondrela-analyse, run as a person would: its one JSON line for the arguments,
// run in folder (a recording given by its bare name: the tool reads the date from the first
// '_' of the path).

#include <QJsonObject>
#include <QString>
#include <QStringList>

// The tool's line as an object; an empty object when the tool failed.
QJsonObject RunAnalysisTool(const QString& folder, const QStringList& arguments);
