#pragma once

#include "board/board_records.h"

#include <QDialog>
#include <QString>
#include <QStringList>
#include <QVector>

class QCloseEvent;

namespace Ui {
class NotePrint;
}

// The "Print Notes" form: an installed printer and which notes. On OK it
// hands the request to the main window, which prints the notes; nothing is
// asked, printing overwrites nothing. The printer list is read once.
class NotePrint : public QDialog
{
    Q_OBJECT

public:
    explicit NotePrint(QWidget* parent = nullptr);
    ~NotePrint() override;

    void InitNotePrint(bool option);
    void SetNoteRange(int mode, int value);
    void SetLanguageText(QStringList* common, QStringList* print);
    void SetCurrentNote(QString create, QVector<NoteInfo>* notes);

    // The printers offered, in the order given; the default one is chosen,
    // else the first. Called once by InitNotePrint with the system's printers.
    void FillPrinterList(const QStringList& printers, const QString& defaultPrinter);
    QString defaultPrinter() const { return m_defaultPrinter; }

    Ui::NotePrint* ui = nullptr;

public slots:
    void PrintOperation();
    void on_onlyradiobtn_print_clicked();
    void on_allradiobtn_print_clicked();
    void on_SelectRadiobtn_print_clicked();
    void on_SNotes_spinBox_Min_print_valueChanged(int value);
    void on_SNotes_spinBox_Max_print_valueChanged(int value);

signals:
    void CallNoteSavePrintOperation(QString path, QString mode, int first, int last);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QStringList* m_common = nullptr;
    QStringList* m_print = nullptr;
    QVector<NoteInfo>* m_notes = nullptr;
    QString m_defaultPrinter;
    bool m_controlMode = false;
    QString m_currentNote;
};
