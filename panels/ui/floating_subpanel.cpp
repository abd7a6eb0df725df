#include "panels/ui/floating_subpanel.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

FloatingSubPanel::FloatingSubPanel(const char* className, QWidget* parent)
    : FloatingSubPanel(className, QLatin1String(className), parent)
{
}

FloatingSubPanel::FloatingSubPanel(const char* className, const QString& title, QWidget* parent)
    : FloatingPanel(className, title, parent)
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

void FloatingSubPanel::StyleButtons(const QList<QPushButton*>& buttons, const QVector<PanelButton>& specs,
                                    const QStringList* hintTexts, const char* disabledFace)
{
    for (int i = 0; i < buttons.size() && i < specs.size(); ++i) {
        const PanelButton& spec = specs[i];
        const bool withDisabled = disabledFace && qstrcmp(spec.image, disabledFace) == 0;
        StyleButton(buttons[i], spec,
                    SubPanelStyleSheet(QLatin1String(spec.folder), QLatin1String(spec.image), withDisabled),
                    PanelToolTip(hintTexts, nullptr, spec.hintKey));
    }
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
