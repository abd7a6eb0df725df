// Binding the collaboration transport at start and letting go of it at the end.
#include "app/ui/dialog.h"
#include "ui_dialog.h"

#include <QDebug>

// Without the library there is no session to start or join, so none of the
// form's collaboration buttons may show.
void Dialog::LoadCollaborationLibrary()
{
    m_collLibraryLoaded = coll::BindKonnexa(m_konnexa);
    if (!m_collLibraryLoaded) {
        qDebug().noquote() << "exe : error load Konnexa.dll";
        ui->btn_show_collconnectDlg->hide();
        ui->btn_show_IP->hide();
        ui->btn_show_userListDlg->hide();
        return;
    }
    qDebug().noquote() << "exe : Success load Konnexa.dll";
    ui->btn_show_userListDlg->hide();
    ui->btn_show_userListDlg->setGeometry(width() - 40, height() / 2 - 73, 40, 147);
}

void Dialog::ReleaseCollaborationLibrary()
{
    if (!m_collLibraryLoaded)
        return;
    m_konnexa.soc_delete();
    m_konnexa.server_delete();
}
