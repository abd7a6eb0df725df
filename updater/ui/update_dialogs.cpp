#include "updater/ui/update_dialogs.h"

#include "updater/ui/dialog_scaling.h"
#include "updater/update_language.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace {

QLabel* MakeLabel(QWidget* parent, const char* name, const QRect& geometry, const QString& text,
                  int pointSize = 0, bool bold = false)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(geometry);
    label->setText(text);
    if (pointSize > 0 || bold) {
        QFont font = label->font();
        if (pointSize > 0)
            font.setPointSize(pointSize);
        font.setBold(bold);
        label->setFont(font);
    }
    return label;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QRect& geometry, const QString& text)
{
    auto* button = new QPushButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(geometry);
    button->setText(text);
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

QString VersionLine(int labelId, const QString& version)
{
    return QStringLiteral("- %1: %2").arg(updateText(labelId), version);
}

}  // namespace

void applyFormFont(QWidget* window)
{
    QFont font = window->font();
    font.setFamily(QStringLiteral("맑은 고딕"));
    window->setFont(font);
}

AskDlg::AskDlg(QWidget* parent, const UpdateDialogRecord& record)
    : QDialog(parent), m_record(record)
{
    const bool rightToLeft = m_record.language && m_record.language->rightToLeft();
    if (rightToLeft)
        setLayoutDirection(Qt::RightToLeft);
    setupForm();
    setWindowFlags(kUpdaterWindowFlags);
    setWindowTitle(updateText(2113));

    const QString prefix = rightToLeft ? QString() : QStringLiteral(": ");
    labelProduct->setText(m_record.caption);
    labelFound->setText(updateText(2107));
    labelCurrent->setText(VersionLine(2114, m_record.currentVersion));
    labelUpdated->setText(VersionLine(2115, m_record.newVersion));
    labelAsk->setText(updateText(2108));
    labelDescYes->setText(prefix + updateText(2119));
    labelDescBackground->setText(prefix + updateText(2120));
    labelDescLater->setText(prefix + updateText(2121));
    for (int id = 2109; id <= 2112; ++id)
        comboBoxLater->addItem(updateText(id));
    pushButtonYes->setText(updateText(2116));
    pushButtonBackground->setText(updateText(2117));
    pushButtonLater->setText(updateText(2118));

    applyLocaleFont(this);
    const double factor = screenDpi() / 96.0;
    for (QWidget* widget : {static_cast<QWidget*>(labelProduct), static_cast<QWidget*>(labelFound),
                            static_cast<QWidget*>(labelCurrent), static_cast<QWidget*>(labelUpdated),
                            static_cast<QWidget*>(labelAsk), static_cast<QWidget*>(labelDescYes),
                            static_cast<QWidget*>(labelDescBackground),
                            static_cast<QWidget*>(labelDescLater), static_cast<QWidget*>(comboBoxLater)})
        scaleWidget(widget, factor, true);
    for (QPushButton* button : {pushButtonYes, pushButtonBackground, pushButtonLater})
        scaleWidget(button, factor, false);
    shiftWidget(comboBoxLater, labelDescLater->x() + labelDescLater->width() + 20 - comboBoxLater->x());
    fitToPreferredSize(this);
}

void AskDlg::setupForm()
{
    setObjectName(QStringLiteral("AskDlg"));
    resize(928, 336);
    setModal(true);
    applyFormFont(this);
    setWindowTitle(QStringLiteral("Select Update Action"));
    labelProduct = MakeLabel(this, "labelProduct", QRect(20, 20, 691, 16), QStringLiteral("Product Name"), 12, true);
    labelFound = MakeLabel(this, "labelFound", QRect(20, 60, 361, 16), QStringLiteral("Updated Version Found:"), 0, true);
    labelCurrent = MakeLabel(this, "labelCurrent", QRect(30, 90, 351, 16), QStringLiteral("- Current: A.B.C.D"));
    labelUpdated = MakeLabel(this, "labelUpdated", QRect(30, 120, 351, 16), QStringLiteral("- Updated: A.B.C.D"));
    labelAsk = MakeLabel(this, "labelAsk", QRect(20, 170, 361, 16), QStringLiteral("Update Now?"), 0, true);
    labelDescYes = MakeLabel(this, "labelDescYes", QRect(140, 200, 671, 31),
                             QStringLiteral("- Yes: Download updated file and install now."));
    labelDescLater = MakeLabel(this, "labelDescLater", QRect(140, 280, 671, 31),
                               QStringLiteral("- Later: Do not update now, and show this dialog next time."));
    labelDescBackground = MakeLabel(this, "labelDescBackground", QRect(140, 240, 671, 31),
                                    QStringLiteral("- Background: Start downloading updated file backgroud, and install next time."));
    labelDescBackground->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    comboBoxLater = new QComboBox(this);
    comboBoxLater->setObjectName(QStringLiteral("comboBoxLater"));
    comboBoxLater->setGeometry(810, 280, 151, 31);
    pushButtonYes = MakeButton(this, "pushButtonYes", QRect(40, 200, 91, 31), QStringLiteral("Yes"));
    pushButtonLater = MakeButton(this, "pushButtonLater", QRect(40, 280, 91, 31), QStringLiteral("Later"));
    pushButtonBackground = MakeButton(this, "pushButtonBackground", QRect(40, 240, 91, 31), QStringLiteral("Background"));
    setTabOrder(pushButtonYes, pushButtonBackground);
    setTabOrder(pushButtonBackground, pushButtonLater);
    setTabOrder(pushButtonLater, comboBoxLater);
    QMetaObject::connectSlotsByName(this);
}

