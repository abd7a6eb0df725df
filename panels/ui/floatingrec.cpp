#include "panels/ui/floatingrec.h"

#include <QPushButton>

floatingrec::floatingrec(QWidget* parent)
    : FloatingSubPanel("floatingrec", parent)
{
    // Unlike the tool rings, nothing here stays chosen, so nothing stays lit.
    for (const PanelButton& spec : RecPanelButtons()) {
        QPushButton* button = AddRingButton(spec.objectName);
        button->setCheckable(false);
        m_buttons << button;
    }
}

void floatingrec::InitDialog(QStringList* hintTexts)
{
    m_hintTexts = hintTexts;
    for (QPushButton* b : qAsConst(m_buttons))
        WatchHover(b);
    InitFrame(QLatin1String(kRecFolder), QLatin1String(kRecBackground));
    StyleButtons(m_buttons, RecPanelButtons(), m_hintTexts);
    m_buttons[2]->setToolTip(QStringLiteral("ViewVideo"));
    static const char* const buttonSlots[] = {SLOT(btnRec()), SLOT(btnStop()), SLOT(btnViewVideo())};
    for (int row = 0; row < m_buttons.size(); ++row)
        connect(m_buttons[row], SIGNAL(clicked()), this, buttonSlots[row]);
    hide();
}

void floatingrec::btnRec() { emit CallOptRec(1); }
void floatingrec::btnStop() { emit CallOptRec(2); }
void floatingrec::btnViewVideo() { emit CallOptView(1); }
