#include "app/ui/dialog.h"
#include "storage/ui/import_dlg.h"
#include "storage/ui/show_import_msg.h"
#include "tests/support/session_tap.h"
#include "tests/support/debug_log.h"
#include "tests/support/test_folders.h"
#include "ui_dialog.h"
#include "ui_import_dlg.h"
#include "ui_show_import_msg.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextCodec>
#include <QtTest>

#include <memory>

// The document import road on the main window: a chosen PDF opens the import
// form, the chosen pages become document pages of the board, each with its
// own one-page file in the work folder; a picture becomes a picture page;
// stopping, damaged files and a missing page editor leave the board sound.
namespace {

// Page i (from 0) is (200 + 40 i) x (300 + 20 i) points, with a black block
// whose place tells the pages apart.
QSizeF SourcePageSize(int i)
{
    return QSizeF(200 + 40 * i, 300 + 20 * i);
}

bool MakePdf(const QString& path, int pages)
{
    QPdfWriter writer(path);
    writer.setResolution(72);
    writer.setPageMargins(QMarginsF());
    writer.setPageSize(QPageSize(SourcePageSize(0), QPageSize::Point, QString(), QPageSize::ExactMatch));
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    for (int i = 0; i < pages; ++i) {
        if (i > 0) {
            writer.setPageSize(QPageSize(SourcePageSize(i), QPageSize::Point, QString(), QPageSize::ExactMatch));
            writer.newPage();
        }
        painter.fillRect(QRectF(20 + 20 * i, 20, 40, 40), Qt::black);
    }
    return painter.end();
}

int DarkPixels(const QImage& image)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += qGray(image.pixel(x, y)) < 60 ? 1 : 0;
    return n;
}

}  // namespace

class DocumentImportDialogTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScopedFolderRoot> root;
    std::unique_ptr<QTemporaryDir> files;
    Dialog* board = nullptr;

    ImportDlg* Import() const { return board->m_importDlg; }

    void MakeBoard()
    {
        board = new Dialog;
        board->resize(800, 600);
        board->InitBoardModel();
        board->ResetBoard(false);
        // The two import dialogs alone, wired by the window's one table.
        board->m_showImportMsg = new ShowImportMsg(board);
        board->m_showImportMsg->InitShowImportMsg(board->m_languageFilePath);
        board->m_importDlg = new ImportDlg(board);
        board->m_importDlg->InitImportDlg();
        board->ConnectSignals();
        board->show();
        QVERIFY(QTest::qWaitForWindowExposed(board));
    }

    // Three white pages, the middle one shown.
    void ThreePagesMiddleShown()
    {
        board->CreateNotePage(1, QStringLiteral("WhiteBoard"), QString(), false);
        board->CreateNotePage(1, QStringLiteral("WhiteBoard"), QString(), false);
        board->SaveCurrentNoteImage(true);
        board->m_note_idx = 1;
        board->NoteChangeWorker();
    }

    QStringList Stamps() const
    {
        QStringList stamps;
        for (const NoteInfo& note : board->m_note_list)
            stamps << note.create_data;
        return stamps;
    }

    QString PdfPath(const QString& name, int pages)
    {
        const QString path = files->filePath(name);
        if (!QFileInfo::exists(path))
            MakePdf(path, pages);
        return path;
    }

    // Page count and first-page size of a PDF through the renderer.
    QSize PdfPages(const QString& path, int* count)
    {
        const storage::PdfRendererLibrary& r = board->m_pdfRenderer;
        int document = 0;
        *count = 0;
        if (r.LoadDocument(path, QString(), &document) != 0 || document <= 0)
            return QSize();
        *count = r.GetPageCount(document);
        int page = 0;
        QSize size;
        if (r.LoadPage(document, 0, &page) == 0) {
            size = QSize(int(r.GetPageWidth(page)), int(r.GetPageHeight(page)));
            r.ClosePage(page);
        }
        r.CloseDocument(document);
        return size;
    }

    // The worker is running from the click on; the form closes once it has
    // ended and its last pages have reached the board.
    bool WaitForImportEnd()
    {
        return QTest::qWaitFor([&] { return !Import()->IsExtracting() && !Import()->isVisible(); }, 10000);
    }

