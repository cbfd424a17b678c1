// The code table window, the code test and the dictionary editor, each driven through its
// controls on a small dictionary coded with the Classic table:
//   ум яма 0   оса ось усы 7   жена 10   царь 99   гном 100   гудок 123   ау (no code)
#include "UiFixture.h"

#include "ui_DicEditForm.h"
#include "ui_TableCodeForm.h"
#include "ui_TestForm.h"

#include "code/CodeTableUnit.h"
#include "core/FileUnit.h"
#include "core/SessionUnit.h"
#include "core/TextUnit.h"
#include "dictionary/CodeDictionaryUnit.h"
#include "tools/DicEditFormUnit.h"
#include "tools/TableCodeFormUnit.h"
#include "tools/TestFormUnit.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QStyle>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>

using namespace nb;
using namespace nb::ui;
using namespace nbtest;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;

namespace {

QString Q(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// The code dictionary as the build makes it, for the settings' mode and zero rule.
void BuildCodes(const TStringList& dic, const TWordCoder& coder, const TProgSettings& settings,
                TCodeDictionary& codes) {
    codes.BuildInMemory(dic, coder, settings.Grouping());
}

// Lines of a list file, Windows-1251, CR LF after each.
std::string ListText(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

// A dictionary with its code dictionary, user lists and settings, as the main window
// holds them; the code table window gets a session on the same files.
class ToolData : public ::testing::Test {
protected:
    void SetUp() override {
        WriteFixture(dir, false);
        letters = LoadCodeTables(dir / "Data/Codes.ini").at(0).Letters;
        coder = TWordCoder(letters);
        SetDictionary({"ум", "яма", "оса", "ось", "усы", "жена", "царь", "гном", "гудок", "ау"});
    }
    void SetDictionary(std::initializer_list<const char*> words) {
        std::vector<std::string> items;
        for (const char* w : words)
            items.push_back(W(w));
        dir.Write("Data/dic.lst", ListText(items));
        dic.Assign(std::move(items));
        Rebuild();
    }
    void Rebuild() {
        BuildCodes(dic, coder, settings, codes);
        painting.DicList = &dic;
        painting.Coder = coder;
        painting.Mode = settings.Grouping().Mode;
        painting.LetterColor = 255;
    }
    // A window on a new session of the fixture's files and lists; the fixture's lists are
    // not changed by it (Hided() and Ignored() are the session's).
    std::unique_ptr<TTableCodeForm> TableForm(const std::string& preselect = {}) {
        dir.Write("Data/HidedWord.lst", ListText(hided.Strings()));
        dir.Write("Data/IgnoredCode.lst", ListText(ignored.Strings()));
        sessions.push_back(OpenSession(dir.Path(), &settings));
        painting.DicList = &sessions.back()->DicList();
        return std::make_unique<TTableCodeForm>(*sessions.back(), painting, preselect);
    }
    const TStringList& Hided() const { return sessions.back()->UserLists().HidedWordList; }
    const TStringList& Ignored() const { return sessions.back()->UserLists().IgnoredCodeList; }
    std::unique_ptr<TTestForm> TestForm() {
        return std::make_unique<TTestForm>(dic, hided, ignored, coder, settings, rng);
    }

    TempDir dir;
    TLetterRecArr letters;
    TWordCoder coder;
    TProgSettings settings;
    TStringList dic{TStringList::Kind::Sorted};
    TStringList hided{TStringList::Kind::Sorted};
    TStringList ignored{TStringList::Kind::Sorted};
    TCodeDictionary codes;
    TWordPainting painting;
    std::mt19937 rng{20240607};
    std::vector<std::unique_ptr<TSession>> sessions; // outlive the windows made on them
};

// Types text, Cyrillic included, as key presses with that text.
void Type(QWidget* w, const QString& text) {
    for (const QChar ch : text)
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}

void ShowActive(QWidget* w) {
    w->show();
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
}

// ---- code table window ------------------------------------------------------------------------

std::vector<std::string> Column(const QAbstractItemModel* model, int role = Qt::DisplayRole) {
    std::vector<std::string> texts;
    for (int r = 0; r < model->rowCount(); ++r)
        texts.push_back(model->index(r, 0).data(role).toString().toStdString());
    return texts;
}

std::vector<bool> Checks(const TCheckListModel* model) {
    std::vector<bool> checks;
    for (int r = 0; r < model->RowCount(); ++r)
        checks.push_back(model->Checked(r));
    return checks;
}

void SelectCode(TTableCodeForm& form, const char* code) {
    TCodeListModel* model = form.CodeModel();
    for (int r = 0; r < model->RowCount(); ++r)
        if (model->Code(r) == code) {
            form.Controls()->CodeVirtualDrawTree->setCurrentIndex(model->index(r, 0));
            return;
        }
    ADD_FAILURE() << "no code " << code;
}

// Where a row's check box is drawn, as the style places it.
QPoint CheckBoxCentre(QTreeView* tree, int row) {
    QStyleOptionViewItem opt;
    opt.initFrom(tree);
    opt.rect = tree->visualRect(tree->model()->index(row, 0));
    opt.features = QStyleOptionViewItem::HasCheckIndicator;
    return tree->style()
        ->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &opt, tree)
        .center();
}

std::string WordsOf(const TStringList& dic, const TWordListModel* model) {
    std::string words;
    for (int r = 0; r < model->RowCount(); ++r)
        words += U(dic[static_cast<size_t>(model->Entry(r))]) + " ";
    return words;
}

TEST_F(ToolData, CodesInCodeOrderAndTheWordsOfThePreselectedCode) {
    ignored.Add("99");
    ignored.Add("555");
    auto form = TableForm();
    QAbstractItemModelTester codeTester(form->CodeModel(),
                                        QAbstractItemModelTester::FailureReportingMode::Fatal);
    QAbstractItemModelTester wordTester(form->WordModel(),
                                        QAbstractItemModelTester::FailureReportingMode::Fatal);
    EXPECT_EQ(form->windowTitle(), Q("Таблица кодов"));
    EXPECT_EQ(form->CodeModel()->headerData(0, Qt::Horizontal).toString(), Q("Код"));
    EXPECT_EQ(form->WordModel()->headerData(0, Qt::Horizontal).toString(), Q("Слово"));
    EXPECT_THAT(Column(form->CodeModel()), ElementsAre("0", "7", "10", "99", "100", "123"));
    EXPECT_THAT(Checks(form->CodeModel()), ElementsAre(true, true, true, false, true, true));
    EXPECT_EQ(form->SelectedCode(), "0") << "no code given: the first one";
    EXPECT_EQ(WordsOf(dic, form->WordModel()), "ум яма ");
    EXPECT_EQ(form->WordModel()->index(1, 0).data(kDicIndexRole).toInt(), dic.IndexOf(W("яма")));
    SelectCode(*form, "7");
    EXPECT_EQ(WordsOf(dic, form->WordModel()), "оса ось усы ");
    EXPECT_EQ(Ignored().Count(), 2u) << "opening and selecting touch no list";
    EXPECT_TRUE(Hided().Empty());

    EXPECT_EQ(TableForm("99")->SelectedCode(), "99");
    EXPECT_EQ(TableForm("42")->SelectedCode(), "0");
    SetDictionary({});
    auto empty = TableForm("7");
    EXPECT_EQ(empty->CodeModel()->RowCount(), 0);
    EXPECT_EQ(empty->SelectedCode(), "");
    EXPECT_EQ(empty->WordModel()->RowCount(), 0);
}

TEST_F(ToolData, TheWordsOfEachCodeAreTheEntriesThatAdjustToItInEveryMode) {
    SetDictionary(
        {"ум", "яма", "оса", "жена", "гном", "гудок", "гудки", "дно", "ау", "нос", "мостик"});
    for (const auto& [mode, addNull] :
         {std::pair{0, false}, {1, false}, {1, true}, {2, false}, {2, true}}) {
        settings.VariantMakeType = mode;
        settings.AddNull = addNull;
        Rebuild();
        auto form = TableForm();
        ASSERT_EQ(form->CodeModel()->RowCount(), static_cast<int>(codes.GroupCodeList().Count()));
        for (int r = 0; r < form->CodeModel()->RowCount(); ++r) {
            const std::string code = form->CodeModel()->Code(r);
            form->Controls()->CodeVirtualDrawTree->setCurrentIndex(form->CodeModel()->index(r, 0));
            std::string scan;
            for (size_t i = 0; i < codes.WordCodeList().Count(); ++i)
                if (AdjustCode(codes.WordCodeList()[i], settings.Grouping()) == code)
                    scan += U(dic[static_cast<size_t>(codes.WordCodeList().Object(i))]) + " ";
            EXPECT_EQ(WordsOf(dic, form->WordModel()), scan) << "mode " << mode << " code " << code;
        }
    }
}

TEST_F(ToolData, FamiliarFirstListsTheWordsInTheFilesLineOrder) {
    SetDictionary({"усы", "яма", "оса", "ум", "ось", "яма"}); // яма ranks by its first line
    hided.Add(W("оса"));
    for (const bool familiar : {false, true}) {
        settings.FamiliarFirst = familiar;
        auto form = TableForm("7");
        EXPECT_EQ(WordsOf(dic, form->WordModel()), familiar ? "усы оса ось " : "оса ось усы ");
        const std::vector<bool> checks =
            familiar ? std::vector{true, false, true} : std::vector{false, true, true};
        EXPECT_EQ(Checks(form->WordModel()), checks) << "оса is hidden";
        SelectCode(*form, "0");
        EXPECT_EQ(WordsOf(dic, form->WordModel()), familiar ? "яма ум " : "ум яма ");
    }
}

TEST_F(ToolData, CodeChecksChangeTheIgnoredListOncePerRealChange) {
    auto form = TableForm("7");
    ShowActive(form.get());
    QTreeView* tree = form->Controls()->CodeVirtualDrawTree;
    tree->setFocus();
    std::vector<std::pair<int, bool>> changes;
    QObject::connect(form->CodeModel(), &TCheckListModel::CheckChanged,
                     [&](int row, bool checked) { changes.emplace_back(row, checked); });

    QTest::keyClick(tree, Qt::Key_Space);
    EXPECT_THAT(Ignored().Strings(), ElementsAre("7"));
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, CheckBoxCentre(tree, 1));
    EXPECT_TRUE(Ignored().Empty());
    EXPECT_THAT(changes, ElementsAre(std::pair{1, false}, std::pair{1, true}));
    // Setting the state a row has already is no change.
    form->CodeModel()->setData(form->CodeModel()->index(1, 0), Qt::Checked, Qt::CheckStateRole);
    EXPECT_EQ(changes.size(), 2u);

    // "Отметить все" takes every code shown off the list, and only those.
    for (const char* c : {"7", "99", "555", "05"})
        ignored.Add(c);
    auto again = TableForm();
    EXPECT_THAT(Checks(again->CodeModel()), ElementsAre(true, false, true, false, true, true));
    again->Controls()->SelectAllCodeButton->click();
    EXPECT_THAT(Ignored().Strings(), ElementsAre("05", "555"));
    EXPECT_THAT(Checks(again->CodeModel()), ElementsAre(true, true, true, true, true, true));
}

TEST_F(ToolData, WordMarksAffectTheSelectedCodeOnly) {
    hided.Add(W("ось"));
    auto form = TableForm("7");
    EXPECT_THAT(Checks(form->WordModel()), ElementsAre(true, false, true))
        << "a hidden word opens unchecked";
    form->Controls()->UnSelectButton->click();
    EXPECT_THAT(Hided().Strings(), ElementsAre(W("оса"), W("ось"), W("усы")));
    SelectCode(*form, "0");
    EXPECT_THAT(Checks(form->WordModel()), ElementsAre(true, true));
    SelectCode(*form, "7");
    EXPECT_THAT(Checks(form->WordModel()), ElementsAre(false, false, false)) << "still unchecked";

    form->WordModel()->SetChecked(2, true);
    EXPECT_THAT(Hided().Strings(), ElementsAre(W("оса"), W("ось")));
    form->Controls()->SelectAllButton->click();
    EXPECT_TRUE(Hided().Empty());
}

TEST_F(ToolData, ExportWritesTheTableThroughTheSaveDialog) {
    hided.Add(W("оса"));
    hided.Add(W("гудок"));
    ignored.Add("99");
    auto form = TableForm();
    const std::string target = dir / "export.txt";
    int asked = 0;
    form->AskExportFileName = [&](QWidget*) {
        ++asked;
        return QString::fromStdString(target);
    };
    form->WordModel()->SetChecked(0, false); // ум, while the window is open
    form->Controls()->ExportButton->click();
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(dir.Read("export.txt"),
              W("0\r\n  яма\r\n7\r\n  ось\r\n  усы\r\n10\r\n  жена\r\n99\r\n  царь\r\n"
                "100\r\n  гном\r\n123\r\n"));

    // Cancelled: nothing written.
    form->AskExportFileName = [](QWidget*) { return QString(); };
    dir.Write("export.txt", "old");
    form->Controls()->ExportButton->click();
    EXPECT_EQ(dir.Read("export.txt"), "old");

    // A write that fails is reported with the file's name; the window stays and no list changes.
    ShowActive(form.get());
    form->AskExportFileName = [&](QWidget*) { return QString::fromStdString(target); };
    SetWriteFailureForTesting("export.txt");
    {
        TBoxRecorder boxes;
        form->Controls()->ExportButton->click();
        ASSERT_EQ(boxes.Boxes.size(), 1u);
        EXPECT_EQ(boxes.Boxes[0].Icon, QMessageBox::Critical);
        EXPECT_THAT(boxes.Boxes[0].Text.toStdString(), HasSubstr(target));
    }
    SetWriteFailureForTesting("");
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(dir.Read("export.txt"), "old");
    EXPECT_EQ(Hided().Count(), 3u);

    SetDictionary({});
    auto empty = TableForm();
    empty->AskExportFileName = [&](QWidget*) { return QString::fromStdString(target); };
    empty->Controls()->ExportButton->click();
    EXPECT_EQ(dir.Read("export.txt"), "");
}

// Text is antialiased: its strokes come close to the pen's colour.
bool Near(const QColor& a, const QColor& b) {
    return std::abs(a.red() - b.red()) < 30 && std::abs(a.green() - b.green()) < 30 &&
           std::abs(a.blue() - b.blue()) < 30;
}

// Pixels of a row's text area (right of the check box) in a colour.
int PixelsOfColour(QTreeView* tree, int row, const QColor& colour) {
    const QImage image = tree->viewport()->grab().toImage();
    const QRect rect = tree->visualRect(tree->model()->index(row, 0));
    const int from =
        CheckBoxCentre(tree, row).x() + tree->style()->pixelMetric(QStyle::PM_IndicatorWidth);
    int n = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = from; x <= rect.right(); ++x)
            if (Near(image.pixelColor(x, y), colour)) ++n;
    return n;
}

