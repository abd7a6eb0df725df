// The toolbar's button table, the style sheets it gives the buttons, and the
// images and tool keys the buttons start with.
#include "app/ui/dialog.h"
#include "panels/floating_panels.h"
#include "ui_dialog.h"

#include <QPushButton>

void Dialog::AppendTextRecord(QString key, QString group, QString stem, QString tooltip, QString disabledA,
                              QString disabledB)
{
    ButtonRecord r;
    r.Key = key;
    r.Group = group;
    r.Image1 = stem + QLatin1Char('1');
    r.Image2 = stem + QLatin1Char('2');
    r.Image3 = stem + QLatin1Char('3');
    r.Image4 = stem + QLatin1Char('4');
    r.Image5 = stem + QLatin1Char('5');
    r.Image6 = stem + QLatin1Char('6');
    r.ToolTip = tooltip;
    r.DisabledImageA = disabledA;
    r.DisabledImageB = disabledB;
    ButtonTable.append(r);
}

// The tooltips are taken from the language loaded at start and stay for the
// life of the window.
void Dialog::SetButtons()
{
    const QVector<ButtonRow>& rows = ButtonRows();
    const ButtonRowKeyLists& lists = SubButtonRowKeys();
    QStringList* const keyLists[] = {&NoteSubBtnKeys, &ColorSubBtnKeys,  &DrawSubBtnKeys,        &EraseSubBtnKeys,
                                     &ObjectSubBtnKeys, &ZoomSubBtnKeys, &ViewLocationSubBtnKeys};
    const QStringList* const sources[] = {&lists.note,   &lists.color, &lists.draw,        &lists.erase,
                                          &lists.object, &lists.zoom,  &lists.viewLocation};
    for (int i = 0; i < rows.size(); ++i) {
        const ButtonRow& row = rows[i];
        AppendTextRecord(row.key, row.group, row.stem, ButtonRowToolTip(row, m_lang.hint),
                         row.disabledImages ? row.stem + QLatin1Char('0') : QString(),
                         row.disabledImages ? row.stem + QLatin1Char('7') : QString());
        const bool lastOfGroup = i + 1 == rows.size() || rows[i + 1].group != row.group;
        const int list = KeyListAfterGroup(row.group);
        if (lastOfGroup && list >= 0)
            *keyLists[list] = *sources[list];
    }
}

QString Dialog::MakeButtonStyleSheet(QString key, QString& tooltip)
{
    return ButtonStyleSheet(ButtonTable, key, m_toolbarPosition, &tooltip);
}

// A key without a row empties the sheet, so the button shows no stale
// picture; its tooltip stays as it was.
void Dialog::SetButtonStyle(QPushButton* button, int width, int height, QString key)
{
    QString tooltip;
    const QString sheet = MakeButtonStyleSheet(key, tooltip);
    button->resize(width, height);
    button->setStyleSheet(sheet);
    if (!tooltip.isEmpty())
        button->setToolTip(tooltip);
    button->setCursor(Qt::ArrowCursor);
}

// The separators point where their row opens, so each position has its own
// look and shape.
void Dialog::SetSeparatorStyle()
{
    QString key = QStringLiteral("Separateright");
    QSize size(48, 12);
    if (m_toolbarPosition == 0 || m_toolbarPosition == 1) {
        key = m_toolbarPosition == 0 ? QStringLiteral("Separatebot") : QStringLiteral("Separatetop");
        size = QSize(12, 44);
    } else if (m_toolbarPosition == 2) {
        key = QStringLiteral("Separateleft");
    }
    for (QPushButton* b : {ui->notesubbtn, ui->colorsubbtn, ui->pwidthsubbtn, ui->drawsubbtn, ui->erasesubbtn,
                           ui->objectsubbtn, ui->zoomsubbtn, ui->viewlocationsubbtn})
        SetButtonStyle(b, size.width(), size.height(), key);
}

