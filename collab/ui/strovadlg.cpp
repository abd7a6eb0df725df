#include "collab/ui/strovadlg.h"

StrovaDlg::StrovaDlg(QWidget* parent)
    : PlaceholderDialog("StrovaDlg", parent)
{
}

void StrovaDlg::SetLanguage(QStringList*, QStringList*) {}

void StrovaDlg::SetSaveInfo(QString id, int saveId, QString server, QString port)
{
    m_id = id;
    m_saveId = saveId != 0;
    m_server = server;
    if (port.toInt() > 0)
        m_port = port;
}
