#include "app/language_codes.h"

#include <QtTest>

class LanguageCodesTest : public QObject
{
    Q_OBJECT

private slots:
    void fileCode_data();
    void fileCode();
    void localeCode_data();
    void localeCode();
    void systemCodeAgreesWithItsIndex();
};

void LanguageCodesTest::fileCode_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("code");
    QTest::newRow("first") << 0 << "KOR";
    QTest::newRow("default") << 1 << "ENU";
    QTest::newRow("simplified chinese") << 3 << "CHS";
    QTest::newRow("norwegian") << 19 << "NON";
    QTest::newRow("last") << 24 << "NLD";
    QTest::newRow("past the end") << 25 << "ENU";
    QTest::newRow("follow the system") << -1 << "ENU";
}

void LanguageCodesTest::fileCode()
{
    QFETCH(int, index);
    QFETCH(QString, code);
    QCOMPARE(LanguageFileCode(index), code);
}

void LanguageCodesTest::localeCode_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("index");
    QTest::newRow("korean") << "ko_KR" << "KOR" << 0;
    QTest::newRow("english") << "en_US" << "ENU" << 1;
    QTest::newRow("german in austria") << "de_AT" << "DEU" << 5;
    QTest::newRow("brazilian portuguese") << "pt_BR" << "PTB" << 6;
    QTest::newRow("persian") << "fa_IR" << "FAR" << 21;
    QTest::newRow("dutch") << "nl_NL" << "NLD" << 24;
    QTest::newRow("not in the table") << "el_GR" << "ENU" << 1;
    // Mainland Chinese is named plain "zh" by Qt; the country decides the script.
    QTest::newRow("chinese, mainland") << "zh_CN" << "CHS" << 3;
    QTest::newRow("chinese, singapore") << "zh_SG" << "CHS" << 3;
    QTest::newRow("chinese, taiwan") << "zh_TW" << "CHT" << 4;
    QTest::newRow("chinese, hong kong") << "zh_HK" << "CHT" << 4;
    QTest::newRow("chinese, macau") << "zh_MO" << "ENU" << 1;
    QTest::newRow("C locale") << "C" << "ENU" << 1;
}

void LanguageCodesTest::localeCode()
{
    QFETCH(QString, locale);
    QFETCH(QString, code);
    QFETCH(int, index);
    int found = -5;
    QCOMPARE(LanguageCodeForLocale(QLocale(locale), &found), code);
    QCOMPARE(found, index);
    QCOMPARE(LanguageFileCode(found), code);
}

void LanguageCodesTest::systemCodeAgreesWithItsIndex()
{
    for (const char* name : {"zh_CN", "ja_JP", "sv_SE", "el_GR"}) {
        QLocale::setDefault(QLocale(QString::fromLatin1(name)));
        int index = -5;
        const QString code = SystemLanguageCode(&index);
        QCOMPARE(LanguageFileCode(index), code);
    }
    QLocale::setDefault(QLocale::c());
}

QTEST_APPLESS_MAIN(LanguageCodesTest)
#include "language_codes_test.moc"
