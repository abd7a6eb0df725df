#include "app/ui/main_dlg.h"

#include "app/startup.h"
#include "app/ui/dialog.h"
#include "app/ui/pen_driver_messages.h"
#include "ui_main_dlg.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QTimer>
#include <QDebug>

namespace {

// The window class other programs look for, the one every top-level Qt 5
// window had where the pen driver and the hand-off were first written.
const QString kTopLevelWindowClass = QStringLiteral("Qt5QWindowIcon");
// The title the form gives the window; a second copy finds it by this.
const QString kTopLevelWindowTitle = QStringLiteral("Dialog6601");

}  // namespace

mainDlg::mainDlg(QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint)
    , ui(new Ui::mainDlg)
{
    ui->setupUi(this);
    connect(ui->widget, &Dialog::MainDlgClose, this, [this]() {
        m_closeApproved = true;
        close();
    });
    connect(ui->widget, &Dialog::MainDlgDisplay, this, &mainDlg::displayOption);
    connect(ui->widget, &Dialog::MainDlgSetGeometry, this, &mainDlg::DisplaySize);
    connect(ui->widget, &Dialog::MainDlg_DebugDisplaySize, this, &mainDlg::Debug_DisplaySize);

    m_messageWindow = new platform::MessageWindow(kTopLevelWindowClass, windowTitle(), this);
    if (!m_messageWindow->isRegistered())
        qDebug().noquote() << "window messages unavailable:" << m_messageWindow->errorString();
    m_messageWindow->setHandler([this](const platform::WindowMessage& message) -> qint64 {
        long result = 0;
        nativeEvent(platform::kWindowMessageEventType, const_cast<platform::WindowMessage*>(&message), &result);
        return result;
    });
}

mainDlg::~mainDlg()
{
    ui->widget->close();
    qDebug() << "5. ~mainDlg()";
    qDebug() << "mainDlg frameGeometry : " << frameGeometry();
    delete m_messageWindow;
    m_messageWindow = nullptr;
    delete ui;
    QCoreApplication::exit(0);
}

void mainDlg::closeEvent(QCloseEvent* event)
{
    if (m_closeApproved) {
        event->accept();
        return;
    }
    event->ignore();
    qDebug().noquote() << QStringLiteral("close asked from outside");
    // Queued: the exit command may ask and save, and closes through
    // MainDlgClose, which must not happen inside this close event.
    Dialog* board = ui->widget;
    QTimer::singleShot(0, board, [board]() { board->OptCloseOrbel(); });
}

platform::WindowHandle mainDlg::FindRunningWindow()
{
    return platform::FindWindowByName(kTopLevelWindowClass, kTopLevelWindowTitle);
}

Dialog* mainDlg::dialog() const
{
    return ui->widget;
}

platform::WindowHandle mainDlg::messageHandle() const
{
    return m_messageWindow ? m_messageWindow->handle() : 0;
}

void mainDlg::PrepareDialog()
{
    ui->widget->HideWidgets();
}

void mainDlg::StartDialog(bool autoUpdate)
{
    ui->widget->InitDialog(autoUpdate);
    ui->widget->show();
}

void mainDlg::ConnectPenDriver()
{
    ui->widget->ConnectPenDriverWindow(messageHandle());
}

bool mainDlg::nativeEvent(const QByteArray& eventType, void* message, long* result)
{
    Q_UNUSED(result);
    if (eventType == platform::kWindowMessageEventType && message)
        HandleWindowMessage(*static_cast<const platform::WindowMessage*>(message));
    return false;
}

