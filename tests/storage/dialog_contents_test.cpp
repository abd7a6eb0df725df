// The contents package as the board writes it when a recording ends: a real
// window, the real PDF exporter and the system's zip, the lesson drawn
// through the board's own operations.
#include <QtTest>

#include "app/ui/dialog.h"
#include "board/event_kind.h"
#include "storage/pdf_libraries.h"
#include "tests/support/debug_log.h"
#include "tests/support/test_folders.h"
#include "tests/support/zip_fixture.h"

#include <QProcess>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <memory>

namespace {

QByteArray Run(const QString& program, const QStringList& arguments, const QString& folder = QString())
{
    QProcess process;
    if (!folder.isEmpty())
        process.setWorkingDirectory(folder);
    process.start(program, arguments);
    process.waitForFinished(60000);
    return process.readAllStandardOutput();
}

QStringList Entries(const QString& archive)
{
    QStringList entries =
        QString::fromUtf8(Run(QStringLiteral("unzip"), {QStringLiteral("-Z1"), archive})).split('\n', Qt::SkipEmptyParts);
    entries.sort();
    return entries;
}

QByteArray Entry(const QString& archive, const QString& name)
{
    return Run(QStringLiteral("unzip"), {QStringLiteral("-p"), archive, name});
}

// The TO records of an export file per slot, each as its attributes in
// file order; the page-change pair without AG and TP, which the two
// writers give apart.
QMap<int, QStringList> RecordsPerSlot(const QByteArray& xml)
{
    QMap<int, QStringList> perSlot;
    QXmlStreamReader reader(xml);
    while (!reader.atEnd()) {
        reader.readNext();
        if (!reader.isStartElement() || reader.name() != QLatin1String("TO"))
            continue;
        const QXmlStreamAttributes attributes = reader.attributes();
        const int code = attributes.value(QLatin1String("KD")).toInt();
        QStringList fields;
        for (const QXmlStreamAttribute& a : attributes) {
            if ((code == 15 || code == 16) && (a.name() == QLatin1String("AG") || a.name() == QLatin1String("TP")))
                continue;
            fields << a.name().toString() + QLatin1Char('=') + a.value().toString();
        }
        perSlot[attributes.value(QLatin1String("PI")).toInt()] << fields.join(QLatin1Char(' '));
    }
    return perSlot;
}

QColor PagePixel(const QString& pngFile)
{
    const QImage page(pngFile);
    return page.isNull() ? QColor() : page.pixelColor(page.width() / 2, page.height() / 2);
}

bool Near(const QColor& a, const QColor& b)
{
    return qAbs(a.red() - b.red()) <= 3 && qAbs(a.green() - b.green()) <= 3 && qAbs(a.blue() - b.blue()) <= 3;
}

// The exporter's save, made to fail at one call; the others go through.
decltype(&HPX_SavePDF) g_realSave = nullptr;
int g_saveCalls = 0;
int SaveFailingSecond(QString file)
{
    return g_saveCalls++ == 1 ? 3 : g_realSave(file);
}

enum class Trouble { None, NoZip, NoExporter, SecondSaveFails };

}  // namespace

Q_DECLARE_METATYPE(Trouble)

class DialogContentsTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScopedFolderRoot> root;
    Dialog* board = nullptr;
    QByteArray recording;

    void Drag(int slot, int kind, const QVector<QPoint>& path)
    {
        board->m_board.slot[slot].event_kind = kind;
        board->PointerPress(slot, path.first().x(), path.first().y(), true, false);
        for (int i = 1; i < path.size(); ++i)
            board->PointerMove(slot, path[i].x(), path[i].y(), true, false);
        board->PointerRelease(slot, path.last().x(), path.last().y(), true, false);
    }

    quint16 LastId(int slot) { return board->m_board.slot[slot].records.masters().last().EventID; }

    QString Recordings() const { return root->path() + QStringLiteral("/Recordings"); }

    // What the recording start leaves: the shown page in the visit log, the
    // clock running, and the recorder's file where the recorder writes it.
    void StartRecording(int type)
    {
        board->m_rec_type = type;
        board->m_config.Path = Recordings();
        board->m_rec_file = QStringLiteral("20260102030405");
        recording = QByteArray("recorded media ") + QByteArray::number(type) + QByteArray(5000, 'm');
        QVERIFY(WriteTestFile(board->m_workFolder + board->m_rec_file + (type == 1 ? ".mp3" : ".mp4"), recording));
        board->m_rec_note_index = {board->m_note_idx};
        board->m_rec_note_names = QStringList{board->m_curr_note.name};
        board->m_rec_note_stamps = QStringList{board->m_curr_note.create_data};
        board->m_rec_note_times = QStringList{QStringLiteral("0")};
        board->m_bRecording = true;
        board->m_rec_time.start();
        QTRY_VERIFY(board->RecordingElapsedMs() >= 2.0);
    }

    void SaveAndWait()
    {
        board->StartContentsSave();
        board->m_ThreadSave.waitForFinished();
    }

    QString Picture(const QString& name, const QColor& colour)
    {
        QImage image(200, 100, QImage::Format_RGB32);
        image.fill(colour);
        const QString path = root->path() + QStringLiteral("/pictures/") + name;
        QDir().mkpath(QFileInfo(path).path());
        return image.save(path) ? path : QString();
    }

