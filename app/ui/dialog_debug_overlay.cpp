// The service overlay: pointer labels that follow every slot, the status
// label, the log lists shown over the board and the test commands. Nothing
// here changes the board; the test buttons only send files and fill lists.
#include "app/ui/dialog.h"
#include "ui_dialog.h"

#include <QDebug>
#include <QFont>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPalette>
#include <QPushButton>
#include <QCheckBox>

#include <algorithm>

namespace {

constexpr int kDebugSlotCount = 11;
constexpr int kLogRowLimit = 100;
// Slot 0's label counts moves only over a stroke's first second, so its
// figures say how many samples a second of drawing brings.
constexpr qint64 kSlot0SampleWindowMs = 1000;

QPalette PointerLabelPalette(int slot)
{
    static const QColor kText[kDebugSlotCount] = {
        {255, 0, 0},   {0, 255, 0}, {0, 0, 255}, {255, 255, 0}, {255, 0, 255}, {0, 255, 255},
        {125, 0, 0},   {0, 125, 0}, {0, 0, 125}, {125, 125, 0}, {0, 0, 0},
    };
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(200, 200, 200, 200));
    palette.setColor(QPalette::WindowText, kText[slot]);
    return palette;
}

void PlaceLogList(QListWidget* list, int x, int y, int width, int height)
{
    list->setAttribute(Qt::WA_TranslucentBackground);
    list->setStyleSheet(QStringLiteral("background-color: rgba(0,0,0,50)"));
    list->setGeometry(x, y, width, height);
    list->setWindowFlags(Qt::FramelessWindowHint | Qt::Tool);
}

void ScrollAndLimit(QListWidget* list)
{
    list->scrollToBottom();
    if (list->count() >= kLogRowLimit)
        list->clear();
}

}  // namespace

void Dialog::OptDebug(bool on)
{
    m_debugMode = on;
    ShowDebugOverlay();
}

void Dialog::ShowDebugOverlay()
{
    QWidget* const testWidgets[] = {ui->listWidget_logwindow, ui->listWidget_logwindow2, ui->btn_test_7,
                                    ui->btn_test_8,           ui->btn_test_9,            ui->btn_test_10_ListClear,
                                    ui->CK_LogWindow,         ui->CK_LogWindow1,         ui->CK_LogWindow2};
    if (!m_debugMode) {
        setMouseTracking(false);
        for (QWidget* w : testWidgets)
            w->hide();
        qDeleteAll(m_pointerDebugLabels);
        m_pointerDebugLabels.clear();
        delete m_statusLabel;
        m_statusLabel = nullptr;
        return;
    }

    setMouseTracking(true);
    const int width = rect().width();
    const int height = rect().height();
    const int listY = int(height / 1.6);
    const int listHeight = int(height - height / 1.6 - 10);
    PlaceLogList(ui->listWidget_logwindow, width - 400, listY, 390, listHeight);
    PlaceLogList(ui->listWidget_logwindow2, 50, listY, 1300, listHeight);

    // Switching on twice keeps the labels already there rather than leaving
    // a second set behind that nothing deletes.
    if (m_pointerDebugLabels.isEmpty()) {
        QFont font(QStringLiteral("Arial"), 12);
        for (int slot = 0; slot < kDebugSlotCount; ++slot) {
            auto* label = new QLabel(this);
            label->setAutoFillBackground(true);
            label->setPalette(PointerLabelPalette(slot));
            label->setFont(font);
            label->hide();
            m_pointerDebugLabels.append(label);
        }
    }
    if (!m_statusLabel)
        m_statusLabel = new QLabel(this);

    ui->btn_test_7->setGeometry(10, 300, 200, 20);
    ui->btn_test_8->setGeometry(10, 330, 200, 20);
    ui->btn_test_9->setGeometry(10, 360, 200, 20);
    ui->btn_test_10_ListClear->setGeometry(10, 390, 200, 20);
    m_statusLabel->setGeometry(10, 130, 85, 20);
    ui->CK_LogWindow->setGeometry(10, 160, 85, 20);
    ui->CK_LogWindow1->setGeometry(10, 190, 85, 20);
    ui->CK_LogWindow2->setGeometry(10, 220, 85, 20);

    m_statusLabel->show();
    for (QWidget* w : testWidgets)
        w->show();
}

