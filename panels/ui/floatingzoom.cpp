#include "panels/ui/floatingzoom.h"

#include <QPushButton>

namespace {

// The key of each row of the button table.
const char* const kRowKeys[] = {"ekZoomFix1", "ekZoomFix2", "ekZoomFix3", "ekZoomFix4",
                                "ekZoomIn",   "ekZoomOut",  "ekZoomRect"};
constexpr int kRectRow = 6;

}  // namespace

floatingzoom::floatingzoom(QWidget* parent)
    : FloatingSubPanel("floatingzoom", parent)
{
    for (const PanelButton& spec : ZoomPanelButtons())
        m_buttons << AddRingButton(spec.objectName);
}

void floatingzoom::InitDialog(QStringList* hintTexts)
{
    m_hintTexts = hintTexts;
    for (QPushButton* b : qAsConst(m_buttons))
        WatchHover(b);
    InitFrame(QLatin1String(kZoomFolder), QLatin1String(kZoomBackground));
    StyleButtons(m_buttons, ZoomPanelButtons(), m_hintTexts);
    static const char* const buttonSlots[] = {SLOT(BtnZoom100()), SLOT(BtnZoom200()), SLOT(BtnZoom300()),
                                              SLOT(BtnZoom400()), SLOT(BtnZoomIn()),  SLOT(BtnZoomOut()),
                                              SLOT(BtnZoomRect())};
    for (int row = 0; row < m_buttons.size(); ++row)
        connect(m_buttons[row], SIGNAL(clicked()), this, buttonSlots[row]);
    hide();
}

void floatingzoom::SetZoomKey(QString key)
{
    m_key = key;
    RefreshZoomChecks();
}

void floatingzoom::RefreshZoomChecks()
{
    for (int row = 0; row < m_buttons.size(); ++row)
        m_buttons[row]->setChecked(m_key == QLatin1String(kRowKeys[row]));
    if (m_key == QLatin1String(kRowKeys[kRectRow]))
        emit CallOptZoomChange(m_key);
}

void floatingzoom::Choose(int row)
{
    m_key = QLatin1String(kRowKeys[row]);
    RefreshZoomChecks();
    emit CallOptZoomChange(m_key);
}

void floatingzoom::BtnZoom100() { Choose(0); }
void floatingzoom::BtnZoom200() { Choose(1); }
void floatingzoom::BtnZoom300() { Choose(2); }
void floatingzoom::BtnZoom400() { Choose(3); }
void floatingzoom::BtnZoomIn() { Choose(4); }
void floatingzoom::BtnZoomOut() { Choose(5); }
void floatingzoom::BtnZoomRect() { Choose(kRectRow); }
