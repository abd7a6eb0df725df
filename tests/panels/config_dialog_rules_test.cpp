#include "panels/config_dialog_rules.h"

#include <QRegularExpression>
#include <QtTest>

class ConfigDialogRulesTest : public QObject
{
    Q_OBJECT

private slots:
    void volumePercent_data();
    void volumePercent();
    void imageFilterOffersEveryPictureKind_data();
    void imageFilterOffersEveryPictureKind();
    void everyBoardColourHasASwatch();
};

void ConfigDialogRulesTest::volumePercent_data()
{
    QTest::addColumn<float>("level");
    QTest::addColumn<int>("percent");
    QTest::newRow("truncated, not rounded") << 0.457f << 45;
    QTest::newRow("full") << 1.0f << 100;
    QTest::newRow("silent") << 0.0f << 0;
    QTest::newRow("just below a whole percent") << 0.999f << 99;
    // Whole percentages that a float stores a hair below their value.
    QTest::newRow("0.29") << 0.29f << 29;
    QTest::newRow("0.57") << 0.57f << 57;
    QTest::newRow("0.58") << 0.58f << 58;
}

void ConfigDialogRulesTest::volumePercent()
{
    QFETCH(float, level);
    QFETCH(int, percent);
    QCOMPARE(configdlg::VolumePercent(level), percent);
}

void ConfigDialogRulesTest::imageFilterOffersEveryPictureKind_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("gif") << "a.gif";
    QTest::newRow("png") << "a.png";
    QTest::newRow("bmp") << "a.bmp";
    QTest::newRow("jpg") << "a.jpg";
}

// The patterns as a file dialog reads them: the words between the brackets.
void ConfigDialogRulesTest::imageFilterOffersEveryPictureKind()
{
    QFETCH(QString, file);
    const QString filter = configdlg::ImageFileFilter();
    const QRegularExpressionMatch inner = QRegularExpression("\\(([^)]*)\\)").match(filter);
    QVERIFY(inner.hasMatch());
    bool matched = false;
    for (const QString& pattern : inner.captured(1).split(' ', Qt::SkipEmptyParts)) {
        const QRegularExpression wildcard(QRegularExpression::wildcardToRegularExpression(pattern));
        matched = matched || wildcard.match(file).hasMatch();
    }
    QVERIFY2(matched, qPrintable(filter));
}

void ConfigDialogRulesTest::everyBoardColourHasASwatch()
{
    const QStringList names = configdlg::BoardColorNames();
    QCOMPARE(names.size(), 18);
    for (const QString& name : names)
        QVERIFY2(configdlg::BoardColorSwatch(name).isValid(), qPrintable(name));
    QCOMPARE(configdlg::BoardColorSwatch("blackboard color"), QColor(25, 74, 57));
    QCOMPARE(configdlg::BoardColorSwatch("orange"), QColor(255, 165, 0));
}

QTEST_MAIN(ConfigDialogRulesTest)
#include "config_dialog_rules_test.moc"
