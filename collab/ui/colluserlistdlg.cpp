#include "collab/ui/colluserlistdlg.h"

#include "platform/compositor.h"

#include <QAbstractItemView>
#include <QDebug>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

const char* const CollUserListDlg::kMark = "Check";

CollUserListDlg::CollUserListDlg(QWidget* parent)
    : QDialog(parent)
{
    BuildForm();
}

void CollUserListDlg::BuildForm()
{
    setObjectName(QStringLiteral("CollUserListDlg"));
    setWindowTitle(QStringLiteral("Dialog"));
    resize(300, 700);
    setWindowFlags(Qt::FramelessWindowHint | Qt::Tool);

    // Behind everything else of the panel.
    Label_UserList_bg = new QLabel(this);
    Label_UserList_bg->setObjectName(QStringLiteral("Label_UserList_bg"));
    Label_UserList_bg->setGeometry(0, 0, 300, 700);

    QFont font(QStringLiteral("Aharoni"), 11);
    font.setStyleHint(QFont::SansSerif);
    font.setItalic(true);
    font.setWeight(75);
    btn_authorize_Write = new QPushButton(QStringLiteral("WRITE"), this);
    btn_authorize_Write->setObjectName(QStringLiteral("btn_authorize_Write"));
    btn_authorize_Write->setGeometry(10, 50, 130, 40);
    btn_authorize_Write->setFont(font);
    btn_authorize_Write->setStyleSheet(QStringLiteral("background-image: url(:/Coll/authorizewrite1);"));
    btn_authorize_Tool = new QPushButton(QStringLiteral("Tool"), this);
    btn_authorize_Tool->setObjectName(QStringLiteral("btn_authorize_Tool"));
    btn_authorize_Tool->setGeometry(160, 50, 130, 40);
    btn_authorize_Tool->setFont(font);
    btn_authorize_Tool->setStyleSheet(QStringLiteral("background-image: url(:/Coll/authorizetool1);"));
    btn_authorize_Tool->setEnabled(false);

    tableWidget_userList = new QTableWidget(0, 2, this);
    tableWidget_userList->setObjectName(QStringLiteral("tableWidget_userList"));
    tableWidget_userList->setGeometry(10, 120, 281, 111);
    tableWidget_userList->setHorizontalHeaderLabels({QStringLiteral("Write"), QStringLiteral("Tool")});
    tableWidget_userList->setFrameShape(QFrame::NoFrame);
    tableWidget_userList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    tableWidget_userList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tableWidget_userList->setSelectionMode(QAbstractItemView::SingleSelection);
    tableWidget_userList->setSelectionBehavior(QAbstractItemView::SelectRows);
    tableWidget_userList->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    tableWidget_userList->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    // Opaque colours, as the faint ones look on white: the panel is an
    // ordinary window, where a see-through header or ID column shows black
    // behind black text.
    const auto sheetColour = [](const QColor& c) { return platform::OpaqueOnWhite(c).name(); };
    tableWidget_userList->setStyleSheet(
        QStringLiteral("QTableWidget {background-color: white; gridline-color: %1; selection-background-color: %2;"
                       " selection-color: black;}"
                       "QHeaderView::section {background-color: %3; color: black; border: 1px solid %1;}"
                       "QTableCornerButton::section {background-color: %3; border: 1px solid %1;}")
            .arg(sheetColour(QColor(233, 233, 233, 100)), sheetColour(QColor(8, 0, 255, 100)),
                 sheetColour(QColor(8, 0, 255, 40))));
    connect(tableWidget_userList, &QTableWidget::currentCellChanged, this, &CollUserListDlg::Table_CurCel_Changed);

    QMetaObject::connectSlotsByName(this);
}

QString CollUserListDlg::RowId(int row) const
{
    const QTableWidgetItem* header = tableWidget_userList->verticalHeaderItem(row);
    return header ? header->text() : QString();
}

int CollUserListDlg::RowOf(const QString& id) const
{
    for (int row = 0; row < tableWidget_userList->rowCount(); ++row) {
        if (RowId(row) == id)
            return row;
    }
    return -1;
}

bool CollUserListDlg::IsMarked(int row, int column) const
{
    const QTableWidgetItem* cell = tableWidget_userList->item(row, column);
    return cell && cell->text() == QLatin1String(kMark);
}

