// The toolbar's tool commands: the long press that opens a button's row, and
// the pen, colour, width, transparency, draw, erase, object, zoom and note
// commands with the page steps.
#include "app/tool_commands.h"
#include "app/ui/dialog.h"
#include "app/ui/dialog_panels.h"
#include "app/ui/message_box.h"
#include "collab/coll_messages.h"
#include "ui_dialog.h"

#include <QDebug>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

namespace {

QString MessageText(const LanguageTexts& lang, int key)
{
    const int index = key - 100;
    return index >= 0 && index < lang.messages.size() ? lang.messages.at(index) : QString();
}

}  // namespace

// A toolbar button held down is polled on single-shot timers; at the limit
// its row opens, and a button let go before that runs its click action on
// the poll that finds it up. One counter serves every button.
bool Dialog::LongPressTaken(QPushButton* button, std::function<void()> poll, std::function<void()> openRow)
{
    if (button->isDown()) {
        if (m_longPressCount < m_longPressLimit) {
            ++m_longPressCount;
            QTimer::singleShot(m_longPressDelay, this, poll);
        } else {
            m_longPressCount = 0;
            openRow();
        }
        return true;
    }
    m_longPressCount = 0;
    // The click action follows this line at once, before any later input.
    qDebug().noquote() << QStringLiteral("toolbar button : %1").arg(button->objectName());
    return false;
}

void Dialog::CheckToolButton(QPushButton* button)
{
    for (QPushButton* b : {ui->drawbtn, ui->erasebtn, ui->objectbtn, ui->zoombtn})
        b->setChecked(false);
    button->setChecked(true);
}

void Dialog::ApplyToolCursor(int kind)
{
    if (kind == ekFree || kind == ekBrush)
        setCursor(m_config.cursor ? m_cursorPen : m_cursorBlank);
    else
        setCursor(m_cursorCross);
}

void Dialog::OptColorBtn()
{
    if (LongPressTaken(ui->colorbtn, [this]() { OptColorBtn(); }, [this]() { CreateColorSubBtn(); }))
        return;
    ui->mainbar->setFocus(Qt::OtherFocusReason);
    const UserSlots user = UserSlotsForLevel(m_collUserLevel);
    const int alpha = m_board.slot[user.reference].highlight ? 127 : 255;
    const QColor colour(m_currentPenColor.red(), m_currentPenColor.green(), m_currentPenColor.blue(), alpha);
    m_currentPenColor = colour;
    const bool own = m_collUserLevel == 0 || m_collUserLevel == 3;
    for (int i = own ? 0 : 10; i <= (own ? 9 : 10); ++i)
        m_board.slot[i].pen.setColor(colour);
    if (m_collConnected && m_collUserLevel != 1) {
        Coll_SendFrame("PENCOLOR_SET", coll::PenColorData(colour, m_collUserLevel));
        qDebug().noquote() << QStringLiteral("send : r=%1, g=%2, b=%3, a=%4, Lv=%5")
                                  .arg(colour.red()).arg(colour.green()).arg(colour.blue()).arg(alpha)
                                  .arg(m_collUserLevel);
    }
    OptDrawBtn(0, false, true, m_collUserLevel);
}

void Dialog::OptDrawBtn(int slot, bool send, bool setChecks, int level)
{
    if (level == -1 && m_collUserLevel == 2)
        slot = 10;
    if (LongPressTaken(ui->drawbtn, [this]() { OptDrawBtn(); }, [this]() { CreateDrawSubBtn(); }))
        return;
    const int own = m_collUserLevel;
    if (m_collConnected && (own == 3 || own == 2) && send)
        Coll_SendFrame("PENTYPE_SET", coll::PenTypeData(m_board.slot[own == 3 ? 0 : 10].m_curr_drawbtn, own));
    if (slot != 10) {
        for (int i = 0; i <= 9; ++i)
            m_board.slot[i].event_kind = EventKindFromName(m_board.slot[i].m_curr_drawbtn);
        if (own == 0 || own == 3)
            ApplyToolCursor(m_board.slot[0].event_kind);
    } else {
        m_board.slot[10].event_kind = EventKindFromName(m_board.slot[10].m_curr_drawbtn);
        if (own == 2)
            ApplyToolCursor(m_board.slot[10].event_kind);
    }
    if (SelectionFrameShown) {
        // RedrawPageObjects also cuts the visible part of a zoomed page.
        ClearSelection();
        RedrawPageObjects(true);
        SelectionFrameShown = false;
    }
    if (setChecks)
        CheckToolButton(ui->drawbtn);
    const int reference = (own == 0 || own == 3) ? 0 : 10;
    if (m_floatingMain)
        m_floatingMain->SetPenButtonImage(m_board.slot[reference].m_curr_drawbtn, m_board.slot[reference].highlight);
}

