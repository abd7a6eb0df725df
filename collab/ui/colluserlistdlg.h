#pragma once

#include <QColor>
#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;
class QTableWidget;

// The host's list of participants, where rights are given and taken. One row
// per participant ID (its vertical header), a Write and a Tool mark column.
class CollUserListDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CollUserListDlg(QWidget* parent = nullptr);

    void ClearRows();
    void SetUserList(QString id);
    void MarkWriteUser(QString id, bool on);
    void MarkToolUser(QString id);
    void UpdateAuthorizeButtons(int row);
    // Sizes the panel to the main window's height.
    void SetupTable(int height);

    // The participant last marked in the Write or Tool column.
    QString m_markedId;
    // The host's own ID: its row keeps its Write mark.
    QString m_ownId;
    // The tool-right holder.
    QString m_toolId;
    QColor m_markColor{124, 210, 81, 255};

    QPushButton* btn_authorize_Write = nullptr;
    QPushButton* btn_authorize_Tool = nullptr;
    QTableWidget* tableWidget_userList = nullptr;
    QLabel* Label_UserList_bg = nullptr;

    // The text of a mark; no mark is an empty cell.
    static const char* const kMark;  // "Check"
    bool IsMarked(int row, int column) const;
    QString RowId(int row) const;
    int RowOf(const QString& id) const;

signals:
    void coll_SetUserLevel(QString userId);
    void coll_SetUseTool(QString userId);

public slots:
    void Table_CurCel_Changed(int row, int column, int previousRow, int previousColumn);
    void on_btn_authorize_Write_clicked();
    void on_btn_authorize_Tool_clicked();

private:
    void BuildForm();
    void SetMark(int row, int column, bool on);
};