void CollUserListDlg::SetMark(int row, int column, bool on)
{
    QTableWidgetItem* cell = tableWidget_userList->item(row, column);
    if (!cell) {
        cell = new QTableWidgetItem;
        cell->setTextAlignment(Qt::AlignCenter);
        tableWidget_userList->setItem(row, column, cell);
    }
    cell->setText(on ? QLatin1String(kMark) : QString());
    cell->setBackground(on ? m_markColor : QColor(QStringLiteral("#FFFFFF")));
}

void CollUserListDlg::ClearRows() { tableWidget_userList->setRowCount(0); }

void CollUserListDlg::SetUserList(QString id)
{
    if (id == m_markedId)
        MarkWriteUser(id, true);
    const int row = tableWidget_userList->rowCount();
    tableWidget_userList->insertRow(row);
    tableWidget_userList->setVerticalHeaderItem(row, new QTableWidgetItem(id));
    qDebug().noquote() << QStringLiteral("nTotal=%1, str=%2, Cur_authorized_ID=%3, rowCount=%4")
                              .arg(row)
                              .arg(id, m_markedId)
                              .arg(tableWidget_userList->rowCount());
    SetMark(row, 0, id == m_ownId || id == m_markedId);
    SetMark(row, 1, id == m_toolId);
    tableWidget_userList->setCurrentCell(0, 0);
    btn_authorize_Tool->setEnabled(IsMarked(0, 0));
    UpdateAuthorizeButtons(tableWidget_userList->currentRow());
}

void CollUserListDlg::MarkWriteUser(QString id, bool on)
{
    for (int row = 0; row < tableWidget_userList->rowCount(); ++row) {
        const QString rowId = RowId(row);
        if (rowId == id) {
            SetMark(row, 0, on);
            btn_authorize_Tool->setEnabled(on);
            m_markedId = on ? id : QString();
        } else if (rowId != m_ownId) {
            SetMark(row, 0, false);
        }
    }
}

void CollUserListDlg::MarkToolUser(QString id)
{
    for (int row = 0; row < tableWidget_userList->rowCount(); ++row) {
        const bool mine = RowId(row) == id;
        SetMark(row, 1, mine);
        if (mine)
            m_markedId = id;
    }
}

void CollUserListDlg::UpdateAuthorizeButtons(int row)
{
    if (row < 0 || row >= tableWidget_userList->rowCount())
        return;
    for (int r = 0; r < tableWidget_userList->rowCount(); ++r) {
        if (QTableWidgetItem* header = tableWidget_userList->verticalHeaderItem(r))
            header->setForeground(r == row ? QColor(8, 0, 255, 150) : QColor(Qt::black));
    }
    btn_authorize_Tool->setEnabled(IsMarked(row, 0) && !IsMarked(row, 1));
}

void CollUserListDlg::SetupTable(int height)
{
    const QRect table = tableWidget_userList->geometry();
    tableWidget_userList->setGeometry(table.x(), table.y(), table.width(), qMax(0, height - table.y() - 40));
    Label_UserList_bg->setGeometry(0, 0, 300, height);
    Label_UserList_bg->setStyleSheet(
        QStringLiteral("background-image: url(:/Coll/UserList_bg1); background-position: bottom;"));
    tableWidget_userList->verticalHeader()->setFixedWidth(table.width() - 100);
    tableWidget_userList->setColumnWidth(0, 50);
    tableWidget_userList->setColumnWidth(1, 50);
}

void CollUserListDlg::Table_CurCel_Changed(int row, int column, int previousRow, int previousColumn)
{
    qDebug().noquote() << QStringLiteral("Table_CurCel_Changed %1 %2 %3 %4")
                              .arg(row).arg(column).arg(previousRow).arg(previousColumn);
    if (row != previousRow)
        UpdateAuthorizeButtons(row < 0 ? 0 : row);
}

void CollUserListDlg::on_btn_authorize_Write_clicked()
{
    const QString id = RowId(tableWidget_userList->currentRow());
    if (!id.isEmpty())
        emit coll_SetUserLevel(id);
}

// The mark shows at once; the holder itself changes when the relay brings the
// tool change back.
void CollUserListDlg::on_btn_authorize_Tool_clicked()
{
    const QString id = RowId(tableWidget_userList->currentRow());
    if (id.isEmpty())
        return;
    MarkToolUser(id);
    btn_authorize_Tool->setEnabled(false);
    emit coll_SetUseTool(id);
}
