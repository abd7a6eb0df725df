// Where the toolbar lies (bottom, top, left, right), what its buttons allow
// for the own collaboration role, the scroll bars and sub-button rows around
// it, and the return to the free pen.
#include "app/ui/dialog.h"
#include "app/ui/dialog_panels.h"
#include "panels/floating_panels.h"
#include "ui_dialog.h"

#include <QAction>
#include <QGuiApplication>
#include <QScreen>
#include <QDebug>
#include <QMovie>
#include <QPushButton>

#include <array>

void Dialog::SetTollPosEnable()
{
    for (QAction* action : m_toolPosActions) {
        if (action)
            action->setEnabled(true);
    }
    if (m_floatingMain)
        m_floatingMain->hide();
    // The actions are kept in the order bottom, top, left, right, floating,
    // which is also the order of the position codes.
    if (m_toolbarPosition >= 0 && m_toolbarPosition <= 4) {
        if (QAction* current = m_toolPosActions[m_toolbarPosition])
            current->setEnabled(false);
        if (m_toolbarPosition == 4) {
            qDebug() << "SetTollPosEnable";
            if (m_floatingMain) {
                m_floatingMain->show();
                m_floatingMain->raise();
            }
        }
    }
}

void Dialog::PlaceScrollBars()
{
    const ScrollBarRects r = ScrollBarGeometry(m_toolbarPosition, m_canvasLeft, m_canvasWidth, m_canvasHeight, m_scale,
                                               m_scrollBarThickness);
    ui->horizontalScrollBar->setGeometry(r.horizontal);
    ui->verticalScrollBar->setGeometry(r.vertical);
}

void Dialog::PlaceSubButtonRow(QWidget* button)
{
    const QRect g = button->geometry();
    m_subButtonRowOpen = true;
    const QSize buttonSize = m_subButtons.isEmpty() ? QSize() : m_subButtons.first()->size();
    const SubButtonRowPlacement placed =
        PlaceRowButtons(m_toolbarPosition, g.topLeft(), g.bottomRight(), buttonSize,
                        m_subButtons.size(), m_scale);
    for (int i = 0; i < m_subButtons.size(); ++i) {
        m_subButtons[i]->move(placed.positions[i]);
        m_subButtons[i]->show();
        m_subButtons[i]->raise();
    }
    m_subButtonRowRect = placed.area;
}

void Dialog::SetFreePenMode(bool allSlots)
{
    ui->transbtn->setEnabled(true);
    const bool own = m_collUserLevel == 0 || m_collUserLevel == 3;
    const bool writer = m_collUserLevel == 2;
    auto freePen = [this](int first, int last) {
        for (int i = first; i <= last; ++i) {
            m_board.slot[i].m_curr_drawbtn = QStringLiteral("ekFree");
            m_board.slot[i].event_kind = ekFree;
        }
        SetButtonStyle(ui->drawbtn, Scaled(40, m_scale), Scaled(36, m_scale), QStringLiteral("ekFree"));
    };
    if (own || allSlots)
        freePen(0, kPointerSlotCount - 2);
    if (writer || allSlots)
        freePen(kPointerSlotCount - 1, kPointerSlotCount - 1);
    setCursor(m_config.cursor ? m_cursorPen : m_cursorBlank);
    for (QPushButton* b : {ui->drawbtn, ui->erasebtn, ui->objectbtn, ui->zoombtn})
        b->setChecked(false);
    ui->drawbtn->setChecked(true);
    // The launcher's centre shows the tool the pen now draws with, not the
    // eraser, zoom or capture tool that was chosen before.
    if (m_floatingMain) {
        if (own || allSlots)
            m_floatingMain->SetPenButtonImage(m_board.slot[0].m_curr_drawbtn, m_board.slot[0].highlight);
        if (writer || allSlots) {
            const auto& last = m_board.slot[kPointerSlotCount - 1];
            m_floatingMain->SetPenButtonImage(last.m_curr_drawbtn, last.highlight);
        }
    }
}

void Dialog::OptSubAlign(QPoint p)
{
    m_floatingPosition = p;
    // Hidden panels move too, so the next one opens centred on the launcher.
    for (FloatingSubPanel* panel : std::initializer_list<FloatingSubPanel*>{
             m_floatingColor, m_floatingEraser, m_floatingFigure, m_floatingNote, m_floatingChangeMode,
             m_floatingRec, m_floatingZoom}) {
        if (panel)
            panel->MoveTo(p.x(), p.y());
    }
}

