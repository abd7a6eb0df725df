#pragma once

#include "panels/ui/placeholder_subpanel.h"

#include <QString>
#include <QStringList>

// The mode panel of the floating launcher: selection, move-all, window mode,
// the collaboration buttons and the lecture upload.
class floatingchangemode : public PlaceholderSubPanel
{
    Q_OBJECT

public:
    explicit floatingchangemode(QWidget* parent = nullptr);

    void InitDialog(QStringList* hintTexts, QStringList* menuTexts);
    // Marks the mode and hands it on, so opening the panel also chooses it.
    void SetSelectKey(QString key);
    void SetModeButtonsEnabled(bool enabled);
    void SetSelectEnabled(bool enabled);
    void SetSwapModeEnabled(bool enabled);
    void SetMoveAllEnabled(bool enabled);
    void SetConnectVisible(bool visible);
    void SetIpVisible(bool visible);

    QString selectKey() const { return m_key; }
    bool selectEnabled() const { return m_selectEnabled; }
    bool swapModeEnabled() const { return m_swapModeEnabled; }
    bool moveAllEnabled() const { return m_moveAllEnabled; }
    bool connectVisible() const { return m_connectVisible; }
    bool ipVisible() const { return m_ipVisible; }

signals:
    void CallOptSelectChange(QString key);
    void CallOptWinMode();
    void coll_Connect();
    void coll_Ip();
    void Call_Strova();

private:
    QString m_key;
    bool m_selectEnabled = true;
    bool m_swapModeEnabled = true;
    bool m_moveAllEnabled = true;
    bool m_connectVisible = true;
    bool m_ipVisible = true;
};
