// The service overlay's log lists and test widgets: hidden until debug mode
// is switched on, filled in and out of it.
#include "app/ui/dialog.h"
#include "ui_dialog.h"

#include <QDebug>
#include <QListWidget>

namespace {

// A list that reaches this many rows is cleared, so a long session never
// slows the window down with an ever-growing log.
constexpr int kLogRowLimit = 100;

void AppendRow(QListWidget* list, const QString& text)
{
    list->addItem(text);
    list->scrollToBottom();
}

void ApplyRowLimit(QListWidget* list)
{
    if (list->count() >= kLogRowLimit)
        list->clear();
}

}  // namespace

void Dialog::HideWidgets()
{
    qDebug() << "HideWidgets()";
    ui->listWidget_logwindow->hide();
    ui->listWidget_logwindow2->hide();
    ui->btn_test_7->hide();
    ui->btn_test_8->hide();
    ui->btn_test_9->hide();
    ui->btn_test_10_ListClear->hide();
    ui->CK_LogWindow->hide();
    ui->CK_LogWindow1->hide();
    ui->CK_LogWindow2->hide();
}

void Dialog::AddDebugLine(QString text, int list)
{
    qDebug().noquote() << QStringLiteral("AddDebugLine(%1) : %2").arg(list).arg(text);
    if (list == 0 || list == 1)
        AppendRow(ui->listWidget_logwindow, text);
    if (list == 0 || list == 2)
        AppendRow(ui->listWidget_logwindow2, text);
    ApplyRowLimit(ui->listWidget_logwindow);
    ApplyRowLimit(ui->listWidget_logwindow2);
}

void Dialog::AddLogWindowLine(const QString& text)
{
    AppendRow(ui->listWidget_logwindow, text);
    ApplyRowLimit(ui->listWidget_logwindow);
}