namespace {

void ApplyPosition(Dialog& d, int position)
{
    d.HidePagePanels();
    d.m_toolbarPosition = position;
    if (d.m_toolbarPosition != 4)
        d.SetModeButtonStates();
    d.SetToolbarPosition();
    d.SetTollPosEnable();
    d.UpdatePageLabel(true, 0, 1);
    if (d.m_moveHereAction)
        d.m_moveHereAction->setVisible(d.m_toolbarPosition == 4);
}

}  // namespace

void Dialog::OptToolPosBottom() { ApplyPosition(*this, 0); }
void Dialog::OptToolPosTop() { ApplyPosition(*this, 1); }
void Dialog::OptToolPosLeft() { ApplyPosition(*this, 2); }
void Dialog::OptToolPosRight() { ApplyPosition(*this, 3); }
void Dialog::OptToolPosFloat() { ApplyPosition(*this, 4); }

void Dialog::SetToolbarPosition()
{
    const int p = m_toolbarPosition;
    const bool separator[] = {false, false, true, false, false, true, false, true, false, false, true,
                              false, true, false, false, false, true, false, false, true, false, false,
                              false, false, false, true, false, false, false, false, false};
    if (p >= 0 && p <= 3) {
        ui->mainbar->setGeometry(QRect(m_placement.barOrigin[p], m_placement.barSize[p]));
        const bool horizontal = p <= 1;
        ui->mainbar->setStyleSheet(horizontal ? QStringLiteral("border-image: url(:/Bar/topbottom);")
                                              : QStringLiteral("border-image: url(:/Bar/leftright);"));
        ui->mainbar->show();
        if (horizontal) {
            ui->logbtn->resize(Scaled(96, m_scale), Scaled(45, m_scale));
            ui->logbtn->setStyleSheet(QStringLiteral("QPushButton {border:none; border-image: url(:/Logo/topbottom);}"));
        } else {
            ui->logbtn->resize(48, 70);
            ui->logbtn->setStyleSheet(QStringLiteral("QPushButton {border:none; border-image: url(:/Logo/leftright);}"));
        }
        SetSeparatorStyle();
        QPoint at = m_placement.insetOrigin[p];
        for (int i = 0; i < m_toolbarButtons.size(); ++i) {
            QWidget* b = m_toolbarButtons[i];
            b->show();
            if (b == ui->logbtn)
                b->move(m_placement.barOrigin[p]);
            else if (i < int(sizeof separator) && separator[i])
                b->move(horizontal ? at + QPoint(0, -4) : at + QPoint(-4, 0));
            else
                b->move(at);
            b->raise();
            if (horizontal)
                at.rx() += b->width();
            else
                at.ry() += b->height();
        }
    } else if (p == 4) {
        ui->mainbar->hide();
        // A kept place that leaves the launcher or its panels' ring off the
        // screen is of no use: nobody could reach the buttons there.
        const QPoint middle = m_floatingPosition + QPoint(kLauncherSize / 2, kLauncherSize / 2);
        const QScreen* screen = QGuiApplication::screenAt(middle);
        if (!screen)
            screen = window()->screen();
        if (screen)
            m_floatingPosition = LauncherPlace(m_floatingPosition, screen->geometry());
        if (m_floatingMain)
            m_floatingMain->setGeometry(QRect(m_floatingPosition, QSize(kLauncherSize, kLauncherSize)));
        OptSubAlign(m_floatingPosition);
        for (QWidget* b : qAsConst(m_toolbarButtons))
            b->hide();
    }
    PlaceScrollBars();
    SetPageLabelGeometry(false, 0, 0);
    ui->viewbtn->hide();
    ui->viewlocationbtn->hide();
    ui->viewlocationsubbtn->hide();
    SetToolbarByRole(m_collUserLevel, false);
    if (!m_bCaptureLibLoaded)
        ui->recbtn->hide();
}

namespace {

// One entry of the role table: -1 leaves the control as it is.
enum Cell { Same = -1, Off = 0, On = 1 };

// Columns: alone, viewer, writer with and without the tool right, host with
// and without it, and no collaboration library.
using RoleRow = std::array<int, 7>;

void Enable(const QList<QWidget*>& widgets, int cell)
{
    if (cell == Same)
        return;
    for (QWidget* w : widgets)
        w->setEnabled(cell == On);
}

void Show(const QList<QWidget*>& widgets, int cell)
{
    if (cell == Same)
        return;
    for (QWidget* w : widgets)
        w->setVisible(cell == On);
}

}  // namespace

