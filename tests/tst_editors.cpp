// SPDX-License-Identifier: LGPL-2.1-or-later
#include "property/VXDeviceProperty.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabWidget>
#include <QtTest>

#include <memory>

using Desc = QJsonObject;

static QObject *owner()
{
    static QObject o;
    return &o;
}
static VXDeviceProperty *record(const QVariant &value, const Desc &desc,
                                const QString &label = QString(), const QString &unit = QString())
{
    auto *r = new VXDeviceProperty(owner());
    r->init(value, label, unit, 0, 0, 0, VXDeviceInterface::UnCMD, {});
    if (!desc.isEmpty())
        r->setProperty("WIDGET", desc);
    return r;
}
static std::unique_ptr<QWidget> host()
{
    std::unique_ptr<QWidget> w(new QWidget);
    new QVBoxLayout(w.get());
    return w;
}
static QWidget *editor(const QObject *r) { return static_cast<QWidget *>(r->property("UI_CTRL").value<void *>()); }
static QList<QWidget *> rowWidgets(QWidget *row)
{
    QList<QWidget *> out;
    for (int i = 0; i < row->layout()->count(); ++i)
        out << row->layout()->itemAt(i)->widget();
    return out;
}
static QString shown(QWidget *w)
{
    if (auto *s = qobject_cast<QAbstractSpinBox *>(w)) return s->text();
    if (auto *c = qobject_cast<QComboBox *>(w)) return QString::number(c->currentIndex());
    if (auto *e = qobject_cast<QLineEdit *>(w)) return e->text();
    return qobject_cast<QLabel *>(w)->text();
}
static void type(QWidget *w, const QString &text)
{
    // Spin boxes get real key strokes, so their validators apply.
    if (qobject_cast<QAbstractSpinBox *>(w)) {
        auto *edit = w->findChild<QLineEdit *>();
        edit->selectAll();
        QTest::keyClicks(edit, text);
    } else if (auto *c = qobject_cast<QComboBox *>(w)) {
        c->setCurrentIndex(text.toInt());
    } else if (auto *e = qobject_cast<QLineEdit *>(w)) {
        e->setText(text);
    }
}
static Desc spin(double factor, int max) { return {{"widget", "QSpinBox"}, {"factor", factor}, {"max", max}}; }
static Desc dspin(double factor, double min, double max)
{
    return {{"widget", "QDoubleSpinBox"}, {"factor", factor}, {"min", min}, {"max", max}};
}
static Desc line(double factor) { return {{"widget", "QLineEdit"}, {"factor", factor}}; }

class tst_Editors : public QObject
{
    Q_OBJECT
private slots:
    void fillAndReadBack_data();
    void fillAndReadBack();
    void unchangedRoundTrip_data();
    void unchangedRoundTrip();
    void keptValues_data();
    void keptValues();
    void comboItems_data();
    void comboItems();
    void tabPagesShareOneTabWidget();
    void groupRowsAndTabRows();
    void skippedAndStaleEditors();
};

void tst_Editors::fillAndReadBack_data()
{
    QTest::addColumn<Desc>("desc");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("shownText");
    QTest::addColumn<QString>("typed"); // empty: read back without an edit
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<bool>("emits");

    const double thirds = 3.1666666666666665;
    QTest::newRow("pressure 600 at 19/6") << spin(thirds, 1900) << QVariant(600u) << "1900" << "" << QVariant(600) << false;
    QTest::newRow("pressure 1 at 19/6") << spin(thirds, 1900) << QVariant(1u) << "3" << "" << QVariant(1) << false;
    QTest::newRow("pressure 600 at 1.5") << spin(1.5, 900) << QVariant(600u) << "900" << "" << QVariant(600) << false;
    QTest::newRow("pressure typed 900 at 1.5") << spin(1.5, 900) << QVariant(0u) << "0" << "900" << QVariant(600) << true;
    QTest::newRow("spin refuses 1001") << Desc{{"widget", "QSpinBox"}} << QVariant(5u) << "5" << "1001" << QVariant(100) << true; // the last key is refused
    QTest::newRow("double 0.005 -200") << dspin(0.005, -1000, 1000) << QVariant(-200) << "-1.000" << "-1.000" << QVariant(-200.0) << false;
    QTest::newRow("double 0.005 typed") << dspin(0.005, -1000, 1000) << QVariant(0) << "0.000" << "0.001" << QVariant(0.2) << true;
    QTest::newRow("double 0.1 typed 1.3") << dspin(0.1, 0, 100) << QVariant(0) << "0.000" << "1.3" << QVariant(13.0) << true;
    QTest::newRow("double 0.1 typed 0.7") << dspin(0.1, 0, 100) << QVariant(0) << "0.000" << "0.7" << QVariant(7.0) << true;
    QTest::newRow("double plain") << dspin(1, 10, 10000) << QVariant(1200.0) << "1200.000" << "600.25" << QVariant(600.25) << true;
    QTest::newRow("line 0.5 shows half") << line(0.5) << QVariant(2000u) << "1000" << "12.5" << QVariant("25") << true;
    QTest::newRow("line 0.5 keeps decimals") << line(0.5) << QVariant(0u) << "0" << "600.3" << QVariant("1200.6") << true;
    QTest::newRow("line 0.0001") << line(0.0001) << QVariant(10000u) << "1" << "1.5" << QVariant("15000") << true;
    QTest::newRow("label") << Desc{{"widget", "QLabel"}} << QVariant("VX") << "VX" << "" << QVariant("VX") << false;
    QTest::newRow("combo index") << Desc{{"widget", "QComboBox"}, {"option", "A;B;"}} << QVariant(0u) << "0" << "1" << QVariant(1) << true;
}

