// Commands that open things beside the board: window mode, the main menu,
// the floating panels, the instruments and their figures, and the small
// switches of the view, the preview and the master-mode options.
#include "app/tool_commands.h"
#include "app/ui/dialog.h"
#include "app/ui/dialog_panels.h"
#include "app/utilities.h"
#include "ui_dialog.h"

#include <QCursor>
#include <QDebug>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSystemTrayIcon>

void Dialog::OptWinBtn()
{
    // Window mode leaves the desktop to the user; the tray icon, or the
    // small window that stands in for it, is the way back.
    CloseOnScreenKeyboard();
    const QWidget* instruments[5] = {m_compass, m_protractor, m_ruler, m_blind, m_spot};
    for (int i = 0; i < 5; ++i)
        m_windowModeInstruments[i] = instruments[i] && instruments[i]->isVisible();
    m_windowModePreview = m_previewRect.x() > 0 && m_previewRect.y() > 0;
    if (m_windowModePreview)
        UpdatePreview(false);
    for (QWidget* w : std::initializer_list<QWidget*>{m_compass, m_protractor, m_ruler}) {
        if (w)
            w->close();
    }
    for (QWidget* w : std::initializer_list<QWidget*>{m_blind, m_spot}) {
        if (w)
            w->hide();
    }
    if (m_zoom != 1.0)
        ClickZoomBtn(QStringLiteral("ekZoomFix1"), true);

    emit MainDlgDisplay(0);
    ClearSubBtn();
    hide();
    if (m_floatingMain)
        m_floatingMain->hide();
    if (m_floatingChangeMode)
        m_floatingChangeMode->hide();
    if (m_collUserLevel == 3) {
        ui->btn_show_userListDlg->hide();
        if (m_collUserListDlg)
            m_collUserListDlg->hide();
    }
    ShowWindowModeReturn(true);
    if (m_trayIcon && m_trayIcon->isVisible()) {
        const int hintIndex = 951 - 900;
        const QString hint = hintIndex < m_lang.hint.size() ? m_lang.hint.at(hintIndex) : QString();
        m_trayIcon->showMessage(QStringLiteral("Dravik Window Mode"), hint, QSystemTrayIcon::Information, 10000);
    }
    if (m_usbDevice)
        StopUsbLink();
    else
        SendPenDriverMode(QStringLiteral("Window"));
}

void Dialog::OptMenuBtn()
{
    ClearSubBtn();
    if (!m_mainMenu)
        return;
    const QSize size = m_mainMenu->sizeHint();
    const QPoint at = MainMenuPosition(m_toolbarPosition, QCursor::pos(), size.width(), size.height(),
                                       m_view_height, ui->logbtn->height());
    m_mainMenu->popup(at);
}

void Dialog::OptFloating_Movehere()
{
    const QPoint at = QCursor::pos() - QPoint(93, 93);
    m_floatingPosition = at;
    if (m_floatingMain)
        m_floatingMain->setGeometry(at.x(), at.y(), 187, 187);
    OptSubAlign(at);
}

namespace {

// Every opener shows one panel alone, with no button marked.
void ShowSubPanel(FloatingSubPanel* panel)
{
    if (!panel)
        return;
    panel->SetHoverButton(nullptr, false);
    panel->show();
}

}  // namespace

void Dialog::OptColorDialog()
{
    HidePagePanels();
    if (!m_floatingColor)
        return;
    m_floatingColor->SetCurrentColor(m_currentPenColor.name(QColor::HexRgb), m_penWidth, m_config.FPenWidth1,
                                     m_config.FPenWidth2, m_config.FPenWidth3, m_config.FPenWidth4);
    ShowSubPanel(m_floatingColor);
}

void Dialog::OptEraserDialog()
{
    HidePagePanels();
    if (!m_floatingEraser)
        return;
    if (m_collUserLevel == 0 || ((m_collUserLevel == 2 || m_collUserLevel == 3) && ToolRightHeld()))
        m_floatingEraser->SetEraserKey(m_eraseKey);
    ShowSubPanel(m_floatingEraser);
}

void Dialog::OptFigureDialog()
{
    HidePagePanels();
    if (!m_floatingFigure)
        return;
    const int reference = (m_collUserLevel == 0 || m_collUserLevel == 3) ? 0 : 10;
    // Marking the figure also chooses it, through the panel's signal.
    m_floatingFigure->SetFigureKey(m_board.slot[reference].m_curr_drawbtn);
    m_floatingFigure->SetTransChecked(m_board.slot[reference].highlight);
    ShowSubPanel(m_floatingFigure);
}

void Dialog::OptNoteDialog()
{
    HidePagePanels();
    ShowSubPanel(m_floatingNote);
}

void Dialog::OptChangeDialog()
{
    HidePagePanels();
    if (!m_floatingChangeMode)
        return;
    if (m_collUserLevel == 0 || ((m_collUserLevel == 2 || m_collUserLevel == 3) && ToolRightHeld()))
        m_floatingChangeMode->SetSelectKey(m_selectKey);
    ShowSubPanel(m_floatingChangeMode);
}

void Dialog::OptZoomDialog()
{
    HidePagePanels();
    if (!m_floatingZoom)
        return;
    if (m_collUserLevel == 0 || ((m_collUserLevel == 2 || m_collUserLevel == 3) && ToolRightHeld()))
        m_floatingZoom->SetZoomKey(m_zoomKey);
    ShowSubPanel(m_floatingZoom);
}

