// The page navigator follows the zoom: above 100 % it shows the zoomed page
// with the visible part framed, at or below it is hidden.
#include "app/ui/dialog.h"
#include "app/ui/dialog_panels.h"

void Dialog::ShowPageNavigator()
{
    if (!m_navi)
        return;
    if (m_zoom <= 1.0 || m_canvasImage.isNull()) {
        m_navi->hide();
        return;
    }
    m_navi->SetNaviGeometry(m_canvasImage.width(), m_canvasImage.height(), float(m_zoom));
    // The zoom leaves the view centred on the page, so the frame starts where
    // the scroll bars stand rather than at the page's corner.
    m_navi->SetBoardImage(HorizontalScrollValue(), VerticalScrollValue(), m_canvasImage);
    m_navi->show();
    m_navi->raise();
}