void tst_Editors::fillAndReadBack()
{
    QFETCH(Desc, desc);
    QFETCH(QVariant, value);
    QFETCH(QString, typed);
    QFETCH(QVariant, stored);

    auto h = host();
    VXDeviceProperty *r = record(value, desc);
    r->create_ui_ctrl(h.get(), "EDIT", true);
    QWidget *w = editor(r);
    QVERIFY(w && w->objectName() == "EDIT");
    r->to_ui_ctrl();
    QTEST(shown(w), "shownText");
    if (!typed.isEmpty())
        type(w, typed);
    QSignalSpy changed(r, &VXDeviceProperty::valueChanged);
    r->from_ui_ctrl();
    QCOMPARE(r->value().userType(), stored.userType());
    QCOMPARE(r->value(), stored);
    QCOMPARE(r->value().toString(), stored.toString()); // no floating noise in the command text
    QTEST(changed.count() == 1, "emits");
}

void tst_Editors::keptValues_data()
{
    // Read-backs that must leave the stored value (or store the text as
    // typed, for plot bodies), with the record's command kind.
    using K = VXDeviceInterface;
    QTest::addColumn<Desc>("desc");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("typed"); // empty: read back without an edit
    QTest::addColumn<QVariant>("stored");
    const Desc minSpin{{"widget", "QSpinBox"}, {"min", 10}, {"max", 700}};
    QTest::newRow("CCMD text with ; and ,") << line(1) << int(K::CCMD) << QVariant("AB") << "AB;12,3" << QVariant("AB");
    QTest::newRow("CMD text with STX") << line(1) << int(K::CMD) << QVariant("AB") << "A\x02" << QVariant("AB");
    QTest::newRow("NUM text with ,") << line(1) << int(K::NUM) << QVariant("1") << "1,2" << QVariant("1");
    QTest::newRow("plot text as given") << line(1) << int(K::PLT) << QVariant("IN;") << "PU1,2;" << QVariant("PU1,2;");
    QTest::newRow("SCALE_X 1,5 is no number") << line(0.0001) << int(K::CMD) << QVariant(10000u) << "1,5" << QVariant(10000u);
    QTest::newRow("plain numeric record") << line(1) << int(K::CMD) << QVariant(5u) << "x" << QVariant(5u);
    QTest::newRow("PU_SPEED 0 under min 10") << minSpin << int(K::CMD) << QVariant(0u) << "" << QVariant(0u);
    QTest::newRow("pressure 700 over max") << spin(1.5, 900) << int(K::CMD) << QVariant(700u) << "" << QVariant(700u);
    QTest::newRow("edited below min stores") << minSpin << int(K::CMD) << QVariant(0u) << "12" << QVariant(12);
}