void AskDlg::on_pushButtonYes_clicked()
{
    emit AskClicked(0, -1);
}

void AskDlg::on_pushButtonBackground_clicked()
{
    emit AskClicked(1, -1);
}

void AskDlg::on_pushButtonLater_clicked()
{
    emit AskClicked(2, comboBoxLater->currentIndex());
}

void AskDlg::keyPressEvent(QKeyEvent* event)
{
    // Every key is swallowed: Escape must not close, Enter must not choose.
    event->accept();
}

void AskDlg::closeEvent(QCloseEvent* event)
{
    event->ignore();
}

NotifyDlg::NotifyDlg(QWidget* parent, const UpdateDialogRecord& record)
    : QDialog(parent), m_record(record)
{
    if (m_record.language && m_record.language->rightToLeft())
        setLayoutDirection(Qt::RightToLeft);
    setupForm();
    setWindowFlags(kUpdaterWindowFlags);
    setWindowTitle(updateText(2113));

    labelCurrent->setText(VersionLine(2114, m_record.currentVersion));
    labelProduct->setText(m_record.caption);
    labelUpdated->setText(VersionLine(2115, m_record.newVersion));
    labelFound->setText(updateText(2131));
    labelAsk->setText(updateText(2132));

    applyLocaleFont(this);
    const double factor = screenDpi() / 96.0;
    for (QLabel* label : {labelProduct, labelFound, labelCurrent, labelUpdated, labelAsk})
        scaleWidget(label, factor, true);
    scaleWidget(pushButtonOK, factor, false);
    fitToPreferredSize(this);
    shiftWidget(pushButtonOK, width() / 2 - pushButtonOK->width() / 2 - pushButtonOK->x());
}

void NotifyDlg::setupForm()
{
    setObjectName(QStringLiteral("NotifyDlg"));
    resize(511, 285);
    setModal(true);
    applyFormFont(this);
    setWindowTitle(QStringLiteral("Dialog"));
    labelCurrent = MakeLabel(this, "labelCurrent", QRect(30, 90, 351, 16), QStringLiteral("- Current: A.B.C.D"));
    labelProduct = MakeLabel(this, "labelProduct", QRect(20, 20, 691, 16), QStringLiteral("Product Name"), 12, true);
    labelUpdated = MakeLabel(this, "labelUpdated", QRect(30, 120, 351, 16), QStringLiteral("- Updated: A.B.C.D"));
    labelFound = MakeLabel(this, "labelFound", QRect(20, 60, 361, 16), QStringLiteral("Updated Version Downloaded:"), 0, true);
    labelAsk = MakeLabel(this, "labelAsk", QRect(20, 170, 361, 16), QStringLiteral("Update will be installed."), 0, true);
    pushButtonOK = new QPushButton(this);
    pushButtonOK->setObjectName(QStringLiteral("pushButtonOK"));
    pushButtonOK->setGeometry(210, 230, 91, 31);
    pushButtonOK->setText(QStringLiteral("OK"));
    QMetaObject::connectSlotsByName(this);
}

void NotifyDlg::on_pushButtonOK_clicked()
{
    emit NotifyClicked();
}

void NotifyDlg::keyPressEvent(QKeyEvent* event)
{
    event->accept();
}

void NotifyDlg::closeEvent(QCloseEvent* event)
{
    event->ignore();
}