void Dialog::ShowPointerDebug(int mode, int slot, int x, int y)
{
    if (slot < 0 || slot >= m_pointerDebugLabels.size() || mode < 1 || mode > 3)
        return;
    QLabel* label = m_pointerDebugLabels.at(slot);
    if (mode == 3) {
        label->hide();
        return;
    }

    const int wv = m_view_width;
    const int hv = m_view_height;
    int dx = 10;
    int dy = 10;
    QSize size(180, 20);
    QString text;
    if (slot == 0) {
        if (wv - x <= 390)
            dx = wv - x - 380;
        if (hv - y <= 30)
            dy = hv - y - 20;
        size = QSize(380, 20);
        const qint64 elapsed = m_strokeClock.isValid() ? m_strokeClock.elapsed() : 0;
        QString shownTime = QString::number(elapsed);
        if (mode == 1) {
            m_pointerDebugTime = 2.0;
            m_pointerDebugCount = 1;
        } else if (elapsed <= kSlot0SampleWindowMs) {
            ++m_pointerDebugCount;
            m_pointerDebugTime = double(elapsed);
        } else {
            shownTime = QString::number(m_pointerDebugTime, 'g', QLocale::FloatingPointShortest);
        }
        text = QStringLiteral("Pen %1 : X=%2, Y=%3, msec=%4, Cnt=%5")
                   .arg(0)
                   .arg(x)
                   .arg(y)
                   .arg(shownTime)
                   .arg(m_pointerDebugCount);
    } else {
        dx = wv - 190 > x ? 10 : -190;
        dy = hv - 30 > y ? 10 : -30;
        text = QStringLiteral("Pen %1 : X=%2, Y=%3").arg(slot).arg(x).arg(y);
    }

    if (mode == 1)
        label->show();
    label->setText(text);
    label->setGeometry(QRect(QPoint(std::max(x, 0) + dx, std::max(y, 0) + dy), size));
}

void Dialog::on_CK_LogWindow_clicked()
{
    const bool show = ui->listWidget_logwindow->isHidden();
    ui->listWidget_logwindow->setVisible(show);
    ui->listWidget_logwindow2->setVisible(show);
}

void Dialog::on_CK_LogWindow1_clicked()
{
    ui->listWidget_logwindow->setVisible(!ui->CK_LogWindow1->isChecked());
}

void Dialog::on_CK_LogWindow2_clicked()
{
    ui->listWidget_logwindow2->setVisible(!ui->CK_LogWindow2->isChecked());
}

// The file-transfer tests send the collaboration library and the program
// file to every peer, which stores them in its update folder.
void Dialog::on_btn_test_7_clicked()
{
    Coll_Send_Doc(0, QString(), 1, QString(), QString());
}

void Dialog::on_btn_test_8_clicked()
{
    Coll_Send_Doc(0, QString(), 2, QString(), QString());
}

// A state dump of the first touch slot and of slot 10, the slot of the mouse
// and of overflow touches.
void Dialog::on_btn_test_9_clicked()
{
    QListWidget* first = ui->listWidget_logwindow;
    QListWidget* second = ui->listWidget_logwindow2;
    first->clear();
    second->clear();
    qDebug().noquote() << "W:" << HorizontalScrollValue();
    qDebug().noquote() << "H:" << VerticalScrollValue();
    ScrollAndLimit(first);
    ScrollAndLimit(second);

    const PointerSlotState& a = m_board.slot[0];
    const PointerSlotState& b = m_board.slot[kMouseOverflowSlot];
    first->addItem(QStringLiteral("ek[0]=%1, ek[10]=%2, boundary=%3")
                       .arg(a.event_kind)
                       .arg(b.event_kind)
                       .arg(SelectionFrameShown ? 1 : 0));
    first->addItem(QStringLiteral("event_kind[0] = %1, event_kind[10] = %2, m_image_cnt=%3")
                       .arg(a.event_kind)
                       .arg(b.event_kind)
                       .arg(m_image_cnt));
    first->addItem(QStringLiteral("m_curr_drawbtn[0] = %1, m_curr_drawbtn[10] = %2, m_image_cnt=%3")
                       .arg(a.m_curr_drawbtn, b.m_curr_drawbtn)
                       .arg(m_image_cnt));
    first->scrollToBottom();
}

void Dialog::on_btn_test_10_ListClear_clicked()
{
    ui->listWidget_logwindow->clear();
    ui->listWidget_logwindow2->clear();
}

void Dialog::test9(int value, bool flag, QString text)
{
    qDebug().noquote() << QStringLiteral("test9 OK, value=%1, bool=%2, QString=%3")
                              .arg(value)
                              .arg(flag ? 1 : 0)
                              .arg(text);
}