namespace {

// Every slot's draw choice and every row's choice back to its default; the
// note kind is the caller's.
void ResetToolKeys(Dialog& d)
{
    for (PointerSlotState& slot : d.m_board.slot)
        slot.m_curr_drawbtn = QStringLiteral("ekFree");
    d.m_eraseKey = QStringLiteral("ekEraseAll");
    d.m_selectKey = QStringLiteral("ekSelect");
    d.m_zoomKey = QStringLiteral("ekZoomIn");
    d.m_viewLocationKey = QStringLiteral("LeftTop");
}

void StyleStartKeys(Dialog& d)
{
    Ui::Dialog* ui = d.ui;
    const int w = Scaled(40, d.m_scale);
    const int h = Scaled(36, d.m_scale);
    const QList<QPair<QPushButton*, QString>> keys = {
        {ui->notebtn, d.m_noteKind},
        {ui->windowbtn, "Winmode"},
        {ui->colorbtn, "black"},
        {ui->pwidthbtn, "Pwid1"},
        {ui->transbtn, "ekTrans"},
        {ui->drawbtn, "ekFree"},
        {ui->erasebtn, "ekEraseAll"},
        {ui->prebtn, "PreNote"},
        {ui->postbtn, "PostNote"},
        {ui->objectbtn, "ekSelect"},
        {ui->zoombtn, "ekZoomIn"},
        {ui->notelistbtn, "listwidget"},
        {ui->undobtn, "undo"},
        {ui->redobtn, "redo"},
        {ui->recbtn, "RecStart"},
        {ui->viewbtn, "ViewVideo"},
        {ui->viewlocationbtn, "LeftTop"},
        {ui->btn_show_collconnectDlg, "connect"},
        {ui->btn_show_IP, "IP"},
        {ui->btn_isWrite, "write_off"},
        {ui->btn_isTool, "Tool_off"},
        {ui->btn_Strova, "Strova"},
    };
    for (const auto& k : keys)
        d.SetButtonStyle(k.first, w, h, k.second);
}

}  // namespace

void Dialog::SetButtonStates()
{
    m_noteKind = QStringLiteral("WhiteBoard");
    ResetToolKeys(*this);
    StyleStartKeys(*this);
    SetPageButtonsEnabled(false, false);
    ui->undobtn->setEnabled(false);
    ui->redobtn->setEnabled(false);
    ui->btn_isWrite->setEnabled(false);
    ui->btn_isTool->setEnabled(false);
    m_toolbarButtons = {ui->logbtn,
                        ui->notebtn,
                        ui->notesubbtn,
                        ui->windowbtn,
                        ui->colorbtn,
                        ui->colorsubbtn,
                        ui->pwidthbtn,
                        ui->pwidthsubbtn,
                        ui->transbtn,
                        ui->drawbtn,
                        ui->drawsubbtn,
                        ui->erasebtn,
                        ui->erasesubbtn,
                        ui->prebtn,
                        ui->postbtn,
                        ui->objectbtn,
                        ui->objectsubbtn,
                        ui->notelistbtn,
                        ui->zoombtn,
                        ui->zoomsubbtn,
                        ui->undobtn,
                        ui->redobtn,
                        ui->recbtn,
                        ui->viewbtn,
                        ui->viewlocationbtn,
                        ui->viewlocationsubbtn,
                        ui->btn_show_collconnectDlg,
                        ui->btn_show_IP,
                        ui->btn_Strova,
                        ui->btn_isWrite,
                        ui->btn_isTool};
}

// After a toolbar move every button takes the picture set of the new
// position. The draw button then shows the free pen, so the slots' tools are
// returned to the free pen too: otherwise the line tool (say) would keep
// drawing under a free-pen picture.
void Dialog::SetModeButtonStates()
{
    ResetToolKeys(*this);
    StyleStartKeys(*this);
    // The colour and the width are not reset by a move: their faces keep
    // showing what the pen draws with.
    const int w = Scaled(40, m_scale);
    const int h = Scaled(36, m_scale);
    const int colour = ColourIndexOfValue(m_currentPenColor.name(QColor::HexRgb));
    if (colour >= 0)
        SetButtonStyle(ui->colorbtn, w, h, QLatin1String(ColourNames()[colour].name));
    SetButtonStyle(ui->pwidthbtn, w, h, QStringLiteral("Pwid%1").arg(qBound(1, m_penWidth - 1, 10)));
    SetFreePenMode(false);
}