private slots:
    void initTestCase()
    {
        qputenv("DRAVIK_NO_MODAL", "1");
        qInstallMessageHandler(CollectLog);
        files = std::make_unique<QTemporaryDir>();
        QVERIFY(files->isValid());
    }

    void cleanupTestCase() { files.reset(); }

    // Every test on a fresh board with its own work folder.
    void init()
    {
        g_log.clear();
        root = std::make_unique<ScopedFolderRoot>();
        QVERIFY(root->isValid());
        MakeBoard();
    }

    void cleanup()
    {
        delete board;
        board = nullptr;
        root.reset();
        qunsetenv("DRAVIK_LIBRARY_DIR");
    }

    void importsTheChosenRange_data()
    {
        QTest::addColumn<bool>("fitToWidth");
        QTest::newRow("whole page") << false;
        QTest::newRow("fit to width") << true;
    }

    void importsTheChosenRange()
    {
        QFETCH(bool, fitToWidth);
        ThreePagesMiddleShown();
        const QStringList before = Stamps();
        const QString pdf = PdfPath(QStringLiteral("lesson.pdf"), 5);

        board->OpenChosenDocument(pdf);
        QVERIFY(Import()->isVisible());
        QCOMPARE(board->m_import_first_idx, 3);
        QCOMPARE(Import()->windowTitle(), QStringLiteral("Import Document"));
        QCOMPARE(Import()->ui->lFileName->text(), QStringLiteral("lesson.pdf"));
        QCOMPARE(Import()->ui->lAllNumber->text(), QStringLiteral("5"));
        QCOMPARE(Import()->ui->sEndPage->value(), 5);
        // The language file's captions; the vertical choice lays a page
        // across the board's width.
        QCOMPARE(Import()->ui->radio_hor->text(), QStringLiteral("Whole page"));
        QCOMPARE(Import()->ui->radio_ver->text(), QStringLiteral("Fit to width"));
        QVERIFY(Import()->ui->radio_hor->isChecked());

        Import()->ui->sStartPage->setValue(2);
        Import()->ui->sEndPage->setValue(4);
        (fitToWidth ? Import()->ui->radio_ver : Import()->ui->radio_hor)->setChecked(true);
        QTest::mouseClick(Import()->ui->btnOK, Qt::LeftButton);
        QVERIFY(WaitForImportEnd());
        QCOMPARE(Import()->ui->progressBar->value(), 100);

        // Three document pages after the pages there were; the first one shown.
        QCOMPARE(board->m_note_list.size(), 6);
        QCOMPARE(Stamps().mid(0, 3), before);
        QCOMPARE(board->m_note_idx, 3);
        QCOMPARE(board->m_curr_note.create_data, board->m_note_list.at(3).create_data);
        QCOMPARE(board->ui->notelistLabel->text(), QStringLiteral("4/6"));
        const QString workFolder = QDir::cleanPath(board->m_workFolder);
        for (int k = 0; k < 3; ++k) {
            const NoteInfo note = board->m_note_list.at(3 + k);
            const int source = 1 + k;  // pages 2..4
            QCOMPARE(note.type, 3);
            QCOMPARE(note.page_option, fitToWidth);
            QCOMPARE(note.path, workFolder + QStringLiteral("/lesson/lesson%1.pdf").arg(source));
            QCOMPARE(note.name, QStringLiteral("lesson%1.pdf").arg(source));
            QCOMPARE(QSize(note.width, note.height), SourcePageSize(source).toSize());
            int count = 0;
            QCOMPARE(PdfPages(note.path, &count), SourcePageSize(source).toSize());
            QCOMPARE(count, 1);
            // The page image file holds the rendered page.
            const QImage file(note.imagePath);
            QVERIFY(!file.isNull());
            QVERIFY(DarkPixels(file) > 0);
        }

        // The shown background is the page at the chosen layout: fitted into
        // the 800 x 600 board, or as wide as the board and scrolled.
        const QSizeF page = SourcePageSize(1);
        if (fitToWidth) {
            QCOMPARE(board->m_backgroundImage.size(), QSize(800, int(800 / page.width() * page.height())));
        } else {
            QCOMPARE(board->m_backgroundImage.size(), QSize(800, 600));
            const int drawnWidth = int(600 / page.height() * page.width());
            const QImage& bg = board->m_backgroundImage;
            // White margins left and right of the page, the block inside it.
            QCOMPARE(QColor(bg.pixel((800 - drawnWidth) / 2 - 5, 300)), QColor(Qt::white));
            QCOMPARE(QColor(bg.pixel((800 + drawnWidth) / 2 + 5, 300)), QColor(Qt::white));
            QVERIFY(DarkPixels(bg) > 0);
        }

        // Importing the same document again keeps the first import's files.
        const QByteArray firstFile = [&] {
            QFile f(board->m_note_list.at(3).path);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        }();
        board->OpenChosenDocument(pdf);
        Import()->ui->sStartPage->setValue(1);
        Import()->ui->sEndPage->setValue(1);
        QTest::mouseClick(Import()->ui->btnOK, Qt::LeftButton);
        QVERIFY(WaitForImportEnd());
        QCOMPARE(board->m_note_list.size(), 7);
        QCOMPARE(board->m_note_list.at(6).path, workFolder + QStringLiteral("/lesson_2/lesson_20.pdf"));
        QFile again(board->m_note_list.at(3).path);
        QVERIFY(again.open(QIODevice::ReadOnly));
        QCOMPARE(again.readAll(), firstFile);
        QCOMPARE(board->m_note_idx, 6);
    }

    // Closing the form half-way keeps the pages made so far, each complete,
    // and shows the first of them.
    void closingHalfWayKeepsThePagesMade()
    {
        const QString pdf = PdfPath(QStringLiteral("long.pdf"), 6);
        const QString shownBefore = board->m_curr_note.create_data;
        board->OpenChosenDocument(pdf);
        QVERIFY(Import()->isVisible());
        QSignalSpy finished(Import(), &ImportDlg::CallAddFinished);
        int reported = 0;
        ImportDlg* form = Import();
        // The worker waits at its second page until the form is closed, so
        // the stop lands exactly between pages 2 and 3.
        connect(form, &ImportDlg::CallAddDocuments, form,
                [&reported, form](QString, bool, bool) {
                    if (++reported == 2)
                        QMetaObject::invokeMethod(form, [form] { form->close(); }, Qt::BlockingQueuedConnection);
                },
                Qt::DirectConnection);
        QTest::mouseClick(form->ui->btnOK, Qt::LeftButton);
        QVERIFY(WaitForImportEnd());
        // The pages the worker reported before it stopped arrive queued, and
        // the end of the import shows the first of them.
        QTRY_VERIFY_WITH_TIMEOUT(board->m_note_list.size() == 3 && board->m_note_idx == 1, 5000);

        QCOMPARE(reported, 2);
        QCOMPARE(finished.count(), 1);
        QCOMPARE(board->m_note_list.at(0).create_data, shownBefore);
        QCOMPARE(board->m_note_idx, 1);
        QCOMPARE(board->m_curr_note.create_data, board->m_note_list.at(1).create_data);
        QCOMPARE(board->ui->notelistLabel->text(), QStringLiteral("2/3"));
        const QString folder = QDir::cleanPath(board->m_workFolder) + QStringLiteral("/long");
        QCOMPARE(QDir(folder).entryList(QDir::Files, QDir::Name), (QStringList{"long0.pdf", "long1.pdf"}));
        for (int i = 1; i < 3; ++i) {
            int count = 0;
            QCOMPARE(PdfPages(board->m_note_list.at(i).path, &count), SourcePageSize(i - 1).toSize());
            QCOMPARE(count, 1);
            QVERIFY(QFileInfo::exists(board->m_note_list.at(i).imagePath));
        }
        // The form can run again.
        QVERIFY(Import()->ui->btnOK->isEnabled());
    }

    void damagedDocumentLeavesTheBoard_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<bool>("formShown");
        QTest::addColumn<QString>("message");
        QTest::newRow("not a PDF inside") << "garbage" << false << "message box warning:  | cannot open the document: ";
        QTest::newRow("empty file") << "empty" << false << "message box warning:  | cannot open the document: ";
        QTest::newRow("broken once the form is open")
            << "later" << true << "message box critical:  | cannot import broken.pdf: no page could be extracted from it";
    }

    void damagedDocumentLeavesTheBoard()
    {
        QFETCH(QString, damage);
        QFETCH(bool, formShown);
        QFETCH(QString, message);
        ThreePagesMiddleShown();
        const QStringList before = Stamps();
        const QString shown = board->m_curr_note.create_data;
        const QString pdf = files->filePath(QStringLiteral("broken.pdf"));
        QFile::remove(pdf);
        auto spoil = [&] {
            QFile file(pdf);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            if (damage != QLatin1String("empty"))
                file.write("%PDF-1.4\n1 0 obj << /Type /Catalog >> endobj\ntrailer\n%%EOF\n");
        };
        if (damage == QLatin1String("later"))
            QVERIFY(MakePdf(pdf, 3));
        else
            spoil();

        board->OpenChosenDocument(pdf);
        QCOMPARE(Import()->isVisible(), formShown);
        if (formShown) {
            spoil();
            QTest::mouseClick(Import()->ui->btnOK, Qt::LeftButton);
            QVERIFY(WaitForImportEnd());
        }
        QCOMPARE(g_log.filter(QStringLiteral("message box")).size(), 1);
        QVERIFY2(g_log.filter(QStringLiteral("message box")).first().startsWith(message),
                 qPrintable(g_log.filter(QStringLiteral("message box")).first()));
        QCOMPARE(Stamps(), before);
        QCOMPARE(board->m_curr_note.create_data, shown);
        QCOMPARE(board->m_note_idx, 1);
        QVERIFY(!QFileInfo::exists(board->m_workFolder + QStringLiteral("broken")));
    }

    // Pages that arrive before the last one of an import are added unseen:
    // the page on screen stays the current page, only the count grows.
    void pageAddedUnseenLeavesTheCurrentPage()
    {
        ThreePagesMiddleShown();
        const QString shown = board->m_curr_note.create_data;
        const QString pdf = PdfPath(QStringLiteral("single.pdf"), 1);
        board->m_import_first_idx = 3;
        board->AddDocuments(pdf, false, false);
        QCOMPARE(board->m_note_list.size(), 4);
        QCOMPARE(board->m_note_list.at(3).path, pdf);
        QCOMPARE(board->m_note_idx, 1);
        QCOMPARE(board->m_curr_note.create_data, shown);
        QCOMPARE(board->ui->notelistLabel->text(), QStringLiteral("2/4"));

        // No file name: no page.
        board->AddDocuments(QString(), true, false);
        QCOMPARE(board->m_note_list.size(), 4);
        QCOMPARE(board->m_curr_note.create_data, shown);

        board->AddFinished();
        QCOMPARE(board->m_note_idx, 3);
        QCOMPARE(board->m_curr_note.path, pdf);
    }

    // Three pages imported while page 2 of 4 is shown: they follow the last
    // page, the first of them is shown after each, and a host pushes each.
    void threePagesImportedAfterTheLast()
    {
        ThreePagesMiddleShown();
        board->CreateNotePage(1, QStringLiteral("WhiteBoard"), QString(), false);
        board->SaveCurrentNoteImage(true);
        board->m_note_idx = 1;
        board->NoteChangeWorker();
        SessionTap tap(board, 3);
        board->m_import_first_idx = 4;
        for (int i = 0; i < 3; ++i) {
            const QString pdf = PdfPath(QStringLiteral("page%1.pdf").arg(i), 1);
            board->AddDocuments(pdf, true, false);
            QCOMPARE(board->m_note_list.size(), 5 + i);
            QCOMPARE(board->m_note_idx, 4);
            QCOMPARE(board->m_note_list.at(4 + i).path, pdf);
        }
        board->AddFinished();
        QCOMPARE(board->m_note_idx, 4);
        QCOMPARE(board->ui->notelistLabel->text(), QStringLiteral("5/7"));
        int documents = 0;
        for (const CollFrame& f : tap.Frames())
            documents += f.keyword == "DOC_EN" && f.tail == "0,,0,Block_EN\n" ? 1 : 0;
        QCOMPARE(documents, 3 + 4);
    }

    void pictureBecomesAPicturePage()
    {
        ThreePagesMiddleShown();
        const QString picture = files->filePath(QStringLiteral("photo.PNG"));
        QImage image(300, 200, QImage::Format_RGB32);
        image.fill(QColor(200, 0, 0));
        QVERIFY(image.save(picture, "PNG"));

        board->OpenChosenDocument(picture);
        QVERIFY(!Import()->isVisible());
        QCOMPARE(board->m_note_list.size(), 4);
        QCOMPARE(board->m_note_idx, 2);
        const NoteInfo note = board->m_note_list.at(2);
        QCOMPARE(note.type, 2);
        QCOMPARE(note.name, QStringLiteral("photo.PNG"));
        QCOMPARE(note.path, picture);
        QCOMPARE(board->m_curr_note.create_data, note.create_data);
        QCOMPARE(QColor(board->m_backgroundImage.pixel(board->m_pictureRect.center())), QColor(200, 0, 0));
        QVERIFY(g_log.filter(QStringLiteral("message box")).isEmpty());
    }

    void missingPageEditorIsReported_data()
    {
        QTest::addColumn<QString>("editor");
        QTest::addColumn<QString>("atStart");
        QTest::newRow("library missing") << "none" << "cannot load editor module";
        QTest::newRow("entry missing") << "lacking" << "message box critical:  | cannot find API";
    }

    void missingPageEditorIsReported()
    {
        QFETCH(QString, editor);
        QFETCH(QString, atStart);
        delete board;
        board = nullptr;
        const QString folder = files->filePath(QStringLiteral("editor-") + editor);
        QDir().mkpath(folder);
        for (const char* name : {"libhalcy_pdf_renderer10.so", "libhalcy_pdf_exporter10.so"})
            QFile::copy(BuiltProgramFolder() + QLatin1Char('/') + name, folder + QLatin1Char('/') + name);
        if (editor == QLatin1String("lacking"))
            QFile::copy(BuiltProgramFolder() + QStringLiteral("/pdf_lacking/halcy_pdf_editor10/libhalcy_pdf_editor10.so"),
                        folder + QStringLiteral("/libhalcy_pdf_editor10.so"));
        qputenv("DRAVIK_LIBRARY_DIR", folder.toUtf8());
        g_log.clear();
        MakeBoard();
        QCOMPARE(g_log.filter(QStringLiteral("editor module")).size() + g_log.filter(QStringLiteral("find API")).size(), 1);
        QVERIFY(g_log.contains(atStart));
        QVERIFY(!storage::SharedPdfEditor().bound);

        const QStringList before = Stamps();
        board->OpenChosenDocument(PdfPath(QStringLiteral("lesson.pdf"), 5));
        QVERIFY(Import()->isVisible());
        g_log.clear();
        QTest::mouseClick(Import()->ui->btnOK, Qt::LeftButton);
        QCOMPARE(g_log.filter(QStringLiteral("message box")),
                 QStringList{QStringLiteral("message box critical:  | cannot load editor module")});
        QVERIFY(!Import()->IsExtracting());
        QCOMPARE(Stamps(), before);
    }

    void importHelpLeadsToTheImport()
    {
        ShowImportMsg* help = board->m_showImportMsg;
        QCOMPARE(help->HelpFile(), board->m_languageFolder + QStringLiteral("HelpImport_ENU.lng"));
        QVERIFY(QFileInfo::exists(help->HelpFile()));

        // Off: the file dialog comes at once.
        board->m_config.ShowImportMsg = false;
        board->ShowImportMsgOrOpen();
        QVERIFY(!help->isVisible());
        QCOMPARE(g_log.filter(QStringLiteral("file dialog open")).size(), 1);

        // On: the help first, its text once however often it is shown.
        board->m_config.ShowImportMsg = true;
        board->m_lang.common[0] = QStringLiteral("OK");
        board->m_lang.showImportMsg = QStringList{"Import Document", "Do not show this help again"};
        board->ShowImportMsgOrOpen();
        board->ShowImportMsgOrOpen();
        QVERIFY(help->isVisible());
        QVERIFY(help->isModal());
        QCOMPARE(help->windowTitle(), QStringLiteral("Import Document"));
        QCOMPARE(help->ui->closeBtn->text(), QStringLiteral("OK"));
        QCOMPARE(help->ui->checkBox->text(), QStringLiteral("Do not show this help again"));
        const QString text = help->ui->ViewEdit->toPlainText();
        QCOMPARE(text.count(QStringLiteral("How to import a document")), 1);
        QCOMPARE(g_log.filter(QStringLiteral("file dialog open")).size(), 1);

        // The box sends its state from before the click.
        QTest::mouseClick(help->ui->checkBox, Qt::LeftButton);
        QVERIFY(help->ui->checkBox->isChecked());
        QCOMPARE(board->m_config.ShowImportMsg, false);
        QTest::mouseClick(help->ui->checkBox, Qt::LeftButton);
        QCOMPARE(board->m_config.ShowImportMsg, true);

        // The window's close button ends it without an import; the button goes on.
        help->close();
        QCOMPARE(g_log.filter(QStringLiteral("file dialog open")).size(), 1);
        board->ShowImportMsgOrOpen();
        QTest::mouseClick(help->ui->closeBtn, Qt::LeftButton);
        QVERIFY(!help->isVisible());
        QCOMPARE(g_log.filter(QStringLiteral("file dialog open")).size(), 2);
    }

    // The two boxes never cross: each keeps the other inside its bound.
    void pageRangeBoxesHoldEachOther_data()
    {
        QTest::addColumn<bool>("endFirst");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("end");
        QTest::addColumn<int>("shownStart");
        QTest::addColumn<int>("shownEnd");
        QTest::newRow("a range inside") << false << 3 << 7 << 3 << 7;
        QTest::newRow("start raised above the end") << true << 9 << 4 << 4 << 4;
        QTest::newRow("end lowered below the start") << false << 6 << 2 << 6 << 6;
        QTest::newRow("past the last page") << false << 12 << 15 << 10 << 10;
        QTest::newRow("before the first page") << false << 0 << 0 << 1 << 1;
    }

    void pageRangeBoxesHoldEachOther()
    {
        QFETCH(bool, endFirst);
        QFETCH(int, start);
        QFETCH(int, end);
        QFETCH(int, shownStart);
        QFETCH(int, shownEnd);
        ImportDlg form;
        form.InitImportDlg();
        form.SetDocType(QStringLiteral("PDF"));
        form.SetPaths(QStringLiteral("/lessons/report.pdf"), files->path() + QLatin1Char('/'));
        form.SetPageCount(10);
        QCOMPARE(form.ui->sStartPage->value(), 1);
        QCOMPARE(form.ui->sEndPage->value(), 10);
        QCOMPARE(form.ui->lFileName->text(), QStringLiteral("report.pdf"));
        QCOMPARE(form.ui->lAllNumber->text(), QStringLiteral("10"));
        if (endFirst) {
            form.ui->sEndPage->setValue(end);
            form.ui->sStartPage->setValue(start);
        } else {
            form.ui->sStartPage->setValue(start);
            form.ui->sEndPage->setValue(end);
        }
        QCOMPARE(form.ui->sStartPage->value(), shownStart);
        QCOMPARE(form.ui->sEndPage->value(), shownEnd);
    }

    void helpFileOfOtherLanguages()
    {
        ShowImportMsg help;
        help.InitShowImportMsg(QStringLiteral("/opt/board/Language/DEU.lng"));
        QCOMPARE(help.HelpFile(), QStringLiteral("/opt/board/Language/HelpImport_DEU.lng"));
        // A missing help file leaves the text as it was.
        help.ui->ViewEdit->setPlainText(QStringLiteral("before"));
        const QStringList common{"OK"};
        const QStringList captions{"Hilfe", "Nicht mehr zeigen"};
        help.ShowHelpText(&common, &captions);
        QCOMPARE(help.ui->ViewEdit->toPlainText(), QStringLiteral("before"));
        QCOMPARE(help.windowTitle(), QStringLiteral("Hilfe"));
    }

    void helpTextIsReadAsUtf8InAnyLocale()
    {
        QTemporaryDir folder;
        QFile file(folder.filePath(QStringLiteral("HelpImport_DEU.lng")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        const QString line = QStringLiteral("W\u00e4hlen Sie die Seiten \u2013 gr\u00fc\u00dfe");
        file.write(line.toUtf8() + '\n');
        file.close();
        QTextCodec* const systemCodec = QTextCodec::codecForLocale();
        QTextCodec::setCodecForLocale(QTextCodec::codecForName("ISO-8859-1"));
        ShowImportMsg help;
        help.InitShowImportMsg(folder.filePath(QStringLiteral("DEU.lng")));
        help.ShowHelpText(nullptr, nullptr);
        QTextCodec::setCodecForLocale(systemCodec);
        QCOMPARE(help.ui->ViewEdit->toPlainText(), line);
    }
};

QTEST_MAIN(DocumentImportDialogTest)
#include "document_import_dialog_test.moc"
