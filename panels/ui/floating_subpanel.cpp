#include "panels/ui/floating_subpanel.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

FloatingSubPanel::FloatingSubPanel(const char* className, QWidget* parent)
    : FloatingPanel(className, QLatin1String(className), parent)
{
    setAttribute(Qt::WA_MouseTracking);
    Background()->setAttribute(Qt::WA_MouseTracking);
}

QPushButton* FloatingSubPanel::AddRingButton(const char* objectName)
{
    QPushButton* button = AddButton(objectName);
    button->setAttribute(Qt::WA_MouseTracking);
    button->setCheckable(true);
    return button;
}

void FloatingSubPanel::InitFrame(const QString& folder, const QString& background)
{
    SetPanelWindowFlags();
    setAttribute(Qt::WA_TranslucentBackground);
    setGeometry(0, 0, kSubPanelSize, kSubPanelSize);
    SetBackgroundPicture(folder, background, QRect(0, 0, kSubPanelSize, kSubPanelSize));
}

void FloatingSubPanel::MoveTo(int x, int y)
{
    setGeometry(x - kSubPanelInset, y - kSubPanelInset, width(), height());
}

void FloatingSubPanel::mouseMoveEvent(QMouseEvent* event)
{
    // Moves a button does not take come here too, mapped to the panel.
    m_lastPosition = event->pos();
}

void FloatingSubPanel::leaveEvent(QEvent*)
{
    // Leaving into the launcher under the ring keeps the panel open: the last
    // position seen was still inside the panel's square.
    if (!QRect(0, 0, kSubPanelSize, kSubPanelSize).contains(m_lastPosition))
        hide();
}