void tst_Editors::keptValues()
{
    QFETCH(Desc, desc);
    QFETCH(int, kind);
    QFETCH(QVariant, value);
    QFETCH(QString, typed);
    QFETCH(QVariant, stored);
    auto h = host();
    auto *r = new VXDeviceProperty(owner());
    r->init(value, QString(), QString(), 9, 9, 1, VXDeviceInterface::VXDeviceCMDType(kind), {});
    r->setProperty("WIDGET", desc);
    r->create_ui_ctrl(h.get(), "EDIT", false);
    r->to_ui_ctrl();
    if (!typed.isEmpty())
        type(editor(r), typed);
    r->from_ui_ctrl();
    QCOMPARE(r->value(), stored);
    QCOMPARE(r->value().userType(), stored.userType());
    QCOMPARE(r->set_cmd_bytes().isEmpty(), false);
}

void tst_Editors::unchangedRoundTrip_data()
{
    QTest::addColumn<Desc>("desc");
    QTest::addColumn<int>("lo");
    QTest::addColumn<int>("hi");
    QTest::newRow("spin 19/6") << spin(3.1666666666666665, 1900) << 0 << 600;
    QTest::newRow("spin 1.5") << spin(1.5, 900) << 0 << 600;
    QTest::newRow("double 0.005") << dspin(0.005, -1000, 1000) << -600 << 600;
    QTest::newRow("line 0.5") << line(0.5) << 0 << 600;
    QTest::newRow("line 0.0001") << line(0.0001) << 0 << 600;
}

void tst_Editors::unchangedRoundTrip()
{
    QFETCH(Desc, desc);
    QFETCH(int, lo);
    QFETCH(int, hi);
    auto h = host();
    VXDeviceProperty *r = record(QVariant(), desc);
    r->create_ui_ctrl(h.get(), "EDIT", false);
    QSignalSpy changed(r, &VXDeviceProperty::valueChanged);
    for (int v = lo; v <= hi; ++v) {
        r->init(v < 0 ? QVariant(v) : QVariant(uint(v)), QString(), QString(), 0, 0, 0,
                VXDeviceInterface::CMD, {});
        r->to_ui_ctrl();
        r->from_ui_ctrl();
        QVERIFY2(r->value().toDouble() == v && r->value().toString() == QString::number(v),
                 qPrintable(QString("%1 came back as %2").arg(v).arg(r->value().toString())));
    }
    QCOMPARE(changed.count(), 0);
}

void tst_Editors::comboItems_data()
{
    QTest::addColumn<Desc>("desc");
    QTest::addColumn<QStringList>("items");
    QTest::newRow("leading blanks") << Desc{{"widget", "QComboBox"}, {"option", "   速度优先;   平衡;   精度优先"}}
                                    << QStringList{"   速度优先", "   平衡", "   精度优先"};
    QTest::newRow("empty last") << Desc{{"widget", "QComboBox"}, {"option", "A;B;"}} << QStringList{"A", "B", ""};
    QTest::newRow("no option") << Desc{{"widget", "QComboBox"}} << QStringList{""};
}

void tst_Editors::comboItems()
{
    QFETCH(Desc, desc);
    auto h = host();
    VXDeviceProperty *r = record(7u, desc); // beyond every item list
    r->create_ui_ctrl(h.get(), "TOOL", false);
    auto *combo = qobject_cast<QComboBox *>(editor(r));
    QVERIFY(combo && qobject_cast<QListView *>(combo->view()));
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    QTEST(items, "items");

    // Nothing selected expresses no edit: the stored value stays.
    QSignalSpy changed(r, &VXDeviceProperty::valueChanged);
    r->to_ui_ctrl();
    r->from_ui_ctrl();
    QCOMPARE(r->value(), QVariant(7u));
    QCOMPARE(changed.count(), 0);
}

