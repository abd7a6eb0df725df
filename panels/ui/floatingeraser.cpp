#include "panels/ui/floatingeraser.h"

#include <QPushButton>

namespace {
const QString kEraseAll = QStringLiteral("ekEraseAll");
const QString kSelEraser = QStringLiteral("ekSelEraser");
const QString kAreaEraser = QStringLiteral("ekAreaEraser");
}  // namespace

floatingeraser::floatingeraser(QWidget* parent)
    : FloatingSubPanel("floatingeraser", parent)
{
    const QVector<PanelButton>& specs = EraserPanelButtons();
    m_all = AddRingButton(specs[0].objectName);
    m_select = AddRingButton(specs[1].objectName);
    m_area = AddRingButton(specs[2].objectName);
    const char* const sizeNames[3] = {"btnEraser10", "btnEraser20", "btnEraser30"};
    for (int i = 0; i < 3; ++i)
        m_sizes[i] = AddRingButton(sizeNames[i]);
}

void floatingeraser::InitDialog(QStringList* hintTexts)
{
    m_hintTexts = hintTexts;
    const QList<QPushButton*> buttons = {m_all, m_select, m_area};
    for (QPushButton* b : buttons)
        WatchHover(b);
    InitFrame(QLatin1String(kEraserFolder), QLatin1String(kEraserBackground));
    for (QPushButton* b : m_sizes)
        b->hide();
    StyleButtons(buttons, EraserPanelButtons(), m_hintTexts);
    connect(m_all, SIGNAL(clicked()), this, SLOT(BtnEraserAll()));
    connect(m_select, SIGNAL(clicked()), this, SLOT(BtnEraserSel()));
    connect(m_area, SIGNAL(clicked()), this, SLOT(BtnEraserArea()));
    hide();
}

void floatingeraser::SetEraserKey(QString key)
{
    m_key = key;
    RefreshEraserChecks();
}

void floatingeraser::RefreshEraserChecks()
{
    m_all->setChecked(m_key == kEraseAll);
    m_select->setChecked(m_key == kSelEraser);
    if (m_select->isChecked())
        emit CallOptEraserChange(m_key);
    m_area->setChecked(m_key == kAreaEraser);
    if (m_area->isChecked())
        emit CallOptEraserChange(m_key);
}

void floatingeraser::Choose(const QString& key)
{
    m_key = key;
    RefreshEraserChecks();
    emit CallOptEraserChange(m_key);
}

void floatingeraser::BtnEraserAll() { Choose(kEraseAll); }
void floatingeraser::BtnEraserSel() { Choose(kSelEraser); }
void floatingeraser::BtnEraserArea() { Choose(kAreaEraser); }
