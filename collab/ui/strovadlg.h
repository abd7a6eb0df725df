#pragma once

#include "app/ui/placeholder_dialog.h"

#include <QString>
#include <QStringList>

// The lecture-upload dialog.
class StrovaDlg : public PlaceholderDialog
{
    Q_OBJECT

public:
    explicit StrovaDlg(QWidget* parent = nullptr);

    void SetLanguage(QStringList* commonTexts, QStringList* uploadTexts);
    // A port of 0 or less keeps the dialog's own.
    void SetSaveInfo(QString id, int saveId, QString server, QString port);

    QString savedId() const { return m_id; }
    bool saveIdChecked() const { return m_saveId; }
    QString server() const { return m_server; }
    QString port() const { return m_port; }

signals:
    void StrovaWindowClose(QString id, int saveId);
    void CallVirtualKeyboard();

private:
    QString m_id;
    bool m_saveId = false;
    QString m_server;
    QString m_port;
};