TEST_F(ToolData, RowsAreDrawnInTheirColours) {
    auto form = TableForm("100");
    ShowActive(form.get());
    QTreeView* codesTree = form->Controls()->CodeVirtualDrawTree;
    QTreeView* wordsTree = form->Controls()->WordVirtualDrawTree;
    const QPalette palette = codesTree->palette();
    const QColor highlightText = palette.color(QPalette::HighlightedText);
    const QColor windowText = palette.color(QPalette::WindowText);
    ASSERT_NE(highlightText, windowText);

    codesTree->setFocus();
    ASSERT_TRUE(codesTree->hasFocus());
    EXPECT_GT(PixelsOfColour(codesTree, 4, highlightText), 5) << "focused row of the focused list";
    EXPECT_EQ(PixelsOfColour(codesTree, 4, windowText), 0);
    EXPECT_GT(PixelsOfColour(codesTree, 5, windowText), 5);
    wordsTree->setFocus();
    EXPECT_GT(PixelsOfColour(codesTree, 4, windowText), 5) << "the list has lost the focus";
    EXPECT_EQ(PixelsOfColour(codesTree, 4, highlightText), 0);

    // Word rows: the key letters of гудок in the letter colour, the first one too: beside
    // the check box, not under it.
    SelectCode(*form, "123");
    codesTree->setFocus();
    const QImage words = wordsTree->viewport()->grab().toImage();
    const QRect row = wordsTree->visualRect(form->WordModel()->index(0, 0));
    const int boxRight = CheckBoxCentre(wordsTree, 0).x() +
                         wordsTree->style()->pixelMetric(QStyle::PM_IndicatorWidth) / 2;
    int redBeside = 0, redUnder = 0;
    for (int y = row.top(); y <= row.bottom(); ++y)
        for (int x = row.left(); x <= row.right(); ++x) {
            const QColor c = words.pixelColor(x, y);
            if (c.red() > 200 && c.green() < 80 && c.blue() < 80)
                ++(x > boxRight ? redBeside : redUnder);
        }
    EXPECT_GT(redBeside, 5);
    EXPECT_EQ(redUnder, 0);
}

