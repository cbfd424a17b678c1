// The window parts on their own: the variants model, the word column model and its row
// painter, colour values, browser addresses and the single-instance lock.
#include "TestUtil.h"

#include "code/CodeTableUnit.h"
#include "core/ColorUnit.h"
#include "core/SingleInstanceUnit.h"
#include "encoding/VariantsModel.h"
#include "encoding/WordsView.h"
#include "web/BrowserUnit.h"

#include <QAbstractItemModelTester>
#include <QLineEdit>
#include <QTest>
#include <gmock/gmock.h>
#include <gtest/gtest.h>


using namespace nb;
using namespace nb::ui;
using nbtest::TempDir;
using nbtest::W;

namespace {

std::vector<std::string> Keys(const TVariantsModel& model) {
    std::vector<std::string> keys;
    for (int r = 0; r < model.RowCount(); ++r) keys.push_back(model.Row(r).Variant);
    return keys;
}

} // namespace

TEST(VariantsModel, ShowsTheRowsInTheirOrderAndAHeaderClickKeepsIt) {
    TVariantsModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.SetRows({{"123", 1}, {"1-23", 2}, {"12-3", 2}, {"1-2-3", 3}});
    EXPECT_THAT(Keys(model), ::testing::ElementsAre("123", "1-23", "12-3", "1-2-3"));
    EXPECT_EQ(model.index(1, TVariantsModel::VariantColumn).data().toString(), QStringLiteral("1-23"));
    EXPECT_EQ(model.index(3, TVariantsModel::CountColumn).data().toString(), QStringLiteral("3"));
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Вариант"));
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Количество"));
    EXPECT_EQ(model.FindVariant("12-3"), 2);
    EXPECT_EQ(model.FindVariant("12"), -1);
    model.sort(TVariantsModel::VariantColumn, Qt::DescendingOrder);
    EXPECT_EQ(model.Row(0).Variant, "123") << "a header click does not re-sort";
    model.Clear();
    EXPECT_EQ(model.rowCount(), 0);
}

TEST(VariantsModel, ManyRowsInOneReset) {
    std::vector<TVariantRec> rows;
    for (int i = 0; i < 200000; ++i) rows.push_back({std::to_string(i), 1 + i * 7 / 200000});
    TVariantsModel model;
    int resets = 0;
    QObject::connect(&model, &QAbstractItemModel::modelReset, [&] { ++resets; });
    model.SetRows(std::move(rows));
    EXPECT_EQ(resets, 1);
    ASSERT_EQ(model.RowCount(), 200000);
    EXPECT_EQ(model.Row(1).Variant, "1");
    EXPECT_EQ(model.Row(199999).Count, 7);
}

class WordColumn : public ::testing::Test {
protected:
    void SetUp() override {
        dic.Assign({W("бот"), W("пуд"), W("сон")});
        painting.DicList = &dic;
        painting.Coder = TWordCoder(LoadClassic());
        painting.LetterColor = 255;
    }
    TLetterRecArr LoadClassic() {
        dir.Write("Codes.ini", W("[Classic]\r\n0=н,м\r\n2=д,т\r\n5=п,б\r\n7=с,з\r\n"));
        return LoadCodeTables(dir / "Codes.ini").at(0).Letters;
    }
    // Renders the column and counts the pure-red pixels of one row.
    int RedPixels(TWordTree& tree, int row) {
        const QImage image = tree.viewport()->grab().toImage();
        const QRect rect = tree.visualRect(tree.model()->index(row, 0));
        int red = 0;
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            for (int x = rect.left(); x <= rect.right(); ++x) {
                const QColor c = image.pixelColor(x, y);
                if (c.red() > 200 && c.green() < 80 && c.blue() < 80) ++red;
            }
        return red;
    }
    TempDir dir;
    TStringList dic{TStringList::Kind::Sorted};
    TWordPainting painting;
};

TEST_F(WordColumn, ModelHoldsIndicesAndLooksTheTextUp) {
    TWordColumnModel model(QStringLiteral("52"), {1, 0}, dic);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("52"));
    EXPECT_EQ(model.index(0, 0).data().toString(), QStringLiteral("пуд"));
    EXPECT_EQ(model.index(1, 0).data(kDicIndexRole).toInt(), 0);
    model.ClearRows();
    EXPECT_EQ(model.rowCount(), 0);
}

