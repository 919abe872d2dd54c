// The four category boxes switch their groups, in order, through the click rule.
#include "FormFixture.h"
#include "TestMain.h"

namespace {
QList<int> AllExcept(const QList<int>& Members) {
    QList<int> rest;
    for (int n : AllCharacterBoxes())
        if (!Members.contains(n))
            rest.append(n);
    return rest;
}
} // namespace

class TestCategories : public QObject {
    Q_OBJECT
private slots:
    void init() { CreateMainForm(); }

    void toggleSwitchesExactlyItsMembers_data() {
        QTest::addColumn<int>("category");
        QTest::addColumn<QList<int>>("members");
        QTest::newRow("buchstaben") << 1 << Range(5, 30) + Range(102, 105);
        QTest::newRow("BUCHSTABEN") << 2 << Range(41, 66) + Range(99, 101);
        QTest::newRow("Zahlen") << 3 << Range(31, 40);
        QTest::newRow("Sonderzeichen") << 4 << Range(67, 98);
    }

    void toggleSwitchesExactlyItsMembers() {
        QFETCH(int, category);
        QFETCH(QList<int>, members);

        // The order in which the toggle sets its members.
        QList<int> order;
        for (int n : members)
            connect(Box(n), &QCheckBox::toggled, this, [&order, n] { order.append(n); });

        QTest::mouseClick(Box(category), Qt::LeftButton);
        QVERIFY(!Box(category)->isChecked());
        QCOMPARE(order, members);
        QCOMPARE(CheckedBoxes(), AllExcept(members));

        // Set by the program rather than the user: the handler runs before setChecked returns.
        Box(category)->setChecked(true);
        QCOMPARE(CheckedBoxes().size(), 101);
        QCOMPARE(Box(category)->checkState(), Qt::Checked);
    }

    void categoriesSplitTheGridWithoutOverlap() {
        for (int category = 1; category <= 4; ++category)
            Box(category)->setChecked(false);
        QVERIFY(CheckedBoxes().isEmpty());
        for (int category = 1; category <= 4; ++category)
            QCOMPARE(Box(category)->checkState(), Qt::Unchecked);
    }

    void aSingleBoxNeverChangesItsCategory() {
        QTest::mouseClick(Box(5), Qt::LeftButton);
        QVERIFY(!Box(5)->isChecked());
        QVERIFY(Box(1)->isChecked());
        QCOMPARE(Box(1)->checkState(), Qt::Checked);

        Box(1)->setChecked(false);
        Box(1)->setChecked(true);
        QVERIFY(Box(5)->isChecked());
    }

    void checkingAnUncheckedCategoryWhoseMembersAreCheckedChangesNothingVisible() {
        Box(3)->setChecked(false);
        for (int n = 31; n <= 40; ++n)
            Box(n)->setChecked(true);
        Box(3)->setChecked(true);
        QCOMPARE(CheckedBoxes().size(), 101);
    }

    void eachMemberFollowsTheCategoryAsItIsThen() {
        // Something that re-checks the category half-way: the remaining members follow the new state.
        connect(Box(10), &QCheckBox::toggled, this, [](bool checked) {
            if (!checked)
                Box(1)->setChecked(true);
        });
        Box(1)->setChecked(false);
        QVERIFY(Box(1)->isChecked());
        for (int n : Range(11, 30) + Range(102, 105))
            QVERIFY2(Box(n)->isChecked(), qPrintable(QString::number(n)));
    }

    void noHandlerIsBoundWhileTheLayoutIsBuilt() {
        // A form straight from the layout, before its creation handler: changes run no handler.
        TForm1 layoutOnly;
        auto* category = layoutOnly.findChild<QCheckBox*>("CheckBox1");
        category->setChecked(false);
        QVERIFY(layoutOnly.findChild<QCheckBox*>("CheckBox5")->isChecked());
    }
};

ZADRIN_TEST_MAIN(TestCategories)
#include "tst_categories.moc"