TEST_F(ToolData, EscEnterAndTheCloseButtonCloseTheWindow) {
    for (int way = 0; way < 3; ++way) {
        auto form = TableForm();
        ShowActive(form.get());
        if (way == 0) QTest::keyClick(form->Controls()->CodeVirtualDrawTree, Qt::Key_Escape);
        if (way == 1) QTest::keyClick(form->Controls()->CodeVirtualDrawTree, Qt::Key_Return);
        if (way == 2) form->Controls()->CloseButton->click();
        EXPECT_FALSE(form->isVisible()) << "way " << way;
        EXPECT_EQ(form->result(), QDialog::Rejected);
    }
}

// ---- code test ----------------------------------------------------------------------------------

TEST_F(ToolData, NeverAsksAHiddenIgnoredOrCodelessEntry) {
    hided.Add(W("оса"));
    ignored.Add("99");
    auto form = TestForm();
    ASSERT_TRUE(form->BeginTest(QString()));
    std::set<std::string> asked;
    for (int i = 0; i < 600; ++i) {
        form->Controls()->NextWordButton->click();
        const std::string word = form->CurrentWord();
        asked.insert(U(word));
        ASSERT_EQ(form->ExpectedCode(), coder.WordToCode(word));
        ASSERT_EQ(form->Controls()->WordEdit->text(), QString::fromStdString(U(word)));
        ASSERT_EQ(form->Controls()->CodeEdit->text(),
                  QString(static_cast<qsizetype>(form->ExpectedCode().size()), QLatin1Char('?')));
    }
    EXPECT_EQ(asked, (std::set<std::string>{"ум", "яма", "ось", "усы", "жена", "гном", "гудок"}));

    // The expected code is the group code: two digits of гудок (123); нос (07) has none.
    settings.VariantMakeType = static_cast<int32_t>(TGroupingMode::TwoDigits);
    SetDictionary({"гудок", "нос"});
    auto twoDigits = TestForm();
    ASSERT_TRUE(twoDigits->BeginTest(QString()));
    for (int i = 0; i < 20; ++i) {
        twoDigits->NextWord();
        ASSERT_EQ(twoDigits->ExpectedCode(), "12");
        ASSERT_EQ(twoDigits->Controls()->CodeEdit->text(), QStringLiteral("??"));
    }
}

