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
    const QStringList arguments = QCoreApplication::arguments();
    const QString folder = arguments.size() > 1 ? arguments.at(1) : DefaultContentsFolder();
    QThread::msleep(100);
    QTextStream err(stderr);
    return RunRegrouper(folder, err);
}