void tst_Editors::tabPagesShareOneTabWidget()
{
    auto h = host();
    VXDeviceProperty *speed = record(100u, spin(1, 700), "Speed", "(mm/s)");
    VXDeviceProperty *tab1 = record(QVariant(), {{"widget", "QTabWidget"}}, "SP2");
    VXDeviceProperty *tab2 = record(QVariant(), {}, "FEED");
    VXDeviceProperty::attach(tab1, "SP2_SPEED", speed);
    // Members attached before the description: both orders must work.
    VXDeviceProperty::attach(tab2, "FEED_SPEED", record(5u, spin(1, 700)));
    tab2->setProperty("WIDGET", Desc{{"widget", "QTabWidget"}});

    tab1->create_ui_ctrl(h.get(), "ignored", false);
    tab2->create_ui_ctrl(h.get(), "ignored", false);
    const QList<QTabWidget *> tabs = h->findChildren<QTabWidget *>();
    QCOMPARE(tabs.size(), 1);
    QCOMPARE(tabs[0]->count(), 2);
    QCOMPARE(tabs[0]->tabText(0), QString("SP2"));
    QCOMPARE(tabs[0]->tabText(1), QString("FEED"));
    QCOMPARE(tabs[0]->widget(1), editor(tab2));

    // Building again points "UI_CTRL" at the new page; the group's own
    // "UI_CTRL" is not mistaken for a member.
    tab1->create_ui_ctrl(h.get(), "ignored", false);
    QCOMPARE(tabs[0]->count(), 3);
    QCOMPARE(tabs[0]->widget(2), editor(tab1));
    tab1->to_ui_ctrl();
    QCOMPARE(editor(speed)->parentWidget()->parentWidget(), editor(tab1));
    QCOMPARE(shown(editor(speed)), QString("100"));
}

void tst_Editors::groupRowsAndTabRows()
{
    auto h = host();
    VXDeviceProperty *x = record(0, dspin(0.005, -1000, 1000), "x", "mm");
    VXDeviceProperty *y = record(0, dspin(0.005, -1000, 1000), "y", "mm");
    VXDeviceProperty *group = record(QVariant(), {{"widget", "QGroupBox"}}, "Tool offset", "(mm x mm)");
    VXDeviceProperty::attach(group, "TOOL_SPACE_X", x);
    VXDeviceProperty::attach(group, "TOOL_SPACE_Y", y);
    group->create_ui_ctrl(h.get(), "TOOL_SPACE", true);

    // One row: caption, container, unit; the member rows inside carry no unit.
    QCOMPARE(h->layout()->count(), 1);
    const QList<QWidget *> row = rowWidgets(h->layout()->itemAt(0)->widget());
    QCOMPARE(row.size(), 3);
    QCOMPARE(row[1], editor(group));
    QCOMPARE(qobject_cast<QLabel *>(row[2])->text(), QString("(mm x mm)"));
    QCOMPARE(editor(group)->layout()->count(), 2);
    const QList<QWidget *> xRow = rowWidgets(editor(group)->layout()->itemAt(0)->widget());
    QCOMPARE(xRow.size(), 2);
    QCOMPARE(xRow[1]->objectName(), QString("TOOL_SPACE_X"));

    // Fill and read back recurse; only the edited member changes.
    x->assignDecoded(-200);
    group->to_ui_ctrl();
    QCOMPARE(shown(editor(x)), QString("-1.000"));
    type(editor(y), "2.5");
    QSignalSpy xChanged(x, &VXDeviceProperty::valueChanged), yChanged(y, &VXDeviceProperty::valueChanged);
    group->from_ui_ctrl();
    QCOMPARE(xChanged.count(), 0); // a decoded value read back unchanged is no edit
    QCOMPARE(yChanged.count(), 1);
    QCOMPARE(y->value(), QVariant(500.0));
    QVERIFY(!group->value().isValid());

    // The same member on a tab page shows its unit.
    VXDeviceProperty *tab = record(QVariant(), {{"widget", "QTabWidget"}}, "Page");
    VXDeviceProperty::attach(tab, "TOOL_SPACE_X", x);
    tab->create_ui_ctrl(h.get(), "", false);
    const QList<QWidget *> tabRow = rowWidgets(editor(tab)->layout()->itemAt(0)->widget());
    QCOMPARE(tabRow.size(), 3);
    QCOMPARE(qobject_cast<QLabel *>(tabRow[2])->text(), QString("mm"));
}

void tst_Editors::skippedAndStaleEditors()
{
    auto h = host();
    VXDeviceProperty *bare = record(3u, {});
    bare->create_ui_ctrl(h.get(), "MOVE_X", true);
    QCOMPARE(h->layout()->count(), 0);

    // The host deletes its widgets; later fills and read-backs are skipped.
    VXDeviceProperty *s = record(3u, spin(1, 10));
    s->create_ui_ctrl(h.get(), "S", false);
    h.reset();
    QVERIFY(!s->property("UI_CTRL").isValid());
    s->to_ui_ctrl();
    s->from_ui_ctrl();
    QCOMPARE(s->value(), QVariant(3u));
}

QTEST_MAIN(tst_Editors)
#include "tst_editors.moc"
