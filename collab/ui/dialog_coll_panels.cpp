// Opening the connect dialog and sliding the host's user list in and out.
#include "app/ui/dialog.h"
#include "collab/ui/collconnectdlg.h"
#include "collab/ui/colluserlistdlg.h"
#include "ui_dialog.h"

#include <QPropertyAnimation>

namespace {

constexpr int kUserListSlide = 300;
constexpr int kUserListSlideMs = 500;

}  // namespace

void Dialog::OptCollconnectDlgBtn()
{
    if (m_collConnectDlg)
        m_collConnectDlg->exec();
}

// Each press turns the slide around from where the last one put things, so
// open, close, open moves by exactly -300, +300, -300.
void Dialog::OptUserListDlgBtn()
{
    if (!m_collUserListDlg)
        return;
    m_userListOpen = !m_userListOpen;
    const int distance = m_userListOpen ? -kUserListSlide : kUserListSlide;
    const QRect window = geometry();
    if (!m_userListPlaced) {
        m_userListPlaced = true;
        m_collUserListDlg->setGeometry(window.width(), window.top(), 0, 0);
        m_collUserListDlg->SetupTable(window.height());
        m_collUserListDlg->show();
    }
    // A slide still running ends where it was going before the next starts.
    for (QPropertyAnimation* running : {m_userListButtonAnimation, m_userListPanelAnimation}) {
        if (running && running->state() == QAbstractAnimation::Running) {
            running->setCurrentTime(running->duration());
            running->stop();
        }
    }
    delete m_userListButtonAnimation;
    delete m_userListPanelAnimation;

    QPushButton* button = ui->btn_show_userListDlg;
    const QRect from = button->geometry();
    m_userListButtonAnimation = new QPropertyAnimation(button, "geometry", this);
    m_userListButtonAnimation->setDuration(kUserListSlideMs);
    m_userListButtonAnimation->setStartValue(from);
    m_userListButtonAnimation->setEndValue(from.translated(distance, 0));

    const QRect panel = m_collUserListDlg->geometry();
    m_userListPanelAnimation = new QPropertyAnimation(m_collUserListDlg, "geometry", this);
    m_userListPanelAnimation->setDuration(kUserListSlideMs);
    m_userListPanelAnimation->setStartValue(QRect(panel.left(), window.top(), panel.width(), window.height()));
    m_userListPanelAnimation->setEndValue(
        QRect(panel.left() + distance, window.top(), panel.width() - distance, window.height()));

    m_userListButtonAnimation->start();
    m_userListPanelAnimation->start();
}
