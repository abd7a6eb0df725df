// The clip-art browser on a small folder of its own: the one-level tree, the
// thumbnails of a folder (pictures only, in folder order), the preview and
// the background button, and what a double-click and the button hand on.
#include "panels/clip_art.h"
#include "panels/note_list.h"
#include "panels/ui/clipart.h"
#include "panels/ui/notelist.h"
#include "tests/support/test_folders.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#include <memory>

namespace {

void WritePicture(const QString& path, QSize size, const char* format = nullptr)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QVERIFY(image.save(path, format));
}

void WriteText(const QString& path, const QByteArray& text)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
}

}  // namespace

class ClipartTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<clipart> m_browser;

    QString Folder() const { return m_dir->path() + "/Clipart/"; }

    QTreeWidgetItem* Entry(const QString& name) const
    {
        QTreeWidgetItem* root = m_browser->tree()->topLevelItem(0);
        for (int i = 0; i < root->childCount(); ++i)
            if (root->child(i)->text(0) == name)
                return root->child(i);
        return nullptr;
    }

    void Click(QTreeWidgetItem* item)
    {
        m_browser->SelectItem(item, 0);
        QVERIFY(m_browser->WaitForListing(10000));
    }

    QStringList Listed() const
    {
        QStringList names;
        for (int i = 0; i < m_browser->list()->count(); ++i)
            names << m_browser->list()->item(i)->text();
        return names;
    }

