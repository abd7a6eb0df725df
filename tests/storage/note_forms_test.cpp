#include "storage/ui/noteprint.h"
#include "storage/ui/notesave.h"
#include "storage/ui/selectdirectory.h"
#include "tests/support/debug_log.h"
#include "tests/support/test_folders.h"
#include "ui_noteprint.h"
#include "ui_notesave.h"
#include "ui_selectdirectory.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileSystemModel>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

// The note export and print forms and the folder chooser on their own: what
// each OK hands to the main window, the overwrite question, the range boxes
// and the printer list.
namespace {

const QString kMessage105 = QStringLiteral("A file with this name already exists. Do you want to overwrite it?");

QVector<NoteInfo> Notes(int count)
{
    QVector<NoteInfo> notes;
    for (int i = 0; i < count; ++i) {
        NoteInfo note;
        note.name = QStringLiteral("WhiteBoard");
        note.create_data = QStringLiteral("stamp%1").arg(i);
        notes << note;
    }
    return notes;
}

QString LanguageFile()
{
    return BuiltProgramFolder() + QStringLiteral("/Language/ENU.lng");
}

}  // namespace

class NoteFormsTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScopedFolderRoot> root;
    std::unique_ptr<QTemporaryDir> folder;
    QStringList common{"OK", "Cancel", "Apply", "Close", "Close"};
    QStringList saveNote;
    QStringList print{"Print Notes", "Print", "Printer", "Current page", "All pages", "Pages from"};
    QStringList messages;
    QVector<NoteInfo> notes;
    NoteSave* save = nullptr;

    // The form as the main window prepares it before showing it.
    void Prepare(NoteSave* form, int noteCount, const QString& current)
    {
        notes = Notes(noteCount);
        form->SetNoteRange(2, noteCount);
        form->SetLanguageText(&common, &saveNote, &messages);
        form->SetCurrentNote(current, &notes);
        form->show();
    }

    void Choose(const QString& extension, int scope, int firstBox = 1, int lastBox = 1)
    {
        (extension == ".png" ? save->ui->pngradiobtn
                             : extension == ".bmp" ? save->ui->bmpradiobtn : save->ui->jpgradiobtn)->click();
        (scope == 1 ? save->ui->onlyradiobtn : scope == 2 ? save->ui->allradiobtn : save->ui->SelectRadiobtn)->click();
        save->ui->SNotes_spinBox_Max->setValue(lastBox);
        save->ui->SNotes_spinBox_Min->setValue(firstBox);
    }

    void Touch(const QString& name)
    {
        QFile file(folder->filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

    int Questions() const
    {
        return g_log.filter(QStringLiteral("message box question: Confirm | ") + kMessage105).size();
    }

private slots:
    void initTestCase()
    {
        qputenv("DRAVIK_NO_MODAL", "1");
        qInstallMessageHandler(CollectLog);
        root = std::make_unique<ScopedFolderRoot>();
        for (int key = 700; key <= 710; ++key)
            saveNote << QStringLiteral("text %1").arg(key);
        for (int key = 100; key <= 171; ++key)
            messages << (key == 105 ? kMessage105 : QString());
    }

    void cleanupTestCase() { root.reset(); }

    void init()
    {
        g_log.clear();
        qputenv("DRAVIK_NO_MODAL", "1");
        folder = std::make_unique<QTemporaryDir>();
        save = new NoteSave;
        save->InitNoteSave(LanguageFile(), false);
    }

    void cleanup()
    {
        delete save;
        save = nullptr;
        folder.reset();
    }

    void startsWithDefaultsAndCaptions()
    {
        Prepare(save, 3, "stamp0");
        QCOMPARE(save->ui->diredit->text(), root->path() + "/Documents/Dravik/Dravik_Saved_Notes");
        QCOMPARE(save->ui->diredit->toolTip(), save->ui->diredit->text());
        QCOMPARE(save->ui->nameedit->text(), QStringLiteral("noname"));
        QVERIFY(save->ui->jpgradiobtn->isChecked());
        QVERIFY(save->ui->onlyradiobtn->isChecked());
        QCOMPARE(save->windowTitle(), QStringLiteral("text 700"));
        QCOMPARE(save->ui->jpgradiobtn->text(), QStringLiteral("text 706"));
        QCOMPARE(save->ui->SelectRadiobtn->text(), QStringLiteral("text 710"));
        QCOMPARE(save->ui->okbtn->text(), QStringLiteral("OK"));
        QCOMPARE(save->ui->cancelbtn->text(), QStringLiteral("Cancel"));
        QCOMPARE(save->size(), QSize(402, 360));
        // The folder chooser feeds the folder field.
        emit save->folderChooser()->SetFilePath(folder->path());
        QCOMPARE(save->ui->diredit->text(), folder->path());
    }

    void okHandsOverTheRequest_data()
    {
        QTest::addColumn<QString>("extension");
        QTest::addColumn<int>("scope");
        QTest::addColumn<int>("firstBox");
        QTest::addColumn<int>("lastBox");
        QTest::addColumn<QString>("current");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("end");
        QTest::newRow("current note, jpg") << ".jpg" << 1 << 1 << 1 << "stamp1" << 1 << 2;
        QTest::newRow("all of three, png") << ".png" << 2 << 1 << 1 << "stamp1" << 0 << 3;
        QTest::newRow("range 2..2, png") << ".png" << 3 << 2 << 2 << "stamp0" << 1 << 2;
        QTest::newRow("range 2..3, bmp") << ".bmp" << 3 << 2 << 3 << "stamp0" << 1 << 3;
        QTest::newRow("current note not in the list") << ".jpg" << 1 << 1 << 1 << "gone" << -1 << -1;
    }

    void okHandsOverTheRequest()
    {
        QFETCH(QString, extension);
        QFETCH(int, scope);
        QFETCH(int, firstBox);
        QFETCH(int, lastBox);
        QFETCH(QString, current);
        QFETCH(int, first);
        QFETCH(int, end);
        Prepare(save, 3, current);
        // A folder without a trailing separator.
        save->SetPath(folder->path());
        save->ui->nameedit->setText("lesson");
        Choose(extension, scope, firstBox, lastBox);
        QSignalSpy request(save, &NoteSave::CallNoteSavePrintOperation);

        save->ui->okbtn->click();

        if (first < 0) {
            QCOMPARE(request.count(), 0);
        } else {
            QCOMPARE(request.count(), 1);
            QCOMPARE(request[0][0].toString(), folder->path() + "/lesson");
            QCOMPARE(request[0][1].toString(), extension);
            QCOMPARE(request[0][2].toInt(), first);
            QCOMPARE(request[0][3].toInt(), end);
        }
        QVERIFY(!save->isVisible());
        QCOMPARE(Questions(), 0);
    }

    // The question is asked about exactly the files the export will write.
    void asksBeforeOverwriting_data()
    {
        QTest::addColumn<int>("scope");
        QTest::addColumn<int>("firstBox");
        QTest::addColumn<int>("lastBox");
        QTest::addColumn<QString>("existing");
        QTest::addColumn<bool>("asked");
        QTest::newRow("current note, its file") << 1 << 1 << 1 << "lesson.png" << true;
        QTest::newRow("current note, a numbered file") << 1 << 1 << 1 << "lesson_1.png" << false;
        QTest::newRow("all notes, the last file") << 2 << 1 << 1 << "lesson_3.png" << true;
        QTest::newRow("all notes, the single name") << 2 << 1 << 1 << "lesson.png" << false;
        QTest::newRow("range 2..2, the single name") << 3 << 2 << 2 << "lesson.png" << true;
        QTest::newRow("range 2..3, numbered from 1") << 3 << 2 << 3 << "lesson_1.png" << true;
        QTest::newRow("range 2..3, beyond the range") << 3 << 2 << 3 << "lesson_3.png" << false;
        QTest::newRow("other type") << 1 << 1 << 1 << "lesson.jpg" << false;
    }

    void asksBeforeOverwriting()
    {
        QFETCH(int, scope);
        QFETCH(int, firstBox);
        QFETCH(int, lastBox);
        QFETCH(QString, existing);
        QFETCH(bool, asked);
        Touch(existing);
        Prepare(save, 3, "stamp0");
        save->SetPath(folder->path() + "/");
        save->ui->nameedit->setText("lesson");
        Choose(".png", scope, firstBox, lastBox);
        QSignalSpy request(save, &NoteSave::CallNoteSavePrintOperation);

        save->ui->okbtn->click();

        QCOMPARE(Questions(), asked ? 1 : 0);
        QCOMPARE(request.count(), 1);  // unattended, the question answers Yes
    }

    void noKeepsTheFormOpen()
    {
        Touch("lesson.jpg");
        Prepare(save, 2, "stamp0");
        save->SetPath(folder->path());
        save->ui->nameedit->setText("lesson");
        QSignalSpy request(save, &NoteSave::CallNoteSavePrintOperation);
        qunsetenv("DRAVIK_NO_MODAL");
        QString title;
        QString text;
        QTimer::singleShot(100, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            title = box->windowTitle();
            text = box->text();
            box->button(QMessageBox::No)->click();
        });

        save->ui->okbtn->click();

        QCOMPARE(title, QStringLiteral("Confirm"));
        QCOMPARE(text, kMessage105);
        QCOMPARE(request.count(), 0);
        QVERIFY(save->isVisible());
    }

    void emptyFolderOrNameDoesNothing_data()
    {
        QTest::addColumn<bool>("emptyFolder");
        QTest::newRow("empty folder") << true;
        QTest::newRow("empty name") << false;
    }

    void emptyFolderOrNameDoesNothing()
    {
        QFETCH(bool, emptyFolder);
        Prepare(save, 2, "stamp0");
        save->SetPath(emptyFolder ? QString() : folder->path());
        save->ui->nameedit->setText(emptyFolder ? "lesson" : QString());
        QSignalSpy request(save, &NoteSave::CallNoteSavePrintOperation);
        save->ui->okbtn->click();
        QCOMPARE(request.count(), 0);
        QVERIFY(save->isVisible());
    }

    void rangeBoxesFollowEachOther()
    {
        Prepare(save, 5, "stamp0");
        QSpinBox* min = save->ui->SNotes_spinBox_Min;
        QSpinBox* max = save->ui->SNotes_spinBox_Max;
        QCOMPARE(max->value(), 5);
        QCOMPARE(max->maximum(), 5);
        QCOMPARE(min->maximum(), 5);
        QVERIFY(!min->isEnabled() && !max->isEnabled());
        save->ui->SelectRadiobtn->click();
        QVERIFY(min->isEnabled() && max->isEnabled());
        max->setValue(3);
        min->setValue(4);
        QCOMPARE(max->value(), 4);
        max->setValue(2);
        QCOMPARE(min->value(), 2);
        save->ui->allradiobtn->click();
        QVERIFY(!min->isEnabled() && !max->isEnabled());
        save->ui->SelectRadiobtn->click();
        save->ui->onlyradiobtn->click();
        QVERIFY(!min->isEnabled() && !max->isEnabled());
        // Fewer notes next time: the first box keeps its value within the new range.
        min->setValue(4);
        save->SetNoteRange(2, 2);
        QCOMPARE(min->value(), 2);
        QCOMPARE(max->value(), 2);
    }

    void printerListChoosesTheDefault_data()
    {
        QTest::addColumn<QStringList>("printers");
        QTest::addColumn<QString>("defaultPrinter");
        QTest::addColumn<QString>("chosen");
        QTest::newRow("default in the list") << QStringList{"Hall", "Office"} << "Office" << "Office";
        QTest::newRow("default missing") << QStringList{"Hall", "Office"} << "Lab" << "Hall";
        QTest::newRow("case matters") << QStringList{"Hall", "Office"} << "office" << "Hall";
        QTest::newRow("no printer") << QStringList() << "" << "";
    }

    void printerListChoosesTheDefault()
    {
        QFETCH(QStringList, printers);
        QFETCH(QString, defaultPrinter);
        QFETCH(QString, chosen);
        NotePrint form;
        form.InitNotePrint(false);
        QVERIFY(form.ui->Ctrlbtn->isHidden());
        form.FillPrinterList(printers, defaultPrinter);
        QCOMPARE(form.ui->printcombo->currentText(), chosen);

        notes = Notes(6);
        form.SetNoteRange(2, 6);
        form.SetLanguageText(&common, &print);
        form.SetCurrentNote("stamp4", &notes);
        form.show();
        QCOMPARE(form.windowTitle(), QStringLiteral("Print Notes"));
        QCOMPARE(form.ui->printtxt->text(), QStringLiteral("Printer"));
        QSignalSpy request(&form, &NotePrint::CallNoteSavePrintOperation);
        form.ui->Okbtn->click();
        QCOMPARE(request.count(), 1);
        QCOMPARE(request[0], QVariantList({chosen, QStringLiteral("print"), 4, 5}));
        QVERIFY(!form.isVisible());
    }

    void printRangesAndTheMissingCurrentNote_data()
    {
        QTest::addColumn<int>("scope");
        QTest::addColumn<QString>("current");
        QTest::addColumn<QVariantList>("expected");
        QTest::newRow("range 3..5 of 6") << 3 << "stamp0" << QVariantList{"Hall", "print", 2, 5};
        QTest::newRow("all of 6") << 2 << "stamp0" << QVariantList{"Hall", "print", 0, 6};
        QTest::newRow("current note gone") << 1 << "gone" << QVariantList();
    }

    void printRangesAndTheMissingCurrentNote()
    {
        QFETCH(int, scope);
        QFETCH(QString, current);
        QFETCH(QVariantList, expected);
        NotePrint form;
        form.InitNotePrint(false);
        form.FillPrinterList({"Hall"}, "Hall");
        notes = Notes(6);
        form.SetNoteRange(2, 6);
        form.SetLanguageText(&common, &print);
        form.SetCurrentNote(current, &notes);
        form.show();
        (scope == 1 ? form.ui->onlyradiobtn_print : scope == 2 ? form.ui->allradiobtn_print
                                                               : form.ui->SelectRadiobtn_print)->click();
        QCOMPARE(form.ui->SNotes_spinBox_Min_print->isEnabled(), scope == 3);
        form.ui->SNotes_spinBox_Min_print->setValue(3);
        form.ui->SNotes_spinBox_Max_print->setValue(5);
        QSignalSpy request(&form, &NotePrint::CallNoteSavePrintOperation);
        form.ui->Okbtn->click();
        QCOMPARE(request.count(), expected.isEmpty() ? 0 : 1);
        if (!expected.isEmpty())
            QCOMPARE(request[0], expected);
        QVERIFY(!form.isVisible());
    }

    void folderChooserHandsOverOnlyAChosenFolder()
    {
        QDir(folder->path()).mkpath("lessons");
        Touch("notes.txt");
        SelectDirectory chooser;
        chooser.InitSelectDirectory(LanguageFile());
        QCOMPARE(chooser.windowTitle(), QStringLiteral("Folder"));
        QCOMPARE(chooser.ui->Okbtn->text(), QStringLiteral("OK"));
        QCOMPARE(chooser.ui->Cancelbtn->text(), QStringLiteral("Cancel"));
        QVERIFY(chooser.ui->treeView->isColumnHidden(1) && chooser.ui->treeView->isColumnHidden(3));

        // Folders only.
        auto* model = qobject_cast<QFileSystemModel*>(chooser.ui->treeView->model());
        QVERIFY(model);
        const QModelIndex parent = model->index(folder->path());
        model->fetchMore(parent);
        QTRY_COMPARE(model->rowCount(parent), 1);
        const QModelIndex lessons = model->index(0, 0, parent);
        QCOMPARE(model->fileName(lessons), QStringLiteral("lessons"));

        QSignalSpy chosen(&chooser, qOverload<QString>(&SelectDirectory::SetFilePath));
        chooser.show();
        chooser.ui->Okbtn->click();
        QCOMPARE(chosen.count(), 0);  // nothing clicked: nothing to hand over
        QVERIFY(!chooser.isVisible());

        chooser.show();
        emit chooser.ui->treeView->clicked(lessons);
        chooser.ui->Cancelbtn->click();
        QCOMPARE(chosen.count(), 0);
        chooser.show();
        chooser.ui->Okbtn->click();
        QCOMPARE(chosen.count(), 1);
        QCOMPARE(chosen[0][0].toString(), folder->path() + "/lessons");
    }
};

QTEST_MAIN(NoteFormsTest)
#include "note_forms_test.moc"
