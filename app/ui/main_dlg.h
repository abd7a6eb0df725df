#pragma once

#include "platform/window_messages.h"

#include <QRect>
#include <QString>
#include <QWidget>

class Dialog;
class QTabletEvent;
namespace Ui {
class mainDlg;
}

// The whiteboard's one top-level window. It carries the main window `Dialog`
// as its only child and is the window other programs address: a second copy
// hands it a project path, the pen driver greets it and sends it touch
// points. It turns those messages into calls on `Dialog` and holds no board
// state of its own.
class mainDlg : public QWidget
{
    Q_OBJECT

public:
    explicit mainDlg(QWidget* parent = nullptr);
    ~mainDlg() override;

    void PrepareDialog();
    void StartDialog(bool autoUpdate);
    void ConnectPenDriver();

    // The running whiteboard's window as another process finds it; 0 when
    // none runs.
    static platform::WindowHandle FindRunningWindow();

    Dialog* dialog() const;
    // Our handle in the window-message layer; 0 when registration failed.
    platform::WindowHandle messageHandle() const;

public slots:
    void OpenISPFile(QString path);
    void OpenIICFile(QString path);
    void MultiPointer1(int action, int x, int y);
    void MultiPointer2(int action, int x, int y);
    void MultiPointer3(int action, int x, int y);
    void MultiPointer4(int action, int x, int y);
    void MultiPointer5(int action, int x, int y);
    void MultiPointer6(int action, int x, int y);
    void MultiPointer7(int action, int x, int y);
    void MultiPointer8(int action, int x, int y);
    void MultiPointer9(int action, int x, int y);
    void displayOption(int option);
    void DebugMainDlg_str(QString text, int list);
    void Get_Target_hWnd(platform::WindowHandle window);
    void TabletEnterSignal(QTabletEvent* event);
    void TabletLeaveSignal(QTabletEvent* event);
    void DisplaySize(QRect rect);
    void Debug_DisplaySize(int n, QString text);

protected:
    bool nativeEvent(const QByteArray& eventType, void* message, long* result) override;
    // A close asked for from outside (the window manager's close button,
    // Alt+F4) takes the exit command's road, with its "save first?" question.
    void closeEvent(QCloseEvent* event) override;

private:
    void HandleWindowMessage(const platform::WindowMessage& message);

    Ui::mainDlg* ui;
    platform::MessageWindow* m_messageWindow = nullptr;
    bool m_closeApproved = false;  // the exit command has decided to close
};