private slots:
    void init()
    {
        // Clipart/Animals: three pictures (one of them a GIF named .dat),
        // a text file and a "picture" that is none; Clipart/Empty: only text;
        // a file directly in Clipart/.
        m_dir = std::make_unique<QTemporaryDir>();
        QDir().mkpath(Folder() + "Animals/sub");
        QDir().mkpath(Folder() + "Empty");
        WritePicture(Folder() + "Animals/cat.png", QSize(400, 200));
        WritePicture(Folder() + "Animals/Dog.jpg", QSize(100, 300));
        WritePicture(Folder() + "Animals/fish.dat", QSize(64, 64), "BMP");
        WriteText(Folder() + "Animals/notes.txt", "no picture");
        WriteText(Folder() + "Animals/broken.png", "not really a png");
        WriteText(Folder() + "Empty/readme.txt", "nothing");
        WriteText(Folder() + "index.txt", "twelve bytes");
        m_browser = std::make_unique<clipart>();
        m_browser->InitDialog(Folder());
    }

    void cleanup()
    {
        m_browser.reset();
        m_dir.reset();
    }

    void treeListsTheFirstLevel()
    {
        QTreeWidget* tree = m_browser->tree();
        QCOMPARE(tree->topLevelItemCount(), 1);
        QTreeWidgetItem* root = tree->topLevelItem(0);
        QCOMPARE(root->text(0), QString("ClipArt"));
        QCOMPARE(root->text(2), Folder());
        QVERIFY(root->isExpanded());
        QCOMPARE(root->childCount(), 3);
        QCOMPARE(root->child(0)->text(0), QString("Animals"));
        QCOMPARE(root->child(1)->text(0), QString("Empty"));
        QCOMPARE(root->child(2)->text(0), QString("index.txt"));
        // Only files carry their size; nothing below the first level.
        QCOMPARE(root->child(0)->text(1), QString());
        QCOMPARE(root->child(2)->text(1), QString("12"));
        QCOMPARE(root->child(0)->childCount(), 0);
        QCOMPARE(root->child(0)->text(2), QDir(Folder() + "Animals").absolutePath());
    }

    void folderClickListsItsPictures_data()
    {
        QTest::addColumn<QString>("entry");  // empty: the root
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("folder") << "Animals" << QStringList{"cat.png", "Dog.jpg", "fish.dat"};
        QTest::newRow("folder without pictures") << "Empty" << QStringList{};
        QTest::newRow("file") << "index.txt" << QStringList{};
        QTest::newRow("root leaves the list") << "" << QStringList{"cat.png", "Dog.jpg", "fish.dat"};
    }

    void folderClickListsItsPictures()
    {
        QFETCH(QString, entry);
        QFETCH(QStringList, listed);
        Click(Entry("Animals"));
        Click(entry.isEmpty() ? m_browser->tree()->topLevelItem(0) : Entry(entry));
        QCOMPARE(Listed(), listed);
        for (int i = 0; i < m_browser->list()->count(); ++i) {
            const QSize icon = m_browser->list()->item(i)->icon().availableSizes().value(0);
            QVERIFY2(icon.width() == 150 || icon.height() == 150, qPrintable(listed[i]));
            QVERIFY(icon.width() <= 150 && icon.height() <= 150);
        }
    }

    void thumbnailsKeepTheirAspect()
    {
        QVector<ClipArtThumbnail> all;
        DecodeClipArtFolder(Folder() + "Animals", QSize(150, 150), 2, nullptr,
                            [&all](const QVector<ClipArtThumbnail>& batch) { all += batch; });
        QCOMPARE(all.size(), 3);
        QCOMPARE(all[0].image.size(), QSize(150, 75));
        QCOMPARE(all[1].image.size(), QSize(50, 150));
        QCOMPARE(all[2].image.size(), QSize(150, 150));
    }

    void pictureClickEnablesTheBackground()
    {
        QVERIFY(!m_browser->backgroundButton()->isEnabled());
        Click(Entry("Animals"));
        QVERIFY(!m_browser->backgroundButton()->isEnabled());
        QSignalSpy background(m_browser.get(), SIGNAL(InsertBackGroundImage(QString)));
        QSignalSpy insert(m_browser.get(), SIGNAL(InsertImage(QString)));

        m_browser->SelectItem(m_browser->list()->item(1));
        QVERIFY(m_browser->backgroundButton()->isEnabled());
        QVERIFY(!m_browser->preview()->pixmap(Qt::ReturnByValue).isNull());
        const QString dog = QDir(Folder() + "Animals").absolutePath() + "/Dog.jpg";
        QTest::mouseClick(m_browser->backgroundButton(), Qt::LeftButton);
        QCOMPARE(background.count(), 1);
        QCOMPARE(background.at(0).at(0).toString(), dog);
        QVERIFY(QFile::exists(background.at(0).at(0).toString()));

        m_browser->InsertImage(m_browser->list()->item(0));
        QCOMPARE(insert.count(), 1);
        QCOMPARE(insert.at(0).at(0).toString(), QDir(Folder() + "Animals").absolutePath() + "/cat.png");

        // Another folder opened meanwhile: the button still lays the picture
        // that was clicked, not a file of that name in the other folder.
        Click(Entry("Empty"));
        QTest::mouseClick(m_browser->backgroundButton(), Qt::LeftButton);
        QCOMPARE(background.count(), 2);
        QCOMPARE(background.at(1).at(0).toString(), dog);
    }

    // Whatever the language, each button shows its whole text and neither
    // covers the other, the preview or the picture list.
    void buttonsFitTheirTexts_data()
    {
        QTest::addColumn<QString>("background");
        QTest::addColumn<QString>("close");
        QTest::newRow("short") << "Background" << "Close";
        QTest::newRow("the English texts") << "Set as Background" << "Close";
        QTest::newRow("long, one above the other") << "Als Hintergrund" << "Schliessen";
    }

    void buttonsFitTheirTexts()
    {
        QFETCH(QString, background);
        QFETCH(QString, close);
        QStringList clipartTexts{"Clip Art", "", "", "", "", background};
        QStringList commonTexts{"", "", "", "", close};
        m_browser->SetLanguageText(&commonTexts, &clipartTexts);
        const QRect list = m_browser->list()->geometry();
        const QRect preview = m_browser->preview()->geometry();
        const QRect dialog = m_browser->rect();
        QVector<QRect> taken;
        for (QPushButton* button : {m_browser->backgroundButton(), m_browser->closeButton()}) {
            const QRect r = button->geometry();
            QVERIFY2(r.width() >= button->sizeHint().width(),
                     qPrintable(QStringLiteral("%1: %2 < %3").arg(button->text()).arg(r.width()).arg(button->sizeHint().width())));
            QVERIFY(dialog.contains(r));
            QVERIFY(!r.intersects(list));
            QVERIFY(!r.intersects(preview));
            for (const QRect& other : qAsConst(taken))
                QVERIFY(!r.intersects(other));
            taken << r;
        }
    }

    // The drawn clip art is only its drawing: the corners are clear, the
    // middle is not.
    void shippedClipArtIsClearAroundTheDrawing_data()
    {
        QTest::addColumn<QString>("picture");
        QTest::newRow("star") << "Shapes/Star.png";
        QTest::newRow("cloud") << "Nature/Cloud.png";
        QTest::newRow("question") << "Signs/Question.png";
    }

    void shippedClipArtIsClearAroundTheDrawing()
    {
        QFETCH(QString, picture);
        const QImage image(BuiltProgramFolder() + "/Clipart/" + picture);
        QVERIFY2(!image.isNull(), qPrintable(picture));
        QVERIFY(image.hasAlphaChannel());
        QCOMPARE(qAlpha(image.pixel(2, 2)), 0);
        QCOMPARE(qAlpha(image.pixel(image.width() - 3, image.height() - 3)), 0);
        QCOMPARE(qAlpha(image.pixel(image.width() / 2, image.height() / 2)), 255);
    }

    void dragCarriesThePicturePath()
    {
        Click(Entry("Animals"));
        QPixmap picture;
        QString path;
        QVERIFY(ReadClipArtDragPayload(m_browser->list()->DragPayload(m_browser->list()->item(2)), &picture, &path));
        QCOMPARE(path, QDir(Folder() + "Animals").absolutePath() + "/fish.dat");
        QCOMPARE(picture.size(), QSize(150, 150));
    }
};

QTEST_MAIN(ClipartTest)
#include "clipart_test.moc"