TEST_F(WordColumn, KeyLettersAreDrawnInTheLetterColourUnlessTheRowHasTheFocus) {
    QWidget window;
    window.resize(200, 230);
    auto* other = new QLineEdit(&window);
    other->setGeometry(0, 200, 200, 30);
    auto* tree = new TWordTree(&window);
    tree->setGeometry(0, 0, 200, 200);
    tree->setModel(new TWordColumnModel(QStringLiteral("52"), {0, 1}, dic, tree));
    TWordNodeDelegate delegate(painting);
    tree->setItemDelegate(&delegate);
    tree->FocusRow(0);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    other->setFocus();

    EXPECT_GT(RedPixels(*tree, 0), 10) << "б and т of бот";
    EXPECT_GT(RedPixels(*tree, 1), 10);
    tree->setFocus();
    ASSERT_TRUE(tree->hasFocus());
    EXPECT_EQ(RedPixels(*tree, 0), 0) << "the focused row of the focused column is one colour";
    EXPECT_GT(RedPixels(*tree, 1), 10);

    // A system colour follows the palette: here the window text, so no red anywhere.
    painting.LetterColor = static_cast<int32_t>(0xFF000008u);
    other->setFocus();
    EXPECT_EQ(RedPixels(*tree, 1), 0);
}

TEST(ColorValues, ExplicitAndSystemColours) {
    QPalette palette;
    palette.setColor(QPalette::WindowText, QColor(1, 2, 3));
    palette.setColor(QPalette::ToolTipBase, QColor(4, 5, 6));
    palette.setColor(QPalette::Highlight, QColor(7, 8, 9));
    EXPECT_EQ(ColorValueToQColor(255, palette), QColor(255, 0, 0));
    EXPECT_EQ(ColorValueToQColor(0x00FF0000, palette), QColor(0, 0, 255));
    EXPECT_EQ(ColorValueToQColor(0x00336699, palette), QColor(0x99, 0x66, 0x33));
    // Stored as negative numbers: 0xFF000008 window text, 0xFF000018 info background.
    EXPECT_EQ(ColorValueToQColor(-16777208, palette), QColor(1, 2, 3));
    EXPECT_EQ(ColorValueToQColor(-16777192, palette), QColor(4, 5, 6));
    EXPECT_EQ(ColorValueToQColor(static_cast<int32_t>(0xFF00000Du), palette), QColor(7, 8, 9));
    EXPECT_EQ(ColorValueToQColor(static_cast<int32_t>(0xFF0000EEu), palette), QColor(1, 2, 3))
        << "an unknown system colour reads as window text";
}

TEST(BrowserAddress, LocalPathsBecomeFileUrlsAndWebAddressesStay) {
    const QUrl local = BrowserUrl(QStringLiteral("/some folder/Help/pic.htm"));
    EXPECT_TRUE(local.isLocalFile());
    EXPECT_EQ(local.toLocalFile(), QStringLiteral("/some folder/Help/pic.htm"));
    const QUrl cyrillic = BrowserUrl(QStringLiteral("/папка/Help/pic.htm"));
    EXPECT_EQ(cyrillic.toLocalFile(), QStringLiteral("/папка/Help/pic.htm"));
    const QString search = QStringLiteral("http://images.example/search?text=%EA%EE%F2&rpt=image");
    const QUrl web = BrowserUrl(search);
    EXPECT_EQ(web.scheme(), QStringLiteral("http"));
    EXPECT_EQ(web.toString(QUrl::FullyEncoded), search) << "the query bytes go out as encoded";
    EXPECT_EQ(BrowserUrl(QStringLiteral("HTTPS://example.org/")).scheme(), QStringLiteral("https"));
    EXPECT_TRUE(BrowserUrl(QStringLiteral("relative/pic.htm")).isLocalFile());
}

TEST(SingleInstance, ASecondLockOnTheSameFileIsRefusedUntilTheFirstGoes) {
    TempDir dir;
    auto first = std::make_unique<TSingleInstance>(dir.Path());
    EXPECT_TRUE(first->Acquire());
    EXPECT_EQ(first->LockPath(), dir / "{260269C0-799C-4D00-BAC7-6D492F2E9068}.lock");
    TSingleInstance second(dir.Path());
    EXPECT_FALSE(second.Acquire());
    first.reset();
    EXPECT_TRUE(second.Acquire());
    // An unusable folder does not keep the program from running.
    TSingleInstance nowhere(dir / "missing");
    EXPECT_TRUE(nowhere.Acquire());
}