TEST_F(ToolData, TheCodeFieldTurnsGreenExactlyOnTheRightDigits) {
    SetDictionary({"гудок"});
    auto form = TestForm();
    ASSERT_TRUE(form->BeginTest(QString()));
    ShowActive(form.get());
    QLineEdit* edit = form->Controls()->CodeEdit;
    const QColor green(0, 128, 0), red(255, 0, 0);
    auto colour = [&] { return edit->palette().color(QPalette::Text); };
    EXPECT_EQ(edit->text(), QStringLiteral("???"));
    EXPECT_EQ(colour(), red);
    EXPECT_TRUE(edit->hasFocus());
    EXPECT_EQ(edit->selectedText(), QStringLiteral("???"));
    QTest::keyClick(edit, Qt::Key_1);
    EXPECT_EQ(edit->text(), QStringLiteral("1")) << "the first digit replaces the marks";
    EXPECT_EQ(colour(), red);
    QTest::keyClicks(edit, QStringLiteral("23"));
    EXPECT_EQ(colour(), green);
    QTest::keyClick(edit, Qt::Key_4);
    EXPECT_EQ(colour(), red);
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(colour(), green);
    for (const char* text : {" 123", "123  ", "\t123 "}) {
        edit->setText(Q(text));
        EXPECT_EQ(colour(), green) << text;
    }
    for (const char* text : {"1 23", "12 3", "12", "0123", ""}) {
        edit->setText(Q(text));
        EXPECT_EQ(colour(), red) << text;
    }
}