// Applies the width to the user's slots (the host's ten, or the writer's
// one) and, when asked, tells the peers, which draw our strokes with it.
void Dialog::ChangePenWidth_Send(bool send)
{
    const int level = m_collUserLevel;
    if (level == 1)
        return;
    const UserSlots user = UserSlotsForLevel(level);
    PointerSlotState& reference = m_board.slot[user.reference];
    const int width = reference.highlight ? m_specialPen.highlightWidth : m_penWidth;
    m_strokeMargin = width / 2 + 2;
    for (int i = user.first; i <= user.last; ++i)
        m_board.slot[i].pen.setWidth(width);
    if (m_floatingMain)
        m_floatingMain->SetPenButtonImage(reference.m_curr_drawbtn, reference.highlight);
    if (!m_collConnected || !send)
        return;
    const int sent = reference.pen.width();
    Coll_SendFrame("PENWIDTH_SET", coll::PenWidthData(sent, level));
    if (level == 0 || level == 3)
        qDebug().noquote() << QStringLiteral("send : penwidth=%1, Lv=%2").arg(sent).arg(level);
}

void Dialog::OptPenWidthBtn(bool send)
{
    if (LongPressTaken(ui->pwidthbtn, [this]() { OptPenWidthBtn(); }, [this]() { ShowPenWidthSlider(); }))
        return;
    ChangePenWidth_Send(send);
    OptDrawBtn(0, false, true, m_collUserLevel);
    ui->mainbar->setFocus(Qt::OtherFocusReason);
}