void Dialog::SetToolbarByRole(int level, bool force)
{
    int column = 6;
    if (m_collLibraryLoaded) {
        if (level < 0 || level > 3)
            return;
        const bool toolRight = ToolRightHeld();
        const int columns[] = {0, 1, toolRight ? 2 : 3, toolRight ? 4 : 5};
        column = columns[level];
    }
    const bool floating = m_toolbarPosition == 4;
    auto cell = [column](const RoleRow& row) { return row[column]; };
    const int S = Same;

    if (force) {
        for (QAction* a : qAsConst(m_roleActions)) {
            if (a)
                a->setEnabled(cell({On, Off, On, On, On, On, On}) == On);
        }
    }
    const int userList = cell({Off, Off, Off, Off, On, On, Off});
    const int connect = cell({S, On, On, On, On, On, Off});
    Show({ui->btn_show_userListDlg}, userList);
    // The floating launcher carries its own connect and address buttons; the
    // bar's stay as they are, apart from going away without the library.
    if (!floating) {
        Show({ui->btn_show_IP}, userList);
        Show({ui->btn_show_collconnectDlg}, connect);
    } else if (connect == Off) {
        ui->btn_show_collconnectDlg->hide();
    }
    // The permission indicators keep their size and tooltip: only their
    // sheet changes.
    const char* writeImage[] = {nullptr, "write_off", "write_on", "write_on", "write_on", "write_on", nullptr};
    const char* toolImage[] = {nullptr, "Tool_off", "Tool_on", "Tool_off", "Tool_on", "Tool_off", nullptr};
    if (column == 0 || column == 6) {
        ui->btn_isWrite->hide();
        ui->btn_isTool->hide();
    } else if (!floating) {
        QString unused;
        ui->btn_isWrite->setStyleSheet(MakeButtonStyleSheet(QLatin1String(writeImage[column]), unused));
        ui->btn_isTool->setStyleSheet(MakeButtonStyleSheet(QLatin1String(toolImage[column]), unused));
        ui->btn_isWrite->show();
        ui->btn_isTool->show();
    }

    Enable({ui->notebtn, ui->windowbtn}, cell({On, Off, Off, Off, On, S, On}));
    Enable({ui->colorbtn, ui->pwidthbtn, ui->drawbtn, ui->horwidthslider, ui->verwidthslider, ui->colorsubbtn,
            ui->pwidthsubbtn, ui->drawsubbtn},
           cell({On, Off, On, On, On, S, On}));
    Enable({ui->transbtn}, cell({S, Off, On, On, On, S, On}));
    Enable({ui->erasebtn, ui->erasesubbtn, ui->objectbtn}, cell({On, Off, On, Off, On, Off, On}));
    const int pageButtons = cell({S, Off, On, Off, S, S, S});
    Enable({ui->prebtn, ui->postbtn}, pageButtons);
    if (pageButtons == Off && m_floatingMain) {
        m_floatingMain->SetPrevDisabled(true);
        m_floatingMain->SetNextDisabled(true);
    }
    if (cell({S, On, On, On, On, S, S}) == On) {
        m_selectKey = QStringLiteral("ekSelect");
        SetButtonStyle(ui->objectbtn, Scaled(40, m_scale), Scaled(36, m_scale), m_selectKey);
    }
    Enable({ui->zoombtn, ui->objectsubbtn, ui->zoomsubbtn}, cell({On, Off, Off, Off, Off, S, On}));
    // The launcher's sub-panels follow the bar buttons they stand for; a
    // writer without the tool right keeps a floating bar's note, recording
    // and zoom panels as they are but loses its eraser panel.
    auto present = [](std::initializer_list<QWidget*> widgets) {
        QList<QWidget*> found;
        for (QWidget* w : widgets) {
            if (w)
                found << w;
        }
        return found;
    };
    const bool floatingWriterWithout = floating && column == 3;
    Enable(present({m_floatingColor, m_floatingFigure}), cell({On, Off, On, On, On, S, On}));
    Enable(present({m_floatingEraser}), floatingWriterWithout ? Off : cell({On, Off, On, On, On, Off, On}));
    Enable(present({m_floatingZoom}), floatingWriterWithout ? S : cell({On, Off, Off, Off, Off, S, On}));
    Enable(present({m_floatingNote, m_floatingRec}), floatingWriterWithout ? S : cell({On, Off, Off, Off, On, S, On}));
    SetPanelButtonsByRole(column, floating);
    Enable({ui->notelistbtn}, cell({On, Off, Off, Off, On, Off, On}));
    Enable({ui->viewbtn, ui->viewlocationbtn, ui->notesubbtn, ui->viewlocationsubbtn},
           cell({On, Off, Off, Off, On, S, On}));
    if (!(floating && column == 0))
        Enable({ui->recbtn}, cell({On, Off, Off, Off, On, S, On}));
    if (cell({On, S, S, S, On, On, On}) == On)
        SetNoteNaviEnable();
    if (cell({S, S, On, S, S, S, S}) == On)
        SetPageNaviEnable(m_hostNoteIndex, m_hostNoteCount);
    if (cell({S, S, S, S, On, On, S}) == On)
        UpdatePrevNextButtons();
    Enable({ui->verticalScrollBar, ui->horizontalScrollBar}, cell({On, Off, Off, Off, On, On, On}));
    if (force) {
        const bool fileOn = cell({On, Off, Off, Off, On, On, On}) == On;
        for (QAction* a : qAsConst(m_fileActions)) {
            if (a)
                a->setEnabled(fileOn);
        }
    }
}