// The instruments never draw themselves: their figures are replayed through
// the pointer primitives in the user's slot, with that slot's tool set for
// the time of the figure.
void Dialog::DrawInstrumentFigure(int kind, const QString& key, const std::function<void(int slot)>& replay)
{
    const int level = m_collUserLevel;
    // A viewer draws nothing on its own board.
    if (level == 1)
        return;
    const int slot = level == 2 ? 10 : 0;
    PointerSlotState& s = m_board.slot[slot];
    const int keptKind = s.event_kind;
    const QString keptKey = s.m_curr_drawbtn;
    s.event_kind = kind;
    s.m_curr_drawbtn = key;
    if (level == 2 || level == 3)
        Coll_Send_DataInfo(0, QString(), level);
    replay(slot);
    s.event_kind = keptKind;
    s.m_curr_drawbtn = keptKey;
    if (level == 2 || level == 3)
        Coll_Send_DataInfo(0, QString(), level);
}

void Dialog::OptTool_DrawLine(QPoint from, QPoint to)
{
    DrawInstrumentFigure(ekLine, QStringLiteral("ekLine"), [&](int slot) {
        PointerPress(slot, from.x(), from.y(), true, false);
        PointerRelease(slot, to.x(), to.y(), true, false);
    });
}

void Dialog::OptTool_DrawEllipse(QRect circle)
{
    DrawInstrumentFigure(ekEllipse, QStringLiteral("ekEllipse"), [&](int slot) {
        PointerPress(slot, circle.topLeft().x(), circle.topLeft().y(), true, false);
        PointerRelease(slot, circle.bottomRight().x(), circle.bottomRight().y(), true, false);
    });
}

void Dialog::OptTool_DrawArc(QRect circle, int startAngle, int endAngle)
{
    const QPoint centre = circle.center();
    const int radius = circle.width() / 2;
    DrawInstrumentFigure(ekFree, QStringLiteral("ekFree"), [&](int slot) {
        const QPoint first = ArcPoint(centre, radius, startAngle);
        PointerPress(slot, first.x(), first.y(), true, true);
        for (int a : ArcMoveAngles(startAngle, endAngle)) {
            const QPoint p = ArcPoint(centre, radius, a);
            PointerMove(slot, p.x(), p.y(), true, true);
        }
        const QPoint last = ArcPoint(centre, radius, endAngle);
        PointerRelease(slot, last.x(), last.y(), true, true);
    });
}

void Dialog::OptMenuRuler()
{
    if (m_ruler)
        m_ruler->show();
}

void Dialog::OptMenuProtractor()
{
    if (m_protractor)
        m_protractor->show();
}

void Dialog::OptMenuCompass()
{
    if (m_compass)
        m_compass->show();
}

void Dialog::OptToolBlind()
{
    if (!m_blind)
        return;
    m_blind->ShowOnScreen(m_toolbarPosition, m_view_width, m_view_height);
    m_blind->show();
    KeepLauncherAbove();
}

void Dialog::OptToolSpot()
{
    if (!m_spot)
        return;
    m_spot->SetSpotMask(m_toolbarPosition, m_view_width, m_view_height);
    m_spot->show();
    KeepLauncherAbove();
}

// At the floating position a cover spans the whole screen; the launcher
// stays above it so the tools remain at hand.
void Dialog::KeepLauncherAbove()
{
    if (m_toolbarPosition == 4 && m_floatingMain && m_floatingMain->isVisible())
        m_floatingMain->raise();
}

void Dialog::OptViewBtn(int mode)
{
    if (mode == 0) {
        UpdatePreview(ui->viewbtn->isChecked());
    } else if (mode == 1 && (m_bRecording || m_bScreenRecording)) {
        UpdatePreview(m_previewHidden);
        m_previewHidden = !m_previewHidden;
    }
}

void Dialog::OptViewLocationBtn()
{
    if (LongPressTaken(ui->viewlocationbtn, [this]() { OptViewLocationBtn(); },
                       [this]() { CreateViewLocationSubBtn(); }))
        return;
    static const char* const kCorners[] = {"LeftTop", "LeftBottom", "RightTop", "RightBottom"};
    for (int i = 0; i < 4; ++i) {
        if (m_viewLocationKey == QLatin1String(kCorners[i])) {
            m_config.ViewPos = i;
            UpdatePreview(true);
            return;
        }
    }
}

void Dialog::OptCursor(bool on)
{
    m_cursorImage = on;
    if (on) {
        if (!m_cursorLabel) {
            m_cursorLabel = new QLabel(this);
            m_cursorLabel->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
            m_cursorLabel->setPixmap(QPixmap(QStringLiteral(":/Cursor/pen")));
        }
    } else {
        delete m_cursorLabel;
        m_cursorLabel = nullptr;
    }
}

void Dialog::OptInterpolation(bool on) { m_interpolation = on; }
void Dialog::OptAntialiasing(bool on) { m_antialiasing = on; }

void Dialog::OptStrovaBtn()
{
    if (!m_strovaDlg)
        return;
    m_strovaDlg->SetLanguage(&m_lang.common, &m_lang.upload);
    m_strovaDlg->SetSaveInfo(m_config.ID, m_config.SaveID, m_config.Server, m_config.Port);
    m_strovaDlg->exec();
}

void Dialog::CloseNoteListDialog()
{
    QStringList order;
    for (const NoteInfo& note : qAsConst(m_note_list))
        order << note.create_data;
    if (order != m_noteOrderAtListOpen)
        m_boardModified = true;
    SetPageLabelGeometry(false, 0, 0);
    UpdatePageLabel(true, 0, 1);
    if (m_usbDevice)
        StartUsbLink();
}
