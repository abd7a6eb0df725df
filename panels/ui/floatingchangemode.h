#pragma once

#include "panels/ui/floating_subpanel.h"

#include <QString>
#include <QStringList>

class QPushButton;

// The mode ring of the floating launcher: move the whole page or select
// objects, window mode, the collaboration dialogs and the lecture upload.
class floatingchangemode : public FloatingSubPanel
{
    Q_OBJECT

public:
    explicit floatingchangemode(QWidget* parent = nullptr);

    void InitDialog(QStringList* hintTexts, QStringList* menuTexts);
    // Marks the mode and hands it on, so opening the panel also chooses it.
    void SetSelectKey(QString key);
    // Checks the button of the current mode; a mode that is checked is sent.
    void RefreshModeChecks();
    // The two modes and the window mode together.
    void SetModeButtonsEnabled(bool enabled);
    void SetSelectEnabled(bool enabled);
    void SetSwapModeEnabled(bool enabled);
    void SetMoveAllEnabled(bool enabled);
    void SetConnectVisible(bool visible);
    void SetIpVisible(bool visible);

    QString selectKey() const { return m_key; }

signals:
    void CallOptSelectChange(QString key);
    void CallOptWinMode();
    void coll_Connect();
    void coll_Ip();
    void Call_Strova();

public slots:
    void BtnMoveAll();
    void BtnSelect();
    void BtnSwapMode();
    void BtnConnect();
    void BtnIp();
    void BtnStrova();

private:
    void Choose(const QString& key);

    QStringList* m_hintTexts = nullptr;
    QStringList* m_menuTexts = nullptr;
    QString m_key;
    QPushButton* m_moveAll = nullptr;
    QPushButton* m_select = nullptr;
    QPushButton* m_swapMode = nullptr;
    // A button of the form that the panel never shows.
    QPushButton* m_swapModeIntelligent = nullptr;
    QPushButton* m_connect = nullptr;
    QPushButton* m_ip = nullptr;
    QPushButton* m_strova = nullptr;
};