void mainDlg::HandleWindowMessage(const platform::WindowMessage& message)
{
    if (message.message == platform::kCopyDataMessage) {
        if (message.dwData != kHandOffTag)
            return;
        const QString path = HandOffPath(message.copyData);
        qDebug().noquote() << QStringLiteral("hand-off : %1").arg(path);
        OpenISPFile(path);
        return;
    }

    if (message.message >= kFirstTouchMessage && message.message < kFirstTouchMessage + kTouchPointers) {
        using PointerSlot = void (Dialog::*)(int, int, int);
        static const PointerSlot pointers[kTouchPointers] = {
            &Dialog::MultiPointer1, &Dialog::MultiPointer2, &Dialog::MultiPointer3,
            &Dialog::MultiPointer4, &Dialog::MultiPointer5, &Dialog::MultiPointer6,
            &Dialog::MultiPointer7, &Dialog::MultiPointer8, &Dialog::MultiPointer9,
        };
        const int action = static_cast<int>(message.lParam);
        const int pointer = static_cast<int>(message.message - kFirstTouchMessage) + 1;
        // Where a pen-driver stroke starts and ends; moves are too many to log.
        if (action != kTouchMove) {
            qDebug().noquote() << QStringLiteral("pen driver pointer %1 : %2, %3, %4")
                                      .arg(pointer)
                                      .arg(action)
                                      .arg(platform::HighWord(message.wParam))
                                      .arg(platform::LowWord(message.wParam));
        }
        (ui->widget->*pointers[message.message - kFirstTouchMessage])(
            action, platform::HighWord(message.wParam), platform::LowWord(message.wParam));
        return;
    }

    if (message.message == kPenDriverGreeting)
        ui->widget->AnswerPenDriverGreeting(message.wParam, messageHandle());
}

void mainDlg::OpenISPFile(QString path)
{
    ui->widget->OpenISPFile(path);
}

void mainDlg::OpenIICFile(QString path)
{
    ui->widget->OpenIICFile(path);
}

void mainDlg::MultiPointer1(int action, int x, int y) { ui->widget->MultiPointer1(action, x, y); }
void mainDlg::MultiPointer2(int action, int x, int y) { ui->widget->MultiPointer2(action, x, y); }
void mainDlg::MultiPointer3(int action, int x, int y) { ui->widget->MultiPointer3(action, x, y); }
void mainDlg::MultiPointer4(int action, int x, int y) { ui->widget->MultiPointer4(action, x, y); }
void mainDlg::MultiPointer5(int action, int x, int y) { ui->widget->MultiPointer5(action, x, y); }
void mainDlg::MultiPointer6(int action, int x, int y) { ui->widget->MultiPointer6(action, x, y); }
void mainDlg::MultiPointer7(int action, int x, int y) { ui->widget->MultiPointer7(action, x, y); }
void mainDlg::MultiPointer8(int action, int x, int y) { ui->widget->MultiPointer8(action, x, y); }
void mainDlg::MultiPointer9(int action, int x, int y) { ui->widget->MultiPointer9(action, x, y); }

void mainDlg::displayOption(int option)
{
    if (option == 0)
        hide();
    else if (option == 1)
        show();
}

void mainDlg::DebugMainDlg_str(QString text, int list)
{
    ui->widget->AddDebugLine(text, list);
}

void mainDlg::Get_Target_hWnd(platform::WindowHandle window)
{
    ui->widget->Get_Target_hWnd(window);
}

void mainDlg::TabletEnterSignal(QTabletEvent* event)
{
    ui->widget->TabletEnter(event);
}

void mainDlg::TabletLeaveSignal(QTabletEvent* event)
{
    ui->widget->TabletLeave(event);
}

void mainDlg::DisplaySize(QRect rect)
{
    qDebug() << "(1). mainDlg()";
    qDebug() << "(1).mainDlg frameGeometry : " << frameGeometry();
    qDebug() << "0. mainDlg::DisplaySize()" << rect;
    setGeometry(rect);
    qDebug() << "(2). mainDlg()";
    qDebug() << "(2).mainDlg frameGeometry : " << frameGeometry();
    qDebug() << "(3).mainDlg frameGeometry : " << frameGeometry();
    activateWindow();
    qDebug() << "(4).mainDlg frameGeometry : " << frameGeometry();
    raise();
    qDebug() << "(5).mainDlg frameGeometry : " << frameGeometry();
}

void mainDlg::Debug_DisplaySize(int n, QString text)
{
    qDebug().noquote() << "!!!!! mainDlg" << n << text << frameGeometry();
}
