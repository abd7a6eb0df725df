#include "app/ui/dialog.h"
#include "storage/settings_file.h"
#include "tests/support/session_tap.h"
#include "tests/support/debug_log.h"
#include "tests/support/test_folders.h"
#include "ui_dialog.h"

#include <QImage>
#include <QMessageBox>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <utility>

#include <memory>

namespace {

QString MakePicture(const QString& folder, const QString& name, QColor colour)
{
    QDir().mkpath(folder);
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(colour);
    const QString path = folder + "/" + name;
    return image.save(path) ? path : QString();
}

}  // namespace

// The image-file command, the upload login and the separators.
class ImageFileTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<ScopedFolderRoot> m_root;
    std::unique_ptr<Dialog> m_dialog;
    QTemporaryDir m_pictures;

private slots:
    void initTestCase();
    void cleanupTestCase();
    void answers_data();
    void answers();
    void cancelledFileDialogChangesNothing();
    void samePictureNameFromTwoFolders();
    void failedCopyMakesNoPage();
    void uploadLoginIsWrittenEachTime_data();
    void uploadLoginIsWrittenEachTime();
    void separatorsFollowThePosition_data();
    void separatorsFollowThePosition();
};

void ImageFileTest::initTestCase()
{
    qputenv("DRAVIK_NO_MODAL", "1");
    m_root = std::make_unique<ScopedFolderRoot>();
    m_dialog = std::make_unique<Dialog>();
    m_dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));
    QVERIFY(!m_dialog->m_workFolder.isEmpty());
}

void ImageFileTest::cleanupTestCase()
{
    m_dialog.reset();
    m_root.reset();
}

void ImageFileTest::answers_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QStringList>("sent");       // messages but file chunks, in order
    QTest::addColumn<QList<int>>("imageSlots");   // slots left with the image tool
    QTest::addColumn<QList<int>>("selectSlots");  // slots the inserted picture switched to the select tool
    QTest::addColumn<int>("objectSlot");          // where the picture went, -1 nowhere
    const QStringList push = {"NOTEDATA_SET", "DOC_EN", "NOTEDATA_SET", "NOTEIDX_SET"};
    QList<int> touch;
    for (int i = 0; i < 10; ++i)
        touch << i;
    for (int level = 0; level <= 3; ++level) {
        const QByteArray l = QByteArray::number(level);
        const bool follower = level == 1 || level == 2;
        QTest::newRow("yes, level " + l) << level << int(QMessageBox::Yes) << (level == 3 ? push : QStringList())
                                         << QList<int>() << QList<int>() << -1;
        // Alone or as host all eleven slots take the image tool and the
        // picture leaves slots 0 to 9 with the select tool; the host tells
        // its peers of the new undo step and sends them the picture.
        QTest::newRow("no, level " + l) << level << int(QMessageBox::No)
                                        << (level == 3 ? QStringList{"URdata_SET", "DOC_EN"} : QStringList())
                                        << (follower ? QList<int>() : QList<int>{10})
                                        << (follower ? QList<int>{10} : touch) << (follower ? 10 : 0);
        QTest::newRow("cancel, level " + l) << level << int(QMessageBox::Cancel) << QStringList() << QList<int>()
                                            << QList<int>() << -1;
    }
}

