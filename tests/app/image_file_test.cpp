#include "app/ui/dialog.h"
#include "storage/settings_file.h"
#include "tests/support/debug_log.h"
#include "tests/support/test_folders.h"
#include "ui_dialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QImage>
#include <QMessageBox>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

namespace {

// Answers the modal windows the command opens, as a person would: the file
// dialog with `file` (cancelled when empty), then the question box with
// `answer`. Stops by itself after a bounded number of looks.
class ModalAnswerer : public QObject
{
public:
    ModalAnswerer(QString file, QMessageBox::StandardButton answer) : m_file(std::move(file)), m_answer(answer)
    {
        connect(&m_timer, &QTimer::timeout, this, &ModalAnswerer::look);
        m_timer.start(20);
    }
    QStringList seen;

private:
    void look()
    {
        if (++m_looks > 500) {
            m_timer.stop();
            return;
        }
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || m_handled.contains(modal))
            return;
        if (auto* files = qobject_cast<QFileDialog*>(modal)) {
            // The dialog lists its folder in the background and may refuse
            // a choice it has not listed yet; it is asked again until it closes.
            if (!m_fileDialogs.contains(files)) {
                m_fileDialogs << files;
                seen << "file:" + files->windowTitle() + "|" + files->nameFilters().join(";");
            }
            if (m_file.isEmpty()) {
                files->reject();
            } else {
                files->selectFile(m_file);
                // Queued, so that a box the dialog itself may raise is
                // answered too.
                QMetaObject::invokeMethod(files, "accept", Qt::QueuedConnection);
            }
        } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            m_handled << modal;
            seen << "box:" + box->windowTitle() + "|" + box->text();
            QAbstractButton* button = box->button(m_answer);
            if (!button)
                button = box->button(QMessageBox::Ok);
            QMetaObject::invokeMethod(button, "click", Qt::QueuedConnection);
        }
    }
    QString m_file;
    QMessageBox::StandardButton m_answer;
    QList<QPointer<QWidget>> m_handled;
    QList<QPointer<QWidget>> m_fileDialogs;
    QTimer m_timer;
    int m_looks = 0;
};

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
    QStringList runLoadImage(const QString& file, QMessageBox::StandardButton answer);

private slots:
    void initTestCase();
    void cleanupTestCase();
    void answers_data();
    void answers();
    void cancelledFileDialogChangesNothing();
    void uploadLoginIsWrittenEachTime_data();
    void uploadLoginIsWrittenEachTime();
    void separatorsFollowThePosition_data();
    void separatorsFollowThePosition();
};

QStringList ImageFileTest::runLoadImage(const QString& file, QMessageBox::StandardButton answer)
{
    qunsetenv("DRAVIK_NO_MODAL");
    ModalAnswerer answerer(file, answer);
    g_log.clear();
    QtMessageHandler previous = qInstallMessageHandler(CollectLog);
    m_dialog->LoadImageFile();
    qInstallMessageHandler(previous);
    qputenv("DRAVIK_NO_MODAL", "1");
    return answerer.seen;
}

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
    QTest::addColumn<QStringList>("sent");       // stand-in senders, in order
    QTest::addColumn<QList<int>>("imageSlots");  // slots given the image tool
    QTest::addColumn<bool>("inserted");
    const QStringList push = {"exe : Coll_Send_NoteData (flag 0) is not available yet",
                              "exe : Coll_Send_Doc (kind 0) is not available yet",
                              "exe : Coll_Send_NoteData (flag 1) is not available yet",
                              "exe : Coll_Send_NoteIdx is not available yet"};
    QList<int> all;
    for (int i = 0; i < 11; ++i)
        all << i;
    for (int level = 0; level <= 3; ++level) {
        const QByteArray l = QByteArray::number(level);
        QTest::newRow("yes, level " + l) << level << int(QMessageBox::Yes) << (level == 3 ? push : QStringList())
                                         << QList<int>() << false;
        QTest::newRow("no, level " + l) << level << int(QMessageBox::No) << QStringList()
                                        << (level == 1 || level == 2 ? QList<int>{10} : all) << true;
        QTest::newRow("cancel, level " + l) << level << int(QMessageBox::Cancel) << QStringList() << QList<int>()
                                            << false;
    }
}

void ImageFileTest::answers()
{
    QFETCH(int, level);
    QFETCH(int, answer);
    QFETCH(QStringList, sent);
    QFETCH(QList<int>, imageSlots);
    QFETCH(bool, inserted);
    Dialog& d = *m_dialog;
    const QString picture = MakePicture(m_pictures.path() + "/answers", "pic.png", Qt::red);
    QVERIFY(!picture.isEmpty());
    d.m_collUserLevel = level;
    for (PointerSlotState& slot : d.m_board.slot)
        slot.event_kind = ekFree;
    const int pages = d.m_note_list.size();
    const QString pageName = d.m_curr_note.name;

    const QStringList seen = runLoadImage(picture, QMessageBox::StandardButton(answer));
    d.m_collUserLevel = 0;

    QCOMPARE(seen.size(), 2);
    QCOMPARE(seen.at(0), QString("file:Insert image|Images (*.gif *.png *.bmp *.xpm *.jpg)"));
    QVERIFY2(seen.at(1).startsWith("box:Insert image|Add the picture as a new page?"), qPrintable(seen.at(1)));
    QCOMPARE(d.m_lastImagePath, picture);

    QStringList senders;
    for (const QString& line : g_log) {
        if (line.startsWith("exe : Coll_Send_"))
            senders << line;
    }
    QCOMPARE(senders, sent);
    QCOMPARE(g_log.contains("exe : InsertImageObject is not available yet"), inserted);
    for (int slot = 0; slot < 11; ++slot)
        QCOMPARE(d.m_board.slot[slot].event_kind == ekImage, imageSlots.contains(slot));

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

void ImageFileTest::cancelledFileDialogChangesNothing()
{
    Dialog& d = *m_dialog;
    d.m_lastImagePath = m_pictures.path();
    const int pages = d.m_note_list.size();
    const QStringList seen = runLoadImage(QString(), QMessageBox::Yes);
    QCOMPARE(seen.size(), 1);
    QVERIFY(seen.at(0).startsWith("file:"));
    QCOMPARE(d.m_lastImagePath, m_pictures.path());
    QCOMPARE(d.m_note_list.size(), pages);
    for (const QString& line : g_log)
        QVERIFY2(!line.startsWith("exe : Coll_Send_") && !line.startsWith("exe : InsertImageObject"),
                 qPrintable(line));
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
