#include "panels/ui/mastermodedlg.h"

#include "app/utilities.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

const char* const kMasterModeAccessCode = "tulip4827.";

// The dialog's form: a code row and five option rows, each a label that
// names the option and its state and a button that switches it.
struct Ui_MasterModedlg {
    QLabel* label_Pass;
    QLineEdit* lineEdit_Pass;
    QPushButton* Btn_Pass;
    QLabel* label_Debug;
    QPushButton* Btn_debug;
    QLabel* label_Coll;
    QPushButton* Btn_Coll;
    QLabel* label_Cursor;
    QPushButton* Btn_Cursor;
    QLabel* label_Interpolation;
    QPushButton* Btn_Interpolation;
    QLabel* label_Antialiasing;
    QPushButton* Btn_Antialiasing;

    void setupUi(QDialog* dialog)
    {
        dialog->setObjectName(QStringLiteral("MasterModedlg"));
        dialog->resize(340, 339);
        QFont font(QStringLiteral("Tahoma"));
        font.setPointSize(9);
        dialog->setFont(font);
        auto label = [&](const char* name, const QRect& geometry, const char* text) {
            auto* l = new QLabel(QString::fromLatin1(text), dialog);
            l->setObjectName(QLatin1String(name));
            l->setGeometry(geometry);
            l->setFont(font);
            return l;
        };
        auto button = [&](const char* name, const QRect& geometry, const char* text) {
            auto* b = new QPushButton(QString::fromLatin1(text), dialog);
            b->setObjectName(QLatin1String(name));
            b->setGeometry(geometry);
            b->setFont(font);
            b->setAutoDefault(false);
            return b;
        };
        label_Pass = label("label_Pass", QRect(59, 20, 40, 22), "PASS");
        lineEdit_Pass = new QLineEdit(dialog);
        lineEdit_Pass->setObjectName(QStringLiteral("lineEdit_Pass"));
        lineEdit_Pass->setGeometry(109, 20, 80, 22);
        lineEdit_Pass->setFont(font);
        lineEdit_Pass->setEchoMode(QLineEdit::Password);
        Btn_Pass = button("Btn_Pass", QRect(209, 20, 80, 22), "OK");
        // Enter in the code field means OK.
        Btn_Pass->setDefault(true);
        label_Debug = label("label_Debug", QRect(60, 100, 150, 22), "Debug mode : OFF");
        Btn_debug = button("Btn_debug", QRect(210, 100, 80, 22), "ON / OFF");
        label_Coll = label("label_Coll", QRect(60, 130, 150, 22), "Collaboration packet : OFF");
        Btn_Coll = button("Btn_Coll", QRect(210, 130, 80, 22), "ON / OFF");
        label_Cursor = label("label_Cursor", QRect(60, 160, 150, 22), "Cursor Img : OFF");
        Btn_Cursor = button("Btn_Cursor", QRect(210, 160, 80, 22), "ON / OFF");
        label_Interpolation = label("label_Interpolation", QRect(60, 190, 150, 22), "Interpolation : ON");
        Btn_Interpolation = button("Btn_Interpolation", QRect(210, 190, 80, 22), "ON / OFF");
        label_Antialiasing = label("label_Antialiasing", QRect(60, 220, 150, 22), "Antialiasing : ON");
        Btn_Antialiasing = button("Btn_Antialiasing", QRect(210, 220, 80, 22), "ON / OFF");
        dialog->setWindowTitle(QStringLiteral("Master Mode"));
        QMetaObject::connectSlotsByName(dialog);
    }
};

namespace {

void ShowState(QLabel* label, const char* name, bool on)
{
    label->setText(QStringLiteral("%1 : %2").arg(QLatin1String(name), on ? QStringLiteral("ON") : QStringLiteral("OFF")));
}

QPoint DefaultScreenCentre()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().center() : QPoint(170, 30);
}

}  // namespace

MasterModedlg::MasterModedlg(QWidget* parent)
    : QDialog(parent)
    , ui(new Ui_MasterModedlg)
{
    setWindowFlags(windowFlags() | Qt::Tool | Qt::WindowStaysOnTopHint);
    ui->setupUi(this);
}

MasterModedlg::~MasterModedlg() { delete ui; }

void MasterModedlg::ShowRows(int height)
{
    const QPoint c = DefaultScreenCentre();
    setGeometry(c.x() - 170, c.y() - height / 2, 340, height);
}

void MasterModedlg::CenterOnScreen() { ShowRows(60); }

void MasterModedlg::on_Btn_Pass_clicked()
{
    ShowRows(ui->lineEdit_Pass->text() == QLatin1String(kMasterModeAccessCode) ? 260 : 60);
    ui->lineEdit_Pass->clear();
}

void MasterModedlg::SetDebugModeState(bool on)
{
    m_debugMode = on;
    ShowState(ui->label_Debug, "Debug mode", on);
}

void MasterModedlg::SetCollPacketState(bool on)
{
    m_collPacket = on;
    ShowState(ui->label_Coll, "Collaboration packet", on);
}

void MasterModedlg::SetCursorImgState(bool on)
{
    m_cursorImg = on;
    ShowState(ui->label_Cursor, "Cursor Img", on);
}

void MasterModedlg::SetInterpolationState(bool on)
{
    m_interpolation = on;
    ShowState(ui->label_Interpolation, "Interpolation", on);
}

void MasterModedlg::SetAntialiasingState(bool on)
{
    m_antialiasing = on;
    ShowState(ui->label_Antialiasing, "Antialiasing", on);
}

void MasterModedlg::on_Btn_debug_clicked()
{
    SetDebugModeState(!m_debugMode);
    emit Call_Debug(m_debugMode);
}

void MasterModedlg::on_Btn_Coll_clicked()
{
    SetCollPacketState(!m_collPacket);
    emit Call_Coll(m_collPacket);
}

void MasterModedlg::on_Btn_Cursor_clicked()
{
    SetCursorImgState(!m_cursorImg);
    emit Call_Cursor(m_cursorImg);
}

void MasterModedlg::on_Btn_Interpolation_clicked()
{
    SetInterpolationState(!m_interpolation);
    emit Call_Interpolation(m_interpolation);
}

void MasterModedlg::on_Btn_Antialiasing_clicked()
{
    SetAntialiasingState(!m_antialiasing);
    emit Call_Antialiasing(m_antialiasing);
}

void MasterModedlg::closeEvent(QCloseEvent* event)
{
    CloseOnScreenKeyboard();
    QDialog::closeEvent(event);
}
