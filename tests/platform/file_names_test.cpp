#include "platform/file_names.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextCodec>
#include <QtTest>

#include <fcntl.h>
#include <unistd.h>

class FileNamesTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { platform::UseLosslessFileNames(); }

    void namesKeepTheirBytes_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("validUtf8");
        QTest::newRow("ascii") << QByteArray("/tmp/lesson.vk") << true;
        QTest::newRow("utf-8") << QByteArray("/tmp/le\xc3\xa7on \xe2\x82\xac.vk") << true;
        QTest::newRow("four bytes") << QByteArray("/tmp/\xf0\x9f\x93\x9d.vk") << true;
        QTest::newRow("latin-1") << QByteArray("/tmp/le\xe7on.vk") << false;
        QTest::newRow("stray continuation") << QByteArray("/tmp/\x80\xbf.vk") << false;
        QTest::newRow("overlong slash") << QByteArray("/tmp/\xc0\xaf.vk") << false;
        QTest::newRow("encoded surrogate") << QByteArray("/tmp/\xed\xa0\x80.vk") << false;
        QTest::newRow("cut at the end") << QByteArray("/tmp/a\xe2\x82") << false;
        QTest::newRow("past the last character") << QByteArray("/tmp/\xf4\x90\x80\x80") << false;
    }
    void namesKeepTheirBytes()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, validUtf8);
        const QString name = QFile::decodeName(bytes);
        QCOMPARE(QFile::encodeName(name), bytes);
        QCOMPARE(QString::fromLocal8Bit(bytes).toLocal8Bit(), bytes);
        if (validUtf8)
            QCOMPARE(name, QString::fromUtf8(bytes));
        else
            QVERIFY(!name.contains(QChar::ReplacementCharacter));
    }

    // A file whose name is not UTF-8 is found, listed and opened by the text
    // its bytes were read as.
    void fileWithLatin1NameOpens()
    {
        QTemporaryDir dir;
        const QByteArray raw = QFile::encodeName(dir.path()) + "/le\xe7on-\xff.vk";
        const int fd = ::open(raw.constData(), O_WRONLY | O_CREAT | O_EXCL, 0600);
        QVERIFY(fd >= 0);
        QCOMPARE(::write(fd, "ok", 2), ssize_t(2));
        ::close(fd);

        const QString name = QFile::decodeName(raw);
        QFile file(name);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("ok"));
        const QStringList listed = QDir(dir.path()).entryList(QDir::Files);
        QCOMPARE(listed.size(), 1);
        QCOMPARE(dir.path() + QLatin1Char('/') + listed.first(), name);
    }

    // Text read in pieces (a pipe, a file) is not split into escapes where a
    // character runs across two pieces.
    void characterAcrossPiecesStaysWhole()
    {
        const QByteArray text("a\xe2\x82\xac" "b\xff");
        QTextDecoder decoder(QTextCodec::codecForLocale());
        QString read;
        for (char c : text)
            read += decoder.toUnicode(&c, 1);
        QCOMPARE(read.left(3), QString::fromUtf8("a\xe2\x82\xac" "b"));
        QCOMPARE(read.toLocal8Bit(), text);
    }
};

QTEST_GUILESS_MAIN(FileNamesTest)
#include "file_names_test.moc"
