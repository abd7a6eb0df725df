#include "platform/file_names.h"
#include "regrouper/regrouper_run.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTextStream>
#include <QThread>

#include <cstdio>

// Regrouper <folder>: rebuilds the folder's "New_Event.xml" from its note list
// and note event files.
int main(int argc, char* argv[])
{
    platform::UseLosslessFileNames();
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    RegrouperOptions options;
    QString error;
    if (!ParseRegrouperArguments(QCoreApplication::arguments(), &options, &error)) {
        err << QStringLiteral("Regrouper: ") << error << Qt::endl << RegrouperUsage() << Qt::endl;
        return kRegrouperUsageExitCode;
    }
    QThread::msleep(100);
    return RunRegrouper(options.folder, err, options.maxOutputBytes);
}