TEST_F(ToolData, QuestionMarkThenEnterMovesOnWithTheMarksSelected) {
    auto form = TestForm();
    ASSERT_TRUE(form->BeginTest(QString()));
    ShowActive(form.get());
    QLineEdit* edit = form->Controls()->CodeEdit;
    QTest::mouseClick(form->Controls()->HelpButton, Qt::LeftButton);
    const QString code = QString::fromStdString(form->ExpectedCode());
    EXPECT_EQ(edit->text(), code);
    EXPECT_EQ(edit->palette().color(QPalette::Text), QColor(0, 128, 0));
    EXPECT_TRUE(edit->hasFocus());
    EXPECT_EQ(edit->selectedText(), code);

    int asked = 0;
    QObject::connect(form->Controls()->NextWordButton, &QPushButton::clicked, [&] { ++asked; });
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(form->isVisible()) << "Enter is no default button";
    const QString marks(static_cast<qsizetype>(form->ExpectedCode().size()), QLatin1Char('?'));
    EXPECT_EQ(edit->text(), marks);
    EXPECT_TRUE(edit->hasFocus());
    EXPECT_EQ(edit->selectedText(), marks);
    EXPECT_EQ(edit->palette().color(QPalette::Text), QColor(255, 0, 0));

    // Focus from anywhere but a mouse click selects the field's text.
    edit->setText(QStringLiteral("77"));
    form->Controls()->NextWordButton->setFocus();
    edit->setFocus();
    EXPECT_EQ(edit->selectedText(), QStringLiteral("77"));
    form->Controls()->NextWordButton->setFocus();
    QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(2, edit->height() / 2));
    EXPECT_TRUE(edit->hasFocus());
    EXPECT_EQ(edit->selectedText(), QString());
}

TEST_F(ToolData, WithNothingToAskTheTestSaysSoAndIsNotShown) {
    for (const char* w : {"ум", "яма", "оса", "ось", "усы", "жена", "гном", "гудок"})
        hided.Add(W(w));
    ignored.Add("99");
    for (bool emptyDictionary : {false, true}) {
        if (emptyDictionary) SetDictionary({});
        auto form = TestForm();
        TBoxRecorder boxes;
        EXPECT_FALSE(form->StartTest(QString()));
        ASSERT_EQ(boxes.Boxes.size(), 1u);
        EXPECT_EQ(boxes.Boxes[0].Title, Q("Тестирование запоминания кода"));
        EXPECT_FALSE(form->isVisible());
        EXPECT_EQ(form->CurrentWord(), "");
    }
}

TEST_F(ToolData, StartTestRunsTheDialogWithTheHintOnRequest) {
    auto form = TestForm();
    QLabel* strip = form->Controls()->CodeHelpPanel;
    QCheckBox* box = form->Controls()->ShowCodeHelpCheckBox;
    std::vector<std::string> strips;
    QTimer::singleShot(0, form.get(), [&] {
        EXPECT_TRUE(form->isVisible() && form->isModal());
        EXPECT_FALSE(box->isChecked());
        strips.push_back(strip->text().toStdString());
        box->click();
        strips.push_back(strip->text().toStdString());
        box->click();
        strips.push_back(strip->text().toStdString());
        form->Controls()->CloseButton->click();
    });
    EXPECT_TRUE(form->StartTest(Q("0 - нм     1 - гж     2 - дт")));
    EXPECT_THAT(strips, ElementsAre("", "0 - нм  1 - гж  2 - дт", ""));
    EXPECT_FALSE(form->CurrentWord().empty());
}

// ---- dictionary editor --------------------------------------------------------------------------

class DicEdit : public ToolData {
protected:
    std::unique_ptr<TDicEditForm> Form(const char* fileUtf8) {
        dir.Write("Data/dic.lst", W(fileUtf8));
        auto form = std::make_unique<TDicEditForm>(coder, settings);
        EXPECT_TRUE(form->LoadDictionaryFile(dir / "Data/dic.lst"));
        return form;
    }
    QPlainTextEdit* Memo(TDicEditForm& form) { return form.Controls()->Memo; }
    std::string Strip(TDicEditForm& form) {
        return form.Controls()->HelpPanel->text().toStdString();
    }
    void Caret(TDicEditForm& form, int line, int column, int anchorLine = -1,
               int anchorColumn = 0) {
        QTextDocument* doc = Memo(form)->document();
        QTextCursor c(doc);
        if (anchorLine >= 0)
            c.setPosition(doc->findBlockByNumber(anchorLine).position() + anchorColumn);
        c.setPosition(doc->findBlockByNumber(line).position() + column,
                      anchorLine >= 0 ? QTextCursor::KeepAnchor : QTextCursor::MoveAnchor);
        Memo(form)->setTextCursor(c);
    }
};

