#include "tools/ui/rec.h"

#include "ui_rec.h"

#include <QPushButton>
#include <QRadioButton>
#include <QtConcurrent>

namespace {

QString Entry(const QStringList* texts, int index)
{
    return texts ? texts->value(index) : QString();
}

// A widget's text and tool tip from a language entry; an entry the file
// lacks leaves the form's own text.
template <typename Widget>
void ApplyText(Widget* widget, const QString& text)
{
    if (text.isEmpty())
        return;
    widget->setText(text);
    widget->setToolTip(text);
}

}  // namespace

rec::rec(QWidget* parent)
    : QDialog(parent, Qt::WindowFlags())
    , ui(new Ui::rec)
{
    ui->setupUi(this);
}

rec::~rec()
{
    // The worker only emits; it must not outlive the object it emits from.
    m_worker.waitForFinished();
    delete ui;
}

void rec::SetLanguageText(QStringList* selRecTypeTexts, QStringList* commonTexts)
{
    m_selRecTypeTexts = selRecTypeTexts;
    m_commonTexts = commonTexts;
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowStaysOnTopHint
                   | Qt::WindowCloseButtonHint);
    const QString title = Entry(selRecTypeTexts, 0);
    if (!title.isEmpty()) {
        setWindowTitle(title);
        ui->groupBox->setTitle(title);
        ui->groupBox->setToolTip(title);
    }
    ApplyText(ui->audio, Entry(selRecTypeTexts, 1));
    ApplyText(ui->video, Entry(selRecTypeTexts, 2));
    ApplyText(ui->screen, Entry(selRecTypeTexts, 3));
    ApplyText(ui->input_test, Entry(selRecTypeTexts, 4));
    ApplyText(ui->ok_btn, Entry(commonTexts, 0));
    ApplyText(ui->cancel_btn, Entry(commonTexts, 1));
    connect(ui->ok_btn, SIGNAL(clicked()), this, SLOT(btnOKClick()), Qt::UniqueConnection);
    connect(ui->cancel_btn, SIGNAL(clicked()), this, SLOT(btnCancelClick()), Qt::UniqueConnection);
    connect(&m_worker, SIGNAL(finished()), this, SLOT(CallFinished()), Qt::UniqueConnection);
    ui->input_test->hide();
}

void rec::SetButtonsEnabled(int cameraCount, int microphoneCount)
{
    ui->video->setEnabled(cameraCount != 0);
    ui->audio->setEnabled(microphoneCount != 0);
}

bool rec::cameraChoiceEnabled() const { return ui->video->isEnabled(); }
bool rec::audioChoiceEnabled() const { return ui->audio->isEnabled(); }

void rec::SetRecType(int type)
{
    QRadioButton* radio = type == 0 ? ui->video : type == 1 ? ui->audio : type == 2 ? ui->screen : nullptr;
    if (!radio)
        return;
    radio->setChecked(true);
    m_recType = type;
}

void rec::EmitRecStartWorker(rec* dialog, int type)
{
    emit dialog->CallRecStart(type);
}

void rec::btnOKClick()
{
    // A second press while the first is on its way would start a second
    // recording.
    ui->ok_btn->setEnabled(false);
    ui->cancel_btn->setEnabled(false);
    int type = m_recType;
    if (ui->video->isChecked())
        type = 0;
    if (ui->audio->isChecked())
        type = 1;
    if (ui->screen->isChecked())
        type = 2;
    m_recType = type;
    m_worker.setFuture(QtConcurrent::run(&rec::EmitRecStartWorker, this, type));
}

void rec::btnCancelClick() { close(); }

void rec::CallFinished() { close(); }

void rec::showEvent(QShowEvent* event)
{
    ui->ok_btn->setEnabled(true);
    ui->cancel_btn->setEnabled(true);
    QDialog::showEvent(event);
}