private slots:
    void initTestCase()
    {
        qputenv("DRAVIK_NO_MODAL", "1");
        qInstallMessageHandler(CollectLog);
        root = std::make_unique<ScopedFolderRoot>();
        QVERIFY(root->isValid());
    }

    void cleanupTestCase() { root.reset(); }

    void init()
    {
        board = new Dialog;
        QVERIFY(board->m_pdfExporter.bound);
        board->resize(800, 600);
        board->InitBoardModel();
        board->m_config.color = QStringLiteral("blackboard color");
        board->m_boardFillColor = board->m_blackboardColor;
        board->ResetBoard(false);
        board->show();
        QVERIFY(QTest::qWaitForWindowExposed(board));
        QDir(Recordings()).removeRecursively();
        g_log.clear();
    }

    void cleanup()
    {
        delete board;
        board = nullptr;
    }

    // Visits A, B, A: A a white board under the colour "blackboard color",
    // B a picture page, with strokes, an image and an erase.
    void packageOfALesson()
    {
        const QString a = board->m_curr_note.create_data;
        StartRecording(0);
        Drag(0, ekFree, {QPoint(100, 100), QPoint(140, 120), QPoint(180, 160)});
        const quint16 erased = LastId(0);

        board->CreateNotePage(2, QStringLiteral("b.png"), Picture(QStringLiteral("b.png"), Qt::red), false);
        const QString b = board->m_curr_note.create_data;
        Drag(1, ekLine, {QPoint(50, 50), QPoint(300, 200)});
        const QString imageFile = Picture(QStringLiteral("clip.png"), Qt::blue);
        board->m_mediaFiles << imageFile;
        board->m_board.slot[3].event_kind = ekImage;
        board->m_board.slot[3].anchor = QPoint(400, 300);
        board->m_board.slot[3].current = QPoint(500, 380);
        board->CreateObjectEvent(3, 0);

        board->OptPreNoteBtn(false);
        QCOMPARE(board->m_curr_note.create_data, a);
        board->ActOnPickedObjects({{0, erased}}, true);
        Drag(0, ekFree, {QPoint(300, 300), QPoint(320, 330)});
        QCOMPARE(board->m_rec_note_stamps, QStringList({a, b, a}));

        SaveAndWait();

        QVERIFY2(board->m_pdf_ok, qPrintable(board->m_pdf_error));
        QVERIFY(board->m_contentsSaveFailure.isEmpty());
        QVERIFY(!board->m_bRecording);
        const QString package = board->m_saved_path;
        QCOMPARE(QFileInfo(package).path(), Recordings());
        QVERIFY(package.endsWith(QLatin1String(".iic")));
        QCOMPARE(board->m_saved_folder, Recordings());
        QCOMPARE(board->m_saved_name, QFileInfo(package).fileName());
        QCOMPARE(board->m_outputPath, package);

        const QString pdf = board->m_rec_file + QStringLiteral(".pdf");
        QStringList expected{a + ".xml", b + ".xml", "New_Event.xml", "Notes.xml", "StrData.dat", "clip.png",
                             "thumbnail_" + a + ".jpg", "thumbnail_" + b + ".jpg", pdf, "video.mp4"};
        expected.sort();
        QCOMPARE(Entries(package), expected);
        QCOMPARE(Entry(package, "video.mp4"), recording);
        QCOMPARE(Entry(package, "StrData.dat"), QByteArray("clip.png\n"));
        for (const QString& note : {a, b})
            QCOMPARE(QImage::fromData(Entry(package, "thumbnail_" + note + ".jpg")).size(), QSize(320, 240));

        const QString notes = QString::fromUtf8(Entry(package, "Notes.xml"));
        QCOMPARE(notes.count(QStringLiteral("<NoteInfo ")), 3);
        QVERIFY(notes.contains(QStringLiteral("<NoteList PDFName=\"%1\">").arg(pdf)));
        const QRegularExpression first(QStringLiteral("<NoteInfo Type=\"1\" Name=\"BlackBoard\" Create=\"%1\" "
                                                      "Access=\"0\" NoteWidth=\"\\d+\" NoteHeight=\"\\d+\" "
                                                      "PageOption=\"0\"/>")
                                           .arg(a));
        QVERIFY2(first.match(notes).hasMatch(), qPrintable(notes));
        QVERIFY(notes.contains(QStringLiteral("Type=\"2\" Name=\"b.png\" Create=\"%1\"").arg(b)));

        const QByteArray eventsOfA = Entry(package, a + ".xml");
        QCOMPARE(eventsOfA.count("<EM "), 3);  // two strokes and the change to B
        QCOMPARE(eventsOfA.count("<EP "), 1);
        QVERIFY(Entry(package, b + ".xml").contains("<EM KD=\"2\""));
        QVERIFY(Entry(package, "New_Event.xml").contains("<Event NoteCount=\"2\""));

        // Two pages, A then B, from the package PDF.
        QTemporaryDir pages;
        QFile pdfFile(pages.path() + "/package.pdf");
        QVERIFY(pdfFile.open(QIODevice::WriteOnly));
        pdfFile.write(Entry(package, pdf));
        pdfFile.close();
        Run(QStringLiteral("pdftoppm"), {"-r", "20", "-png", pdfFile.fileName(), pages.path() + "/page"});
        QCOMPARE(QDir(pages.path()).entryList({"page-*.png"}, QDir::Files, QDir::Name),
                 QStringList({"page-1.png", "page-2.png"}));
        QVERIFY(Near(PagePixel(pages.path() + "/page-1.png"), QColor(25, 74, 57)));
        QVERIFY(!Near(PagePixel(pages.path() + "/page-2.png"), QColor(25, 74, 57)));

        // Nothing of the package stays in the work folder.
        QVERIFY(!QFileInfo::exists(board->m_workFolder + board->m_rec_file));
        QVERIFY(!QFileInfo::exists(board->m_workFolder + board->m_rec_file + ".mp4"));
    }

    void packages_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("pages");
        QTest::addColumn<Trouble>("trouble");
        QTest::addColumn<QStringList>("media");  // entries beside Notes, events, thumbnails
        QTest::addColumn<QString>("pdfError");
        QTest::newRow("one visit, audio") << 1 << 1 << Trouble::None
                                          << QStringList{"PDF", "audio.mp3"} << QString();
        QTest::newRow("the exporter missing") << 0 << 1 << Trouble::NoExporter << QStringList{"video.mp4"}
                                              << QStringLiteral("cannot load exporter module");
        QTest::newRow("a PDF save fails at the second of three")
            << 0 << 3 << Trouble::SecondSaveFails << QStringList{"video.mp4"}
            << QStringLiteral("Fail to save pdf for NoteIndex 1");
        QTest::newRow("no zip") << 0 << 1 << Trouble::NoZip << QStringList{"PDF", "video.mp4"} << QString();
    }

    void packages()
    {
        QFETCH(int, type);
        QFETCH(int, pages);
        QFETCH(Trouble, trouble);
        QFETCH(QStringList, media);
        QFETCH(QString, pdfError);

        storage::PdfExporterLibrary& exporter = storage::SharedPdfExporter();
        const bool bound = exporter.bound;
        const auto save = exporter.SavePDF;
        const QByteArray path = qgetenv("PATH");
        if (trouble == Trouble::NoExporter)
            exporter.bound = false;
        if (trouble == Trouble::SecondSaveFails) {
            g_realSave = exporter.SavePDF;
            g_saveCalls = 0;
            exporter.SavePDF = SaveFailingSecond;
        }
        if (trouble == Trouble::NoZip)
            qputenv("PATH", QFile::encodeName(root->path() + QStringLiteral("/nobin")));

        StartRecording(type);
        QStringList creates{board->m_curr_note.create_data};
        Drag(0, ekRect, {QPoint(10, 10), QPoint(60, 70)});
        for (int i = 1; i < pages; ++i) {
            board->CreateNotePage(1, QStringLiteral("WhiteBoard"), QString(), false);
            creates << board->m_curr_note.create_data;
        }
        SaveAndWait();
        exporter.bound = bound;
        exporter.SavePDF = save;
        qputenv("PATH", path);

        QCOMPARE(board->m_pdf_error, pdfError);
        QCOMPARE(board->m_pdf_ok, pdfError.isEmpty());
        QStringList expected{"New_Event.xml", "Notes.xml", "StrData.dat"};
        for (const QString& create : creates)
            expected << create + ".xml" << "thumbnail_" + create + ".jpg";
        for (const QString& entry : media)
            expected << (entry == QLatin1String("PDF") ? board->m_rec_file + ".pdf" : entry);
        expected.sort();

        if (trouble != Trouble::NoZip) {
            QVERIFY(board->m_contentsSaveFailure.isEmpty());
            QCOMPARE(Entries(board->m_saved_path), expected);
            return;
        }
        // Nothing is offered to open; the files, recording included, wait
        // in the recording folder, and the user is told where.
        QVERIFY(board->m_saved_path.isEmpty());
        QVERIFY(board->m_outputPath.isEmpty());
        QVERIFY(g_log.contains(QStringLiteral("dialog :: contents save failed")));
        const QStringList keptFolders = QDir(Recordings()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        QCOMPARE(keptFolders.size(), 1);
        const QString folder = Recordings() + QLatin1Char('/') + keptFolders.first();
        QVERIFY(board->m_contentsSaveFailure.contains(folder));
        QStringList files = QDir(folder).entryList(QDir::Files);
        files.sort();
        QCOMPARE(files, expected);
        QCOMPARE(ReadTestFile(folder + "/video.mp4"), recording);
        board->ThreadSaveFinished();
        QVERIFY(!g_log.filter(QStringLiteral("message box warning")).filter(folder).isEmpty());
    }

    // A target chosen before the recording is replaced by the new package
    // alone, and serves that recording only.
    void chosenTargetServesOneRecording()
    {
        const QString chosen = root->path() + QStringLiteral("/mine/lesson.iic");
        QDir().mkpath(QFileInfo(chosen).path());
        QVERIFY(MakeZip(chosen, {{QStringLiteral("stale.txt"), "from before"}}));
        board->m_iic_SaveAs_PathName = chosen;
        board->m_iic_SaveAs_FileName = QStringLiteral("lesson.iic");
        board->m_iic_SaveAs_Folder = QFileInfo(chosen).path();
        StartRecording(1);
        SaveAndWait();
        QCOMPARE(board->m_saved_path, chosen);
        QCOMPARE(board->m_saved_name, QStringLiteral("lesson.iic"));
        QVERIFY(board->m_iic_SaveAs_PathName.isEmpty() && board->m_iic_SaveAs_FileName.isEmpty()
                && board->m_iic_SaveAs_Folder.isEmpty());
        const QStringList entries = Entries(chosen);
        QVERIFY2(!entries.contains(QStringLiteral("stale.txt")) && entries.contains(QStringLiteral("audio.mp3")),
                 qPrintable(entries.join(' ')));

        StartRecording(1);
        SaveAndWait();
        QCOMPARE(board->m_saved_folder, Recordings());
        QVERIFY(QFileInfo(board->m_saved_path).isFile());
    }

    // Regrouper rebuilds the drawing script from the unpacked package: slot
    // by slot the same records as the board's own script.
    void regrouperAgrees()
    {
        board->m_interpolation = false;
        StartRecording(0);
        Drag(0, ekFree, {QPoint(100, 100), QPoint(120, 110), QPoint(150, 140)});
        Drag(1, ekRect, {QPoint(200, 200), QPoint(260, 250)});
        board->CreateNotePage(1, QStringLiteral("WhiteBoard"), QString(), false);
        Drag(1, ekLine, {QPoint(10, 20), QPoint(300, 400)});
        Drag(0, ekBrush, {QPoint(400, 100), QPoint(420, 130), QPoint(450, 170)});
        SaveAndWait();
        QVERIFY(QFileInfo(board->m_saved_path).isFile());

        const QByteArray own = Entry(board->m_saved_path, "New_Event.xml");
        QTemporaryDir unpacked;
        Run(QStringLiteral("unzip"), {"-q", board->m_saved_path, "-d", unpacked.path()});
        QVERIFY(QFile::remove(unpacked.path() + "/New_Event.xml"));
        Run(BuiltProgramFolder() + QStringLiteral("/Regrouper"), {unpacked.path()});
        const QByteArray rebuilt = ReadTestFile(unpacked.path() + "/New_Event.xml");

        const QMap<int, QStringList> expected = RecordsPerSlot(own);
        QCOMPARE(expected.keys(), QList<int>({0, 1}));
        // The strokes' samples and the figures, not just the page change.
        QVERIFY(expected.value(0).size() > 6 && expected.value(1).size() >= 2);
        QCOMPARE(RecordsPerSlot(rebuilt), expected);
    }
};

QTEST_MAIN(DialogContentsTest)
#include "dialog_contents_test.moc"
