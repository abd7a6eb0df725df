#include "platform/file_names.h"
#include "updater/ui/auto_update_dlg.h"
#include "updater/ui/single_application.h"

#include <QDebug>
#include <QMessageBox>
#include <QThread>

int main(int argc, char* argv[])
{
    platform::UseLosslessFileNames();
    SingleApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() < 2)
        return 1;

    // Made before the instance test: a second instance blanks the parameters
    // in the file too; the running one keeps them in memory.
    AutoUpdateDlg dialog(arguments);
    if (!app.lock()) {
        qWarning().noquote() << "Patchora : message:" << updateText(2133);
        QMessageBox::critical(nullptr, dialog.windowTitle(), updateText(2133), QMessageBox::Ok);
        return 1;
    }
    QThread::msleep(100);
    dialog.show();
    return app.exec();
}
