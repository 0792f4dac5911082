#include "app/StartOptions.h"

#include <QDir>

namespace {

// The languageIndex of a --language code, 0 for an unknown one.
int LanguageOfCode(const QString& code) {
    const char* const codes[] = {"ko", "en", "ja", "zh"};
    for (int i = 0; i < 4; ++i) {
        if (code == QLatin1String(codes[i]))
            return i + 1;
    }
    return 0;
}

} // namespace

bool ParseStartOptions(const QStringList& arguments, StartOptions* options) {
    const QLatin1String language("--language=");
    const QLatin1String simulate("--simulate=");
    const QLatin1String trace("--trace=");
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument.startsWith(language)) {
            options->language = LanguageOfCode(argument.mid(language.size()));
            if (options->language == 0)
                return false;
        } else if (argument == QLatin1String("--simulate")) {
            options->platform = "synthetic";
        } else if (argument.startsWith(simulate) && argument.size() > simulate.size()) {
            options->platform =
                QDir::fromNativeSeparators(argument.mid(simulate.size())).toStdString();
        } else if (argument == QLatin1String("--trace")) {
            options->trace = true;
        } else if (argument.startsWith(trace) && argument.size() > trace.size()) {
            options->trace = true;
            options->traceFile = argument.mid(trace.size());
        } else if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            options->help = true;
        } else {
            return false;
        }
    }
    return true;
}
