#pragma once

#include "app/ui/placeholder_dialog.h"

#include <QString>

// The collaboration connect dialog: host a session, find hosts, join one.
class CollConnectDlg : public PlaceholderDialog
{
    Q_OBJECT

public:
    explicit CollConnectDlg(QWidget* parent = nullptr);

    bool findServerEnabled() const { return m_findServerEnabled; }

public slots:
    // The search for hosts has ended: searching may start again.
    void Btn_FindServer_Enable();

signals:
    void OptFindServer();
    void coll_startserver(QString ip, QString id, QString password);
    void coll_connect(QString ip, QString id, QString password, int level);
    void coll_disconnectToServer();
    void coll_disconnectToClient();
    void CallVirtualKeyboard();

private:
    bool m_findServerEnabled = true;
};
