#pragma once
// The program's command line:
//   --simulate          a simulated sensor with a synthetic pulse
//   --simulate=FILE     a simulated sensor replaying a .csv or .ppg recording
//   --language=CODE     the first language: ko, en, ja or zh (English without the option)
//   --trace[=FILE]      the diagnostic trace to standard error, or to FILE
//   --help, -h          the usage
// Threads: any.

#include "app/Tondrela.h"

#include <QStringList>

#include <string>

struct StartOptions {
    std::string platform; // "" the real sensor, "synthetic", or the recording as given
    int language = CTondrelaApp::kDefaultLanguage; // 1 Korean, 2 English, 3 Japanese, 4 Chinese
    bool trace = false;
    QString traceFile; // empty for standard error
    bool help = false;
};

// Reads the arguments after the program's name; false on an unknown argument or language.
bool ParseStartOptions(const QStringList& arguments, StartOptions* options);
