// The address band a host shows to its participants.
#include "app/ui/dialog.h"
#include "collab/ui/collipdlg.h"

void Dialog::OptIpBtn()
{
    if (!m_collIpDlg)
        return;
    const QRect window(mapToGlobal(QPoint(0, 0)), size());
    m_collIpDlg->setGeometry(window.left(), window.height() / 2 / 2, window.width(), window.height() / 2);
    m_collIpDlg->SetText(m_session.ownAddress, window.width(), window.height());
    m_collIpDlg->exec();
}