TEST_F(DicEdit, TheStripShowsTheCodeOfTheLineUnderTheCaret) {
    auto form = Form("гном\r\nгнет тот\r\n\r\n   \r\nау\r\n гудок \r\n");
    ShowActive(form.get());
    EXPECT_EQ(form->windowTitle(), Q("Редактор словаря"));
    EXPECT_TRUE(Memo(*form)->hasFocus());
    EXPECT_EQ(Strip(*form), "гном: 100") << "on show, caret at the start";
    QPlainTextEdit* memo = Memo(*form);

    QTest::keyClick(memo, Qt::Key_End);
    EXPECT_EQ(Strip(*form), "гном: 100") << "at the line's end";
    const std::string phrase = "гнет тот: 122"; // the first word of a phrase gives one digit
    QTest::keyClick(memo, Qt::Key_Down);
    EXPECT_EQ(Strip(*form), phrase);
    QTest::keyClick(memo, Qt::Key_Down);
    EXPECT_EQ(Strip(*form), "?");
    QTest::keyClick(memo, Qt::Key_Down);
    EXPECT_EQ(Strip(*form), "?") << "blanks only";
    QTest::keyClick(memo, Qt::Key_Down);
    EXPECT_EQ(Strip(*form), "ау: ?");
    QTest::keyClick(memo, Qt::Key_Down);
    EXPECT_EQ(Strip(*form), " гудок : 123") << "the line as it stands, blanks kept";

    // A selection over several lines: the line where it ends, whichever way it was made.
    Caret(*form, 1, 2, 0, 1);
    QTest::keyClick(memo, Qt::Key_Shift);
    EXPECT_EQ(Strip(*form), phrase);
    Caret(*form, 0, 1, 5, 3);
    QTest::keyClick(memo, Qt::Key_Shift);
    EXPECT_EQ(Strip(*form), " гудок : 123");

    // A mouse click moves the caret and the strip follows.
    const QRect line0 = memo->cursorRect(QTextCursor(memo->document()->findBlockByNumber(0)));
    QTest::mouseClick(memo->viewport(), Qt::LeftButton, {}, line0.center() + QPoint(10, 0));
    EXPECT_EQ(Strip(*form), "гном: 100");
}

