#include "panels/ui/floatingchangemode.h"

#include <QPushButton>

namespace {

const QString kMoveAll = QStringLiteral("ekMoveAll");
const QString kSelect = QStringLiteral("ekSelect");
// The upload button's tip is entry 18 of the menu texts (key 812).
constexpr int kUploadMenuEntry = 18;

}  // namespace

floatingchangemode::floatingchangemode(QWidget* parent)
    : FloatingSubPanel("floatingchangemode", QStringLiteral("floatingchange"), parent)
{
    const QVector<PanelButton>& specs = ChangeModePanelButtons();
    m_moveAll = AddRingButton(specs[0].objectName);
    m_select = AddRingButton(specs[1].objectName);
    m_swapMode = AddRingButton(specs[2].objectName);
    m_swapMode->setCheckable(false);
    m_swapModeIntelligent = AddRingButton("btnSwapModeInteligent");
    m_swapModeIntelligent->setCheckable(false);
    m_connect = AddRingButton(specs[3].objectName);
    m_ip = AddRingButton(specs[4].objectName);
    m_strova = AddRingButton(specs[5].objectName);
}

void floatingchangemode::InitDialog(QStringList* hintTexts, QStringList* menuTexts)
{
    m_hintTexts = hintTexts;
    m_menuTexts = menuTexts;
    const QList<QPushButton*> buttons = {m_moveAll, m_select, m_swapMode, m_connect, m_ip, m_strova};
    for (QPushButton* b : buttons)
        WatchHover(b);
    InitFrame(QLatin1String(kChangeModeFolder), QLatin1String(kChangeModeBackground));
    m_swapModeIntelligent->hide();
    StyleButtons(buttons, ChangeModePanelButtons(), m_hintTexts);
    m_connect->setToolTip(QStringLiteral("Connect"));
    m_ip->setToolTip(QStringLiteral("IP"));
    if (m_menuTexts && kUploadMenuEntry < m_menuTexts->size())
        m_strova->setToolTip(m_menuTexts->at(kUploadMenuEntry));
    connect(m_moveAll, SIGNAL(clicked()), this, SLOT(BtnMoveAll()));
    connect(m_select, SIGNAL(clicked()), this, SLOT(BtnSelect()));
    connect(m_swapMode, SIGNAL(clicked()), this, SLOT(BtnSwapMode()));
    connect(m_connect, SIGNAL(clicked()), this, SLOT(BtnConnect()));
    connect(m_ip, SIGNAL(clicked()), this, SLOT(BtnIp()));
    connect(m_strova, SIGNAL(clicked()), this, SLOT(BtnStrova()));
    hide();
}

void floatingchangemode::SetSelectKey(QString key)
{
    m_key = key;
    RefreshModeChecks();
    emit CallOptSelectChange(m_key);
}

void floatingchangemode::RefreshModeChecks()
{
    m_moveAll->setChecked(m_key == kMoveAll);
    if (m_moveAll->isChecked())
        emit CallOptSelectChange(m_key);
    m_select->setChecked(m_key == kSelect);
    if (m_select->isChecked())
        emit CallOptSelectChange(m_key);
}

void floatingchangemode::Choose(const QString& key)
{
    m_key = key;
    RefreshModeChecks();
    emit CallOptSelectChange(m_key);
}

void floatingchangemode::BtnMoveAll() { Choose(kMoveAll); }
void floatingchangemode::BtnSelect() { Choose(kSelect); }
void floatingchangemode::BtnSwapMode() { emit CallOptWinMode(); }

// The three dialog buttons act as push buttons that never stay lit.
void floatingchangemode::BtnConnect()
{
    m_connect->setChecked(false);
    emit coll_Connect();
}

void floatingchangemode::BtnIp()
{
    m_ip->setChecked(false);
    emit coll_Ip();
}

void floatingchangemode::BtnStrova()
{
    m_strova->setChecked(false);
    emit Call_Strova();
}

void floatingchangemode::SetModeButtonsEnabled(bool enabled)
{
    for (QPushButton* b : {m_moveAll, m_select, m_swapMode})
        b->setEnabled(enabled);
}

void floatingchangemode::SetSelectEnabled(bool enabled) { m_select->setEnabled(enabled); }
void floatingchangemode::SetSwapModeEnabled(bool enabled) { m_swapMode->setEnabled(enabled); }
void floatingchangemode::SetMoveAllEnabled(bool enabled) { m_moveAll->setEnabled(enabled); }

void floatingchangemode::SetConnectVisible(bool visible)
{
    m_connect->setVisible(visible);
    ApplyShape();
}

void floatingchangemode::SetIpVisible(bool visible)
{
    m_ip->setVisible(visible);
    ApplyShape();
}