void ImageFileTest::answers()
{
    QFETCH(int, level);
    QFETCH(int, answer);
    QFETCH(QStringList, sent);
    QFETCH(QList<int>, imageSlots);
    QFETCH(QList<int>, selectSlots);
    QFETCH(int, objectSlot);
    Dialog& d = *m_dialog;
    const QString picture = MakePicture(m_pictures.path() + "/answers", "pic.png", Qt::red);
    QVERIFY(!picture.isEmpty());
    SessionTap tap(&d, level, level != 0);
    for (PointerSlotState& slot : d.m_board.slot)
        slot.event_kind = ekFree;
    const int pages = d.m_note_list.size();
    const QString pageName = d.m_curr_note.name;
    int objects[11];
    for (int slot = 0; slot < 11; ++slot)
        objects[slot] = d.m_board.slot[slot].records.masters().size();

    g_log.clear();
    QtMessageHandler previous = qInstallMessageHandler(CollectLog);
    d.PlaceImageFile(picture, QMessageBox::StandardButton(answer));
    qInstallMessageHandler(previous);

    QStringList senders = tap.Keywords();
    senders.removeAll("DOC_ST");
    QCOMPARE(senders, sent);
    for (int slot = 0; slot < 11; ++slot) {
        QCOMPARE(d.m_board.slot[slot].event_kind == ekImage, imageSlots.contains(slot));
        QCOMPARE(d.m_board.slot[slot].event_kind == ekSelect, selectSlots.contains(slot));
        const auto& masters = d.m_board.slot[slot].records.masters();
        QCOMPARE(masters.size(), objects[slot] + (slot == objectSlot ? 1 : 0));
        if (slot == objectSlot)
            QCOMPARE(masters.last().Kind, int(ekImage));
    }

    if (answer == QMessageBox::Yes) {
        QCOMPARE(d.m_note_list.size(), pages + 1);
        QCOMPARE(d.m_curr_note.name, QString("pic.png"));
        QCOMPARE(d.m_curr_note.type, 2);
        QVERIFY(d.m_curr_note.path.startsWith(d.m_workFolder));
        QVERIFY(d.m_curr_note.path.endsWith("pic.png"));
    } else {
        QCOMPARE(d.m_note_list.size(), pages);
        QCOMPARE(d.m_curr_note.name, pageName);
    }
}

// The unattended file dialog answers as a cancelled one: it must open
// titled and placed as a person sees it, and leave everything as it was.
void ImageFileTest::cancelledFileDialogChangesNothing()
{
    Dialog& d = *m_dialog;
    d.m_lastImagePath = m_pictures.path();
    const int pages = d.m_note_list.size();
    g_log.clear();
    QtMessageHandler previous = qInstallMessageHandler(CollectLog);
    d.LoadImageFile();
    qInstallMessageHandler(previous);
    QVERIFY2(g_log.contains("file dialog open: Insert image | " + m_pictures.path()), qPrintable(g_log.join('\n')));
    QCOMPARE(d.m_lastImagePath, m_pictures.path());
    QCOMPARE(d.m_note_list.size(), pages);
    for (const QString& line : g_log)
        QVERIFY2(!line.startsWith("exe : Coll_Send_") && !line.startsWith("exe : InsertImageObject")
                     && !line.startsWith("message box"),
                 qPrintable(line));
    // The question the chosen file is met with.
    QVERIFY(d.m_lang.messages.value(152 - 100).startsWith("Add the picture as a new page?"));
}

// A second, different picture of the same name must not be answered with the
// first one's copy, and the first page keeps its own.
void ImageFileTest::samePictureNameFromTwoFolders()
{
    Dialog& d = *m_dialog;
    const QString red = MakePicture(m_pictures.path() + "/one", "same.png", Qt::red);
    const QString blue = MakePicture(m_pictures.path() + "/two", "same.png", Qt::blue);
    QVERIFY(!red.isEmpty() && !blue.isEmpty());
    const int pages = d.m_note_list.size();

    d.PlaceImageFile(red, QMessageBox::Yes);
    const NoteInfo first = d.m_curr_note;
    d.PlaceImageFile(blue, QMessageBox::Yes);
    const NoteInfo second = d.m_curr_note;

    QCOMPARE(d.m_note_list.size(), pages + 2);
    QCOMPARE(first.name, QString("same.png"));
    QCOMPARE(second.name, QString("same.png"));
    QVERIFY(first.path != second.path);
    QCOMPARE(QImage(first.path).pixelColor(5, 5), QColor(Qt::red));
    QCOMPARE(QImage(second.path).pixelColor(5, 5), QColor(Qt::blue));
    // What each page shows: its page image, the picture fitted to the page.
    for (const auto& [page, colour] : {std::make_pair(first, QColor(Qt::red)), std::make_pair(second, QColor(Qt::blue))}) {
        const QImage shown(page.imagePath);
        QVERIFY2(!shown.isNull(), qPrintable(page.imagePath));
        // Stored as JPEG: near the colour, not exactly it.
        const QColor middle = shown.pixelColor(shown.width() / 2, shown.height() / 2);
        QVERIFY2(qAbs(middle.red() - colour.red()) < 24 && qAbs(middle.green() - colour.green()) < 24
                     && qAbs(middle.blue() - colour.blue()) < 24,
                 qPrintable(middle.name()));
    }
}