TEST_F(DicEdit, CtrlFAndF3FindTheTextWhateverItsCaseAndGoRoundTheEnd) {
    auto form = Form("ёж\r\nКот\r\nкашалот\r\nдом\r\nскот\r\n");
    ShowActive(form.get());
    QPlainTextEdit* memo = Memo(*form);
    std::vector<QString> offered;
    QString answer = Q("КОТ");
    form->AskSearchText = [&](QWidget*, const QString& last) {
        offered.push_back(last);
        return answer;
    };
    auto selected = [&] {
        const QTextCursor c = memo->textCursor();
        return std::pair(c.blockNumber(), c.selectedText());
    };
    Caret(*form, 3, 0);
    QTest::keyClick(memo, Qt::Key_F3); // nothing searched yet: asks first
    EXPECT_EQ(selected(), std::pair(4, Q("кот")));
    EXPECT_EQ(Strip(*form), "скот: 732") << "the strip follows the found line";
    QTest::keyClick(memo, Qt::Key_F3);
    EXPECT_EQ(selected(), std::pair(1, Q("Кот"))) << "on from the top";
    QTest::keyClick(memo, Qt::Key_F3);
    EXPECT_EQ(selected(), std::pair(4, Q("кот")));
    EXPECT_EQ(offered, (std::vector<QString>{QString()}));

    answer = Q("ЁЖ");
    QTest::keyClick(memo, Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(selected(), std::pair(0, Q("ёж")));
    EXPECT_EQ(offered.back(), Q("КОТ")) << "the last text is offered";

    nbtest::TBoxRecorder boxes;
    answer = Q("кит");
    QTest::keyClick(memo, Qt::Key_F, Qt::ControlModifier);
    ASSERT_EQ(boxes.Boxes.size(), 1u);
    EXPECT_EQ(boxes.Boxes[0].Text, Q("Текст \"кит\" не найден."));
    EXPECT_EQ(selected(), std::pair(0, Q("ёж"))) << "the caret stays";
    answer.clear(); // cancelled
    QTest::keyClick(memo, Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(boxes.Boxes.size(), 1u);
    EXPECT_EQ(memo->toPlainText(), Q("ёж\nКот\nкашалот\nдом\nскот\n"));
}

TEST_F(DicEdit, EnterAndEscBelongToTheTextAreaWhileItHasTheFocus) {
    auto form = Form("кот\r\n");
    ShowActive(form.get());
    QPlainTextEdit* memo = Memo(*form);
    QTest::keyClick(memo, Qt::Key_End);
    QTest::keyClick(memo, Qt::Key_Return);
    QTest::keyClick(memo, Qt::Key_Escape);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(memo->toPlainText(), Q("кот\n\n"));
    form->Controls()->CancelButton->setFocus();
    QTest::keyClick(form->Controls()->CancelButton, Qt::Key_Escape);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->result(), QDialog::Rejected);
}

TEST_F(DicEdit, OkGivesTheTextExactlyAsItStandsAndCancelChangesNothing) {
    const char* file = "пуд\r\nбот\r\n\r\nбот\r\nКот";
    auto form = Form(file);
    EXPECT_EQ(form->DictionaryBytes(), W("пуд\r\nбот\r\n\r\nбот\r\nКот\r\n"))
        << "the last line gets its break";
    ShowActive(form.get());
    QTest::keyClick(Memo(*form), Qt::Key_End, Qt::ControlModifier);
    Type(Memo(*form), Q("ах"));
    form->Controls()->OKButton->click();
    EXPECT_EQ(form->result(), QDialog::Accepted);
    EXPECT_EQ(form->DictionaryBytes(), W("пуд\r\nбот\r\n\r\nбот\r\nКот\r\nах\r\n"));

    auto cancelled = Form(file);
    ShowActive(cancelled.get());
    Type(Memo(*cancelled), Q("ёж"));
    cancelled->Controls()->CancelButton->click();
    EXPECT_EQ(cancelled->result(), QDialog::Rejected);
    EXPECT_EQ(dir.Read("Data/dic.lst"), W(file));
}

TEST_F(DicEdit, CharactersOutsideTheCodePageAreNotDroppedSilently) {
    auto form = Form("кот\r\n");
    ShowActive(form.get());
    QTest::keyClick(Memo(*form), Qt::Key_End, Qt::ControlModifier);
    Memo(*form)->insertPlainText(Q("дом ☃\nлес"));
    int saves = 0;
    form->AskSaveFileName = [&](QWidget*) {
        ++saves;
        return QString::fromStdString(dir / "out.txt");
    };
    TBoxRecorder boxes;
    form->Controls()->OKButton->click();
    EXPECT_TRUE(form->isVisible()) << "OK refused";
    ASSERT_EQ(boxes.Boxes.size(), 1u);
    EXPECT_EQ(boxes.Boxes[0].Icon, QMessageBox::Warning);
    EXPECT_THAT(boxes.Boxes[0].Text.toStdString(), HasSubstr("☃"));
    EXPECT_THAT(boxes.Boxes[0].Text.toStdString(), HasSubstr("2603"));
    EXPECT_EQ(Memo(*form)->textCursor().selectedText(), Q("☃")) << "the caret is put on it";
    form->Controls()->SaveButton->click();
    EXPECT_EQ(boxes.Boxes.size(), 2u);
    EXPECT_EQ(saves, 0);
    EXPECT_FALSE(dir.Exists("out.txt"));

    Memo(*form)->textCursor().removeSelectedText();
    form->Controls()->SaveButton->click();
    EXPECT_EQ(dir.Read("out.txt"), W("кот\r\nдом \r\nлес\r\n"));
    form->Controls()->OKButton->click();
    EXPECT_EQ(form->result(), QDialog::Accepted);
    EXPECT_EQ(boxes.Boxes.size(), 2u);
}

TEST_F(DicEdit, LoadConvertsUtf8AndFailuresLeaveTheTextAsItWas) {
    auto form = Form("кот\r\n");
    std::string chosen;
    form->AskLoadFileName = [&](QWidget*) { return QString::fromStdString(chosen); };
    dir.Write("utf8.txt", "ёж\r\nдом ☃ 😀\r\nлес");
    chosen = dir / "utf8.txt";
    {
        TBoxRecorder boxes;
        form->Controls()->LoadButton->click();
        ASSERT_EQ(boxes.Boxes.size(), 1u);
        EXPECT_THAT(boxes.Boxes[0].Text.toStdString(), HasSubstr(": 2."));
        EXPECT_THAT(boxes.Boxes[0].Text.toStdString(), HasSubstr("☃"));
    }
    EXPECT_EQ(Memo(*form)->toPlainText(), Q("ёж\nдом ? ?\nлес\n"));

    dir.Write("cp1251.txt", W("ёж\r\nлес\r\n"));
    chosen = dir / "cp1251.txt";
    form->Controls()->LoadButton->click();
    EXPECT_EQ(Memo(*form)->toPlainText(), Q("ёж\nлес\n"));
    EXPECT_EQ(form->DictionaryBytes(), W("ёж\r\nлес\r\n"));

    chosen.clear(); // cancelled
    form->Controls()->LoadButton->click();
    EXPECT_EQ(Memo(*form)->toPlainText(), Q("ёж\nлес\n"));

    // Failures are reported and the text stays.
    chosen = dir / "missing.txt";
    form->AskSaveFileName = [&](QWidget*) { return QString::fromStdString(dir / "saved.txt"); };
    TBoxRecorder boxes;
    form->Controls()->LoadButton->click();
    ASSERT_EQ(boxes.Boxes.size(), 1u);
    EXPECT_EQ(boxes.Boxes[0].Icon, QMessageBox::Critical);
    EXPECT_THAT(boxes.Boxes[0].Text.toStdString(), HasSubstr("missing.txt"));
    SetWriteFailureForTesting("saved.txt");
    form->Controls()->SaveButton->click();
    SetWriteFailureForTesting("");
    ASSERT_EQ(boxes.Boxes.size(), 2u);
    EXPECT_THAT(boxes.Boxes[1].Text.toStdString(), HasSubstr("saved.txt"));
    EXPECT_FALSE(dir.Exists("saved.txt"));
    EXPECT_EQ(Memo(*form)->toPlainText(), Q("ёж\nлес\n"));

    // The dictionary itself cannot be read: reported, and the caller does not show the dialog.
    TDicEditForm unreadable(coder, settings);
    EXPECT_FALSE(unreadable.LoadDictionaryFile(dir / "Data/none.lst"));
    EXPECT_EQ(boxes.Boxes.size(), 3u);
}

// ---- the shipped data ---------------------------------------------------------------------------

// The three windows on the shipped dictionary and Classic table. With
// NUMBRELIA_SCREENSHOT_DIR set, each window is also saved there as a PNG.
TEST(ShippedData, TheWindowsOpenOnTheRealDictionary) {
    const std::string data = NUMBRELIA_DATA_DIR;
    const TCodeRecArr tables = LoadCodeTables(data + "/Data/Codes.ini");
    ASSERT_FALSE(tables.empty());
    TStringList dic(TStringList::Kind::Sorted);
    dic.LoadFromFile(data + "/Data/dic.lst");
    ASSERT_GT(dic.Count(), 4000u);
    const TWordCoder coder(tables[0].Letters);
    TProgSettings settings;
    TStringList hided(TStringList::Kind::Sorted), ignored(TStringList::Kind::Sorted);
    TempDir folder;
    folder.Write("Data/Codes.ini", ReadWholeFile(data + "/Data/Codes.ini"));
    folder.Write("Data/dic.lst", ReadWholeFile(data + "/Data/dic.lst"));
    const std::unique_ptr<TSession> session = OpenSession(folder.Path(), &settings);
    TWordPainting painting{&session->DicList(), coder, settings.Grouping().Mode, settings.LetterColor};
    const QString shots = qEnvironmentVariable("NUMBRELIA_SCREENSHOT_DIR");
    auto save = [&](QWidget& w, const char* name) {
        if (!shots.isEmpty()) {
            EXPECT_TRUE(w.grab().save(shots + QLatin1Char('/') + QLatin1String(name)));
        }
    };

    TTableCodeForm table(*session, painting, "52");
    EXPECT_EQ(table.SelectedCode(), "52");
    EXPECT_GT(table.WordModel()->RowCount(), 0);
    ShowActive(&table);
    table.WordModel()->SetChecked(1, false);
    save(table, "table-code-window.png");
    table.close();

    std::mt19937 rng(7);
    TTestForm test(dic, hided, ignored, coder, settings, rng);
    ASSERT_TRUE(
        test.BeginTest(QString::fromStdU16String(Cp1251ToUtf16(CodeHintText(tables[0].Letters)))));
    ShowActive(&test);
    test.Controls()->ShowCodeHelpCheckBox->click();
    QTest::keyClicks(test.Controls()->CodeEdit, QString::fromStdString(test.ExpectedCode()));
    EXPECT_EQ(test.Controls()->CodeEdit->palette().color(QPalette::Text), QColor(0, 128, 0));
    EXPECT_LE(test.Controls()->CodeHelpPanel->fontMetrics().horizontalAdvance(test.HintText()),
              test.Controls()->CodeHelpPanel->contentsRect().width())
        << "the whole hint fits on its strip";
    save(test, "test-window.png");
    test.close();

    TDicEditForm edit(coder, settings);
    ASSERT_TRUE(edit.LoadDictionaryFile(data + "/Data/dic.lst"));
    EXPECT_EQ(edit.DictionaryBytes(), ReadWholeFile(data + "/Data/dic.lst"))
        << "unchanged text, same bytes";
    if (!shots.isEmpty())
        edit.Controls()->HelpWebBrowser->Navigate(
            QString::fromStdString(data + "/Help/EditHelp.htm"));
    ShowActive(&edit);
    QTest::keyClick(edit.Controls()->Memo, Qt::Key_Down);
    QTest::keyClick(edit.Controls()->Memo, Qt::Key_Down);
    if (!shots.isEmpty())
        (void)QTest::qWaitFor([&] { return edit.Controls()->HelpWebBrowser->ReadyState() == 4; },
                              30000);
    QTest::qWait(shots.isEmpty() ? 0 : 1500);
    save(edit, "dic-edit-window.png");
    edit.close();
}

} // namespace
