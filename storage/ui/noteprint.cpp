#include "storage/ui/noteprint.h"

#include "storage/note_export.h"
#include "storage/ui/note_range_boxes.h"
#include "ui_noteprint.h"

#include <QCloseEvent>
#include <QDebug>
#include <QPrinter>
#include <QPrinterInfo>

NotePrint::NotePrint(QWidget* parent)
    : QDialog(parent)
    , ui(new Ui::NotePrint)
{
    ui->setupUi(this);
}

NotePrint::~NotePrint()
{
    // The caption lists and the notes belong to the main window.
    delete ui;
}

void NotePrint::InitNotePrint(bool)
{
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint
                   | Qt::WindowStaysOnTopHint);
    m_controlMode = true;
    ui->Ctrlbtn->hide();
    noteforms::EnableRange(ui->SNotes_spinBox_Min_print, ui->SNotes_spinBox_Max_print, false);

    const QString defaultName = QPrinter(QPrinter::ScreenResolution).printerName();
    qDebug().noquote() << defaultName << "current print get";
    QStringList printers;
    for (const QPrinterInfo& info : QPrinterInfo::availablePrinters())
        printers << info.printerName();
    FillPrinterList(printers, defaultName);

    connect(ui->cancelbtn, &QPushButton::clicked, this, &NotePrint::close);
    connect(ui->Okbtn, &QPushButton::clicked, this, &NotePrint::PrintOperation);
}

void NotePrint::FillPrinterList(const QStringList& printers, const QString& defaultPrinter)
{
    m_defaultPrinter = defaultPrinter;
    ui->printcombo->clear();
    ui->printcombo->addItems(printers);
    const int index = ui->printcombo->findText(defaultPrinter, Qt::MatchExactly | Qt::MatchCaseSensitive);
    ui->printcombo->setCurrentIndex(index >= 0 ? index : 0);
}

void NotePrint::SetNoteRange(int mode, int value)
{
    noteforms::SetRange(ui->SNotes_spinBox_Min_print, ui->SNotes_spinBox_Max_print, mode, value);
}

void NotePrint::SetLanguageText(QStringList* common, QStringList* print)
{
    m_common = common;
    m_print = print;
    const auto text = [](const QStringList* list, int i) { return list ? list->value(i) : QString(); };
    setWindowTitle(text(print, 0));
    ui->Okbtn->setText(text(print, 1));
    ui->printtxt->setText(text(print, 2));
    ui->onlyradiobtn_print->setText(text(print, 3));
    ui->allradiobtn_print->setText(text(print, 4));
    ui->SelectRadiobtn_print->setText(text(print, 5));
    ui->cancelbtn->setText(text(common, 1));
}

void NotePrint::SetCurrentNote(QString create, QVector<NoteInfo>* notes)
{
    m_currentNote = create;
    m_notes = notes;
}

void NotePrint::PrintOperation()
{
    storage::NoteScope scope = storage::NoteScope::Range;
    if (ui->onlyradiobtn_print->isChecked())
        scope = storage::NoteScope::Current;
    else if (ui->allradiobtn_print->isChecked())
        scope = storage::NoteScope::All;
    const QString printer = ui->printcombo->currentText();
    int first = 0;
    int end = 0;
    if (storage::NoteScopeRange(scope, m_currentNote, m_notes ? *m_notes : QVector<NoteInfo>(),
                                ui->SNotes_spinBox_Min_print->value(), ui->SNotes_spinBox_Max_print->value(), &first,
                                &end))
        emit CallNoteSavePrintOperation(printer, QLatin1String(storage::kNotePrintMode), first, end);
    close();
}

void NotePrint::on_onlyradiobtn_print_clicked()
{
    noteforms::EnableRange(ui->SNotes_spinBox_Min_print, ui->SNotes_spinBox_Max_print, false);
}

void NotePrint::on_allradiobtn_print_clicked()
{
    on_onlyradiobtn_print_clicked();
}

void NotePrint::on_SelectRadiobtn_print_clicked()
{
    noteforms::EnableRange(ui->SNotes_spinBox_Min_print, ui->SNotes_spinBox_Max_print, true);
}

void NotePrint::on_SNotes_spinBox_Min_print_valueChanged(int value)
{
    noteforms::FirstMoved(ui->SNotes_spinBox_Max_print, value);
}

void NotePrint::on_SNotes_spinBox_Max_print_valueChanged(int value)
{
    noteforms::LastMoved(ui->SNotes_spinBox_Min_print, value);
}

void NotePrint::closeEvent(QCloseEvent* event)
{
    m_controlMode = false;
    ui->Ctrlbtn->setText(QStringLiteral("Ctrl Off"));
    ui->Ctrlbtn->setStyleSheet(QStringLiteral("QPushButton{background-color: Gainsboro;}"));
    QDialog::closeEvent(event);
}