void Dialog::SetPanelButtonsByRole(int column, bool floating)
{
    auto cell = [column](const RoleRow& row) { return row[column]; };
    const int S = Same;
    const bool writer = column == 2 || column == 3;
    const bool toolRight = column == 2 || column == 4;
    if (m_floatingFigure) {
        const int smart = cell({On, Off, Off, Off, On, S, On});
        if (smart != Same)
            m_floatingFigure->SetSmartVisible(smart == On);
    }
    if (m_floatingNote) {
        // On the launcher a host hands the note list on with the tool right.
        const int noteList = floating ? cell({On, S, S, S, On, Off, S}) : cell({On, S, S, S, S, S, S});
        if (noteList != Same)
            m_floatingNote->SetNoteListEnabled(noteList == On);
    }
    if (!m_floatingChangeMode)
        return;
    floatingchangemode* modes = m_floatingChangeMode;
    if (floating && writer) {
        // A writer on the launcher changes modes only with the tool right,
        // and never moves the whole page.
        modes->SetSelectEnabled(toolRight);
        modes->SetSwapModeEnabled(toolRight);
        if (toolRight)
            modes->SetMoveAllEnabled(false);
    } else {
        const int all = cell({On, Off, On, On, S, S, On});
        if (all != Same)
            modes->SetModeButtonsEnabled(all == On);
    }
    const int select = cell({S, S, S, S, On, Off, S});
    if (select != Same)
        modes->SetSelectEnabled(select == On);
    if (column == 4) {
        modes->SetSwapModeEnabled(true);
        modes->SetMoveAllEnabled(false);
    }
    if (column == 6) {
        modes->SetConnectVisible(false);
        modes->SetIpVisible(false);
    } else if (floating) {
        modes->SetConnectVisible(true);
        modes->SetIpVisible(column == 4 || column == 5);
    }
}

// Called again, it lets the previous animation go first.
void Dialog::ShowLoading()
{
    if (m_loadingMovie) {
        m_loadingMovie->stop();
        m_loadingMovie->deleteLater();
    }
    m_loadingMovie = new QMovie(QStringLiteral(":/Etc/Loding"));
    ui->label_gif->setMovie(m_loadingMovie);
    if (!m_loadingMovie->isValid()) {
        qDebug().noquote() << " exe : gif error ";
        AddDebugLine(QStringLiteral(" exe : gif error "), 1);
    }
    ui->label_gif->setGeometry(100, 100, width() - 200, height() - 200);
    ui->label_gif->setAlignment(Qt::AlignCenter);
    m_loadingMovie->start();
    ui->label_gif->show();
}

void Dialog::HideLoading()
{
    ui->label_gif->hide();
    ui->label_gif->setMovie(nullptr);
    if (m_loadingMovie) {
        m_loadingMovie->stop();
        m_loadingMovie->deleteLater();
        m_loadingMovie = nullptr;
    }
}
