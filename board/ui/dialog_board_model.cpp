// The board model of the main window: slot tables, touch slots and the
// first page.
#include <QDebug>
#include <QResizeEvent>

#include "app/ui/dialog.h"
#include "ui_dialog.h"

void Dialog::InitBoardModel()
{
    m_board.Init();
    SelectionEditMode = 0;
    SelectionHandle = 0;
    LockX = false;
    LockY = false;
    m_undo.Clear();
    UpdatePrevNextButtons();
}

int Dialog::ClaimTouchSlot(int touchId)
{
    return m_touchSlots.Claim(touchId);
}

void Dialog::ReleaseTouchSlot(int index)
{
    if (!IsValidPointerSlot(index)) {
        qDebug().noquote() << QStringLiteral("exe : touch slot %1 ignored").arg(index);
        return;
    }
    m_touchSlots.Release(index);
}

int Dialog::TouchPointSlot(int touchId)
{
    return m_touchSlots.SlotOfTouch(touchId);
}

int Dialog::CheckTouchPointIndex(int x, int y)
{
    for (int i = 9; i >= 0; --i) {
        if (m_touchPoints[i] == QPoint(x, y))
            return i;
    }
    return -1;
}

// A window grown past its page keeps the drawing at the top left and fills
// the new area with the board colour, so nothing drawn is lost; the page
// layer is rebuilt at the new size.
void Dialog::EnsurePageCoversWidget()
{
    if (m_backgroundImage.isNull())
        return;
    const QSize wanted = m_backgroundImage.size().expandedTo(size());
    if (wanted == m_backgroundImage.size())
        return;
    ResizePageImage(m_backgroundImage, wanted);
    RedrawPageObjects(true);
}

void Dialog::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    EnsurePageCoversWidget();
}

int Dialog::HorizontalScrollValue() const
{
    return ui->horizontalScrollBar->value();
}

int Dialog::VerticalScrollValue() const
{
    return ui->verticalScrollBar->value();
}

bool Dialog::VerticalScrollBarVisible() const
{
    return ui->verticalScrollBar->isVisible();
}

QWidget* Dialog::MainBar() const
{
    return ui->mainbar;
}

QPointF Dialog::ToDocument(QPointF widget) const
{
    return DocumentPoint(widget, m_zoom, HorizontalScrollValue(), VerticalScrollValue());
}

double Dialog::RecordingElapsedMs() const
{
    return m_bRecording && m_rec_time.isValid() ? double(m_rec_time.elapsed()) : -1.0;
}
