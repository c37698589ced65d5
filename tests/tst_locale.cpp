// SPDX-License-Identifier: LGPL-2.1-or-later
// Language choice and translated labels under the system locale this program
// runs with (tests/locale.cmake registers it under several). With
// VX_EXPECT_TRANSLATIONS=0 the program runs from a folder without
// translations/ and every label must stay in its source text.
#include "plugin/VXKTR450PROCam.h"
#include "property/VXDeviceProperty.h"

#include <QFileInfo>
#include <QtTest>

#include <memory>

namespace {

QString expectedCode()
{
    const QString name = QLocale::system().name();
    if (name == QLatin1String("ja_JP"))
        return name;
    if (name == QLatin1String("zh_CN"))
        return QString();
    return QStringLiteral("en_US");
}

bool translationsInstalled()
{
    return qgetenv("VX_EXPECT_TRANSLATIONS") != "0";
}

// Which column of the label table applies: 0 source, 1 English, 2 Japanese.
int column()
{
    const QString code = expectedCode();
    if (code.isEmpty() || !translationsInstalled())
        return 0;
    return code == QLatin1String("ja_JP") ? 2 : 1;
}

} // namespace

class TestLocale : public QObject
{
    Q_OBJECT
private slots:
    void languageAndFile();
    void labels_data();
    void labels();
    void translatorLeavesWithItsObject();
};

void TestLocale::languageAndFile()
{
    VXKTR450PROCam root;
    QCOMPARE(root.languageCode(), expectedCode());
    const QString file = QStringLiteral("VX-KTR450PROCam_%1.qm").arg(expectedCode());
    QCOMPARE(root.translationFile(), file);
    const QString path = QCoreApplication::applicationDirPath() + "/translations/" + file;
    QCOMPARE(QFileInfo::exists(path), translationsInstalled() && !expectedCode().isEmpty());
}

void TestLocale::labels_data()
{
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QStringList>("texts");   // source, English, Japanese
    QTest::newRow("WORK_MODE label") << QByteArray("WORK_MODE") << "label"
        << QStringList{"切割质量", "Cutting quality", "カット品質"};
    // Leading blanks are part of the entries in every language.
    QTest::newRow("WORK_MODE options") << QByteArray("WORK_MODE") << "option"
        << QStringList{"   速度优先;   平衡;   精度优先", "   Speed first;   Balanced;   Precision first",
                       "   速度優先;   バランス;   精度優先"};
    QTest::newRow("QRCODE_COPIES unit") << QByteArray("QRCODE_COPIES") << "unit"
        << QStringList{"份", "copies", "部"};
    QTest::newRow("FEED label") << QByteArray("FEED") << "label" << QStringList{"送料", "Feed", "送り"};
    QTest::newRow("AUTO_FEED options") << QByteArray("AUTO_FEED") << "option"
        << QStringList{"   关;   开", "   Off;   On", "   オフ;   オン"};
    QTest::newRow("TOOL_SPACE unit fixed") << QByteArray("TOOL_SPACE") << "unit"
        << QStringList{"(mm x mm)", "(mm x mm)", "(mm x mm)"};
    QTest::newRow("DEVICE_INFO label") << QByteArray("DEVICE_INFO") << "label"
        << QStringList{"机器信息", "Machine information", "機械情報"};
    QTest::newRow("SP2_TOOL options (model)") << QByteArray("SP2_TOOL") << "option"
        << QStringList{"拖刀;转刀", "Drag knife;Rotary knife", "ドラッグナイフ;回転刃"};
    QTest::newRow("PAGE_SPACE label (model)") << QByteArray("PAGE_SPACE") << "label"
        << QStringList{"纸张间距", "Sheet spacing", "用紙間隔"};
    QTest::newRow("DEVICE_MODEL_NAME value (model)") << QByteArray("DEVICE_MODEL_NAME") << "value"
        << QStringList{"传送带平板机", "Conveyor-belt flatbed machine", "コンベア式フラットベッド機"};
    QTest::newRow("USB target label") << QByteArray("USB") << "label"
        << QStringList{"USB 地址", "USB address", "USB アドレス"};
}

void TestLocale::labels()
{
    QFETCH(QByteArray, key);
    QFETCH(QString, field);
    QFETCH(QStringList, texts);
    VXKTR450PROCam root;
    std::unique_ptr<VXDeviceInterface> device(root.initInstance());
    device->setUSBPath(QStringLiteral("/dev/null"));
    VXDeviceProperty *p = device->property_ptr(key.constData());
    QVERIFY(p);
    QString actual;
    if (field == QLatin1String("label"))
        actual = p->label();
    else if (field == QLatin1String("unit"))
        actual = p->uint();
    else if (field == QLatin1String("value"))
        actual = p->value().toString();
    else
        actual = p->property("WIDGET").toJsonObject().value("option").toString();
    QCOMPARE(actual, texts.at(column()));
}

// Each object installs its own translator; ~QTranslator uninstalls it, so
// the translation lasts exactly as long as some model object is alive.
void TestLocale::translatorLeavesWithItsObject()
{
    const char *source = "机器信息";
    auto *root = new VXKTR450PROCam;
    std::unique_ptr<VXDeviceInterface> device(root->initInstance());
    const QString translated = QCoreApplication::translate("VXCommonInterface", source);
    QCOMPARE(translated == QString::fromUtf8(source), column() == 0);
    delete root;
    QCOMPARE(QCoreApplication::translate("VXCommonInterface", source), translated);
    device.reset();
    QCOMPARE(QCoreApplication::translate("VXCommonInterface", source), QString::fromUtf8(source));
}

QTEST_MAIN(TestLocale)
#include "tst_locale.moc"