void ImageFileTest::failedCopyMakesNoPage()
{
    Dialog& d = *m_dialog;
    const int pages = d.m_note_list.size();
    const QString pageName = d.m_curr_note.create_data;
    g_log.clear();
    QtMessageHandler previous = qInstallMessageHandler(CollectLog);
    d.PlaceImageFile(m_pictures.path() + "/gone/lost.png", QMessageBox::Yes);
    qInstallMessageHandler(previous);
    QCOMPARE(d.m_note_list.size(), pages);
    QCOMPARE(d.m_curr_note.create_data, pageName);
    bool warned = false;
    for (const QString& line : g_log)
        warned = warned || line.startsWith("message box warning: Insert image | The picture could not be copied");
    QVERIFY2(warned, qPrintable(g_log.join('\n')));
}

void ImageFileTest::uploadLoginIsWrittenEachTime_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("save");
    QTest::addColumn<QString>("storedId");
    QTest::newRow("kept") << "lecturer7" << 1 << "lecturer7";
    QTest::newRow("not kept") << "lecturer7" << 0 << "";
    QTest::newRow("kept empty") << "" << 1 << "";
}

void ImageFileTest::uploadLoginIsWrittenEachTime()
{
    QFETCH(QString, typed);
    QFETCH(int, save);
    QFETCH(QString, storedId);
    Dialog& d = *m_dialog;
    QFile::remove(d.m_configFilePath);
    d.StrovaSaveInfo(typed, save);
    QVERIFY(QFileInfo::exists(d.m_configFilePath));
    QCOMPARE(d.m_config.ID, storedId);
    QCOMPARE(d.m_config.SaveID, save);
    QSettings file(d.m_configFilePath, QSettings::IniFormat);
    QCOMPARE(file.value("Strova/ID").toString(), storedId);
    QCOMPARE(file.value("Strova/SaveID").toInt(), save);
}

void ImageFileTest::separatorsFollowThePosition_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("look");  // a style sheet of the same look
    QTest::newRow("bottom") << 0 << QSize(12, 44) << "Separatebot";
    QTest::newRow("top") << 1 << QSize(12, 44) << "Separatetop";
    QTest::newRow("left") << 2 << QSize(48, 12) << "Separateleft";
    QTest::newRow("right") << 3 << QSize(48, 12) << "Separateright";
    QTest::newRow("floating") << 4 << QSize(48, 12) << "Separateright";
}

void ImageFileTest::separatorsFollowThePosition()
{
    QFETCH(int, position);
    QFETCH(QSize, size);
    QFETCH(QString, look);
    Dialog& d = *m_dialog;
    d.m_toolbarPosition = position;
    d.SetSeparatorStyle();
    QString tooltip;
    const QString sheet = d.MakeButtonStyleSheet(look, tooltip);
    const Ui::Dialog* ui = d.ui;
    for (QPushButton* b : {ui->notesubbtn, ui->colorsubbtn, ui->pwidthsubbtn, ui->drawsubbtn, ui->erasesubbtn,
                           ui->objectsubbtn, ui->zoomsubbtn, ui->viewlocationsubbtn}) {
        QCOMPARE(b->size(), size);
        QCOMPARE(b->styleSheet(), sheet);
    }
}

QTEST_MAIN(ImageFileTest)
#include "image_file_test.moc"