void Dialog::ShowPenWidthSlider()
{
    ClearSubBtn();
    m_subButtonRowOpen = true;
    {
        // Setting the sliders to the present width must not apply it again.
        const QSignalBlocker blockH(ui->horwidthslider);
        const QSignalBlocker blockV(ui->verwidthslider);
        ui->verwidthslider->setValue(m_penWidth - 1);
        ui->horwidthslider->setValue(m_penWidth - 1);
    }
    const QRect b = ui->pwidthbtn->geometry();
    const WidthSliderPlacement placed =
        PlaceWidthSlider(m_toolbarPosition, b.left(), b.top(), b.right(), b.bottom(), ui->verwidthslider->height(),
                         ui->horwidthslider->width(), m_widthSliderOffset);
    QSlider* slider = placed.vertical ? ui->verwidthslider : ui->horwidthslider;
    slider->move(placed.position);
    slider->setLayoutDirection(placed.rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
    m_subButtonRowRect = QRect(placed.areaFrom, placed.areaTo);
    slider->show();
    slider->raise();
    qDebug().noquote() << QStringLiteral("toolbar row open : %1").arg(ui->pwidthbtn->objectName());
}

// The new transparency of the user's slots, the colour's alpha that follows
// it, and the width that goes with it.
void Dialog::ApplyTransparency(bool on)
{
    const int level = m_collUserLevel;
    if (level == 1)
        return;
    const UserSlots user = UserSlotsForLevel(level);
    for (int i = user.first; i <= user.last; ++i)
        m_board.slot[i].highlight = on;
    if (m_collConnected)
        Coll_SendFrame("PENHIGHLIGHT_SET", coll::PenHighlightData(on, level));
    m_currentPenColor.setAlpha(m_board.slot[user.reference].highlight ? 127 : 255);
    for (int i = user.first; i <= user.last; ++i)
        m_board.slot[i].pen.setColor(m_currentPenColor);
    ChangePenWidth_Send(true);
}

void Dialog::OptTransBtn()
{
    // Runs on the press, before the checkable button toggles itself.
    ApplyTransparency(!ui->transbtn->isChecked());
}

void Dialog::OptTransBtnCheck(bool checked)
{
    ui->transbtn->setChecked(checked);
    ApplyTransparency(checked);
}

void Dialog::OptEraseBtn(bool send)
{
    SelectionFrameShown = false;
    ClearSelection();
    NoteObjectKeys.clear();
    const int level = m_collUserLevel;
    if (level == 1 && send)
        return;
    if (LongPressTaken(ui->erasebtn, [this]() { OptEraseBtn(); }, [this]() { CreateEraseSubBtn(); }))
        return;

    const int first = level == 2 ? 10 : 0;
    const int last = level == 2 ? 10 : 9;
    int remembered[kPointerSlotCount];
    for (int i = first; i <= last; ++i) {
        remembered[i] = m_board.slot[i].event_kind;
        m_board.slot[i].event_kind = EventKindFromName(m_eraseKey);
    }
    const auto restore = [&]() {
        for (int i = first; i <= last; ++i)
            m_board.slot[i].event_kind = remembered[i];
    };
    const int reference = level == 2 ? 10 : 0;
    if (m_board.slot[reference].event_kind == ekEraseAll) {
        if (m_config.erase && level == 0) {
            const QMessageBox::StandardButton answer =
                ui::ShowMessageBox(QMessageBox::Question, this, QStringLiteral("Confirm"), MessageText(m_lang, 121),
                                   QMessageBox::Yes | QMessageBox::No, QMessageBox::NoButton);
            if (answer == QMessageBox::No) {
                restore();
                return;
            }
        }
        if (((m_collConnected && level == 3) || level == 2) && send)
            Coll_SendFrame("REALTIME_EVENT", coll::EraseAllEventData(ekEraseAll));
        // Erasing everything is an action, not a tool.
        restore();
        NoteEraseAll(true);
        SetFreePenMode(true);
        if (level == 1 || level == 2) {
            SetPageLabelGeometry(true, m_hostNoteIndex, m_hostNoteCount);
            UpdatePageLabel(false, m_hostNoteIndex, m_hostNoteCount);
        } else {
            UpdatePageLabel(false, 0, 1);
        }
        if (m_floatingMain)
            m_floatingMain->SetPenButtonImage(m_eraseKey, false);
        return;
    }
    CheckToolButton(ui->erasebtn);
    setCursor(m_cursorPointingHand);
    if (m_floatingMain)
        m_floatingMain->SetPenButtonImage(m_eraseKey, false);
}

void Dialog::OptObjectBtn()
{
    if (LongPressTaken(ui->objectbtn, [this]() { OptObjectBtn(); }, [this]() { CreateObjectSubBtn(); }))
        return;
    const int level = m_collUserLevel;
    const int kind = EventKindFromName(m_selectKey);
    if (level == 2) {
        m_board.slot[10].event_kind = kind;
    } else if (level == 0 || level == 3) {
        for (int i = 0; i <= 9; ++i)
            m_board.slot[i].event_kind = kind;
    }
    const int reference = level == 2 ? 10 : 0;
    if (m_board.slot[reference].event_kind == ekMoveAll) {
        SelectAllOnNote();
        setCursor(m_cursorSizeAll);
    } else {
        setCursor(m_cursorPointingHand);
    }
    CheckToolButton(ui->objectbtn);
    if (m_floatingMain)
        m_floatingMain->SetPenButtonImage(m_selectKey, false);
}

void Dialog::OptZoomBtn_SetData_Contents()
{
    m_recordZoom = true;
    OptZoomBtn();
}

void Dialog::OptZoomBtn()
{
    if (LongPressTaken(ui->zoombtn, [this]() { OptZoomBtn(); }, [this]() { CreateZoomSubBtn(); }))
        return;
    m_savedViewImage = m_viewImage;
    if (m_navi)
        m_navi->setGeometry(m_view_width - 231, m_view_height - 159, 211, 139);
    qDebug().noquote() << QStringLiteral("OptZoomBtn : view %1 x %2").arg(m_view_width).arg(m_view_height);
    if (m_collUserLevel == 0 || m_collUserLevel == 3) {
        for (int i = 0; i <= 9; ++i)
            m_board.slot[i].event_kind = EventKindFromName(m_zoomKey);
    }
    const ZoomStep step = ZoomStepFor(m_board.slot[0].event_kind, m_zoom);
    const auto refuse = [this]() {
        RedrawPageObjects(true);
        ui::ShowMessageBox(QMessageBox::Warning, this, QStringLiteral("Zoom"), MessageText(m_lang, 126),
                           QMessageBox::Yes);
    };
    switch (step.action) {
    case ZoomStep::Fixed:
        if (!ScaleImageToView(float(step.target))) {
            refuse();
            return;
        }
        ZoomByScale(float(step.target));
        break;
    case ZoomStep::Rectangle:
        setCursor(m_cursorCross);
        break;
    case ZoomStep::TooFar:
        refuse();
        return;
    case ZoomStep::StepIn:
        if (!ScaleImageToView(float(step.target))) {
            refuse();
            return;
        }
        ZoomByScale(0.2f);
        break;
    case ZoomStep::ClampOut:
        if (!ScaleImageToView(1.0f)) {
            refuse();
            return;
        }
        ZoomByScale(1.0f);
        break;
    case ZoomStep::StepOut:
        ZoomByScale(-0.2f);
        break;
    case ZoomStep::None:
        break;
    }
    if (m_board.slot[0].event_kind != ekZoomRect) {
        m_board.slot[0].event_kind = ekFree;
        setCursor(m_cursorPen);
    }
    ClearSelection();
    CheckToolButton(ui->zoombtn);
}

void Dialog::OptNoteBtn(bool send)
{
    if (LongPressTaken(ui->notebtn, [this]() { OptNoteBtn(); }, [this]() { CreateNoteSubBtn(); }))
        return;
    const QString kind = m_noteKind;
    const bool fromFile = kind == QLatin1String("Office") || kind == QLatin1String("ClipArt")
                          || kind == QLatin1String("LoadImage");
    if (m_zoom != 1.0)
        ClickZoomBtn(QStringLiteral("ekZoomFix1"), fromFile);
    ui->horizontalScrollBar->setValue(0);
    ui->verticalScrollBar->setValue(0);

    const QString pageName = NotePageNameForKey(kind);
    if (!pageName.isEmpty()) {
        CreateNotePage(1, pageName, QString(), false);
    } else if (kind == QLatin1String("Office")) {
        ShowImportMsgOrOpen();
    } else if (kind == QLatin1String("ClipArt")) {
        if (m_clipart) {
            m_clipart->SetLanguageText(&m_lang.common, &m_lang.clipart);
            m_clipart->show();
        }
    } else if (kind == QLatin1String("LoadImage")) {
        LoadImageFile();
    } else {
        qDebug().noquote() << QStringLiteral("exe : unknown note kind %1").arg(kind);
        return;
    }
    if (m_collConnected && send && m_collUserLevel == 3 && !fromFile) {
        Coll_Send_NoteBtn(0, QString(), kind);
        Coll_Send_NoteData(0, QString(), 1);
        Coll_Send_NoteIdx(0, QString());
    }
}

// Previous (direction 1) and next (direction 2) page.
void Dialog::StepNote(int direction, bool remote)
{
    const int level = m_collUserLevel;
    if (level != 0 && !remote) {
        const bool toolRight = (level == 3 || level == 2) && ToolRightHeld();
        if (!(level == 3 && toolRight)) {
            if (level == 2 && toolRight)
                Coll_Send_ChangeNote(0, QString(), direction);
            return;
        }
    }
    // A page that does not exist is no step: the launcher's buttons and a
    // stale peer request are not held back by the disabled toolbar buttons.
    const int next = m_note_idx + (direction == 1 ? -1 : 1);
    if (next < 0 || next >= m_note_list.size()) {
        qDebug().noquote() << QStringLiteral("exe : no page %1 of %2").arg(next + 1).arg(m_note_list.size());
        return;
    }
    if (level == 3) {
        for (int slot = 0; slot <= 9; ++slot) {
            const PointerSlotState& s = m_board.slot[slot];
            if (s.pressed)
                PointerRelease(slot, s.current.x(), s.current.y(), true, false);
        }
        if (m_board.slot[10].pressed) {
            // The writer lets go first; the change is asked for again then.
            Coll_Send_MouseRelease(0, QString(), direction);
            return;
        }
    }
    HidePagePanels();
    if (m_zoom != 1.0)
        ClickZoomBtn(QStringLiteral("ekZoomFix1"), false);
    SaveCurrentNoteImage(false);
    m_note_idx = next;
    NoteChangeWorker();
}

void Dialog::OptPreNoteBtn(bool remote) { StepNote(1, remote); }
void Dialog::OptPostNoteBtn(bool remote) { StepNote(2, remote); }

void Dialog::ChangePenWidth(int index, bool flag)
{
    m_penWidth = index + 1;
    m_penWidthStored = m_penWidth;
    m_companionWidth = index + 6;
    SetButtonStyle(ui->pwidthbtn, Scaled(40, m_scale), Scaled(36, m_scale), QStringLiteral("Pwid%1").arg(index));
    OptPenWidthBtn(flag);
}

// A new board starts with the default tools: white board, black ink, the
// thinnest width, no transparency and 100 %.
void Dialog::ResetToolbarForNewBoard()
{
    const int w = Scaled(40, m_scale);
    const int h = Scaled(36, m_scale);
    m_noteKind = QStringLiteral("WhiteBoard");
    SetButtonStyle(ui->notebtn, w, h, m_noteKind);
    SetButtonStyle(ui->colorbtn, w, h, QStringLiteral("black"));
    ChangePenWidth(1, true);
    ui->transbtn->setChecked(false);
    ui->transbtn->setEnabled(true);
    m_recordZoom = false;
    ClearSubBtn();
    m_zoomKey = QStringLiteral("ekZoomFix1");
    SetButtonStyle(ui->zoombtn, w, h, m_zoomKey);
    OptZoomBtn();
}
