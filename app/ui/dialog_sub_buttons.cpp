// The sub-button rows: a row of choices that opens beside a toolbar button,
// and the click slots that take a choice from a row or a floating panel.
#include "app/ui/dialog.h"
#include "app/ui/dialog_panels.h"
#include "ui_dialog.h"

#include <QDebug>
#include <QPushButton>
#include <QSignalMapper>

void Dialog::BuildSubButtonRow(const QStringList& keys, QPushButton* beside, const char* clickSlot)
{
    ClearSubBtn();
    if (!m_rowMapper)
        m_rowMapper = new QSignalMapper(this);
    const int w = Scaled(40, m_scale);
    const int h = Scaled(36, m_scale);
    const bool smartAllowed = m_collUserLevel == 0 || m_collUserLevel == 3;
    for (const QString& key : keys) {
        if (key == QLatin1String("ekSmart") && !smartAllowed)
            continue;
        auto* button = new QPushButton(this);
        SetButtonStyle(button, w, h, key);
        m_rowMapper->setMapping(button, key);
        connect(button, SIGNAL(pressed()), m_rowMapper, SLOT(map()));
        m_subButtons.append(button);
    }
    PlaceSubButtonRow(beside);
    connect(m_rowMapper, SIGNAL(mapped(QString)), this, clickSlot);
    qDebug().noquote() << QStringLiteral("toolbar row open : %1").arg(beside->objectName());
}

void Dialog::CreateColorSubBtn() { BuildSubButtonRow(ColorSubBtnKeys, ui->colorbtn, SLOT(ClickColorBtn(QString))); }
void Dialog::CreateDrawSubBtn() { BuildSubButtonRow(DrawSubBtnKeys, ui->drawbtn, SLOT(ClickDrawBtn(QString))); }
void Dialog::CreateEraseSubBtn() { BuildSubButtonRow(EraseSubBtnKeys, ui->erasebtn, SLOT(ClickEraseBtn(QString))); }
void Dialog::CreateNoteSubBtn() { BuildSubButtonRow(NoteSubBtnKeys, ui->notebtn, SLOT(ClickNoteBtn(QString))); }

void Dialog::CreateObjectSubBtn()
{
    BuildSubButtonRow(ObjectSubBtnKeys, ui->objectbtn, SLOT(ClickObjectBtn(QString)));
}

void Dialog::CreateZoomSubBtn()
{
    BuildSubButtonRow(ZoomSubBtnKeys, ui->zoombtn, SLOT(ClickZoomBtn_setData_Contents(QString)));
}

void Dialog::CreateViewLocationSubBtn()
{
    BuildSubButtonRow(ViewLocationSubBtnKeys, ui->viewlocationbtn, SLOT(ClickViewLocationBtn(QString)));
}

void Dialog::ClearSubBtn()
{
    if (!m_subButtonRowOpen)
        return;
    if (m_rowMapper) {
        // The old mapper still holds its connection to the last click slot;
        // a fresh one keeps a late signal of it from reaching the board.
        disconnect(m_rowMapper, nullptr, this, nullptr);
        m_rowMapper->deleteLater();
        m_rowMapper = new QSignalMapper(this);
    }
    // Buttons are made anew for every opening; released here so repeated
    // openings do not pile them up.
    for (QPushButton* button : qAsConst(m_subButtons)) {
        button->hide();
        disconnect(button, nullptr, nullptr, nullptr);
        button->deleteLater();
    }
    m_subButtons.clear();
    m_subButtonRowOpen = false;
    qDebug().noquote() << QStringLiteral("toolbar row closed");
    ui->horwidthslider->hide();
    ui->verwidthslider->hide();
}

void Dialog::ClickColorBtn(QString key)
{
    QColor colour;
    colour.setNamedColor(key);
    m_ownColor = colour;
    ClearSubBtn();
    m_currentPenColor = colour;
    SetButtonStyle(ui->colorbtn, Scaled(40, m_scale), Scaled(36, m_scale), key);
    OptColorBtn();
}

void Dialog::ClickDrawBtn(QString key)
{
    ClearSubBtn();
    // The brush has no transparent form.
    const bool brush = key == QLatin1String("ekBrush");
    ui->transbtn->setEnabled(!brush);
    if (brush)
        OptTransBtnCheck(false);
    if (m_floatingFigure)
        m_floatingFigure->SetTransEnabled(!brush);

    const int level = m_collUserLevel;
    if (level == 0 || level == 3) {
        for (int i = 0; i <= 9; ++i)
            m_board.slot[i].m_curr_drawbtn = key;
        SetButtonStyle(ui->drawbtn, Scaled(40, m_scale), Scaled(36, m_scale), key);
        OptDrawBtn(0, true, true, level);
    } else if (level == 2) {
        m_board.slot[10].m_curr_drawbtn = key;
        SetButtonStyle(ui->drawbtn, Scaled(40, m_scale), Scaled(36, m_scale), key);
        OptDrawBtn(10, true, true, 2);
    }
}

void Dialog::ClickEraseBtn(QString key)
{
    ClearSubBtn();
    m_eraseKey = key;
    SetButtonStyle(ui->erasebtn, Scaled(40, m_scale), Scaled(36, m_scale), key);
    OptEraseBtn(true);
}

void Dialog::ClickNoteBtn(QString key)
{
    ClearSubBtn();
    m_noteKind = key;
    SetButtonStyle(ui->notebtn, Scaled(40, m_scale), Scaled(36, m_scale), key);
    OptNoteBtn(true);
}

void Dialog::ClickObjectBtn(QString key)
{
    ClearSubBtn();
    m_selectKey = key;
    SetButtonStyle(ui->objectbtn, Scaled(40, m_scale), Scaled(36, m_scale), key);
    OptObjectBtn();
}

void Dialog::ClickViewLocationBtn(QString key)
{
    ClearSubBtn();
    m_viewLocationKey = key;
    SetButtonStyle(ui->viewlocationbtn, Scaled(40, m_scale), Scaled(36, m_scale), key);
    OptViewLocationBtn();
}

void Dialog::ClickZoomBtn(QString key, bool record)
{
    m_recordZoom = record;
    ClearSubBtn();
    m_zoomKey = key;
    SetButtonStyle(ui->zoombtn, Scaled(40, m_scale), Scaled(36, m_scale), key);
    OptZoomBtn();
}

void Dialog::ClickZoomBtn_setData_Contents(QString key) { ClickZoomBtn(key, true); }
