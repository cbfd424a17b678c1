// Long numbers in pieces: the cut and its boundary moves, notebook_pieces.txt, and what the
// session keeps of the pieces when the entry is remembered again, deleted or hand-edited.
#include "TestUtil.h"

#include "core/FileUnit.h"
#include "notebook/PieceCardsUnit.h"
#include "notebook/PiecesUnit.h"

#include <gtest/gtest.h>

using namespace nb;
using namespace nbtest;

TEST(Pieces, SplitIsEvenAndNeverOverN) {
    EXPECT_TRUE(SplitPieces(3, 3).empty()) << "a phrase that fits one piece is not cut";
    EXPECT_TRUE(SplitPieces(40, 0).empty()) << "0 is off";
    EXPECT_EQ(SplitPieces(4, 3), (std::vector<int32_t>{2, 2}));
    EXPECT_EQ(SplitPieces(10, 3), (std::vector<int32_t>{3, 3, 2, 2}));
    for (int32_t n = kMinPieceWords; n <= kMaxPieceWords; ++n)
        for (size_t groups = static_cast<size_t>(n) + 1; groups < 60; ++groups) {
            const auto sizes = SplitPieces(groups, n);
            ASSERT_TRUE(SizesFit(sizes, groups)) << groups << " by " << n;
            EXPECT_EQ(sizes.size(), (groups + n - 1) / n) << "as few pieces as N allows";
            for (int32_t s : sizes) EXPECT_TRUE(s <= n && s >= sizes.front() - 1) << SizesText(sizes);
        }
}

TEST(Pieces, BoundaryMovesNeverEmptyAPieceNorPassTwiceN) {
    std::vector<int32_t> sizes{2, 2, 1};
    EXPECT_FALSE(MoveBoundary(sizes, 1, +1, 2)) << "the last piece would be empty";
    EXPECT_TRUE(MoveBoundary(sizes, 1, -1, 2));
    EXPECT_EQ(sizes, (std::vector<int32_t>{2, 1, 2}));
    EXPECT_FALSE(MoveBoundary(sizes, 2, +1, 2)) << "no boundary after the last piece";
    EXPECT_TRUE(MoveBoundary(sizes, 0, -1, 2));
    EXPECT_FALSE(MoveBoundary(sizes, 0, -1, 2)) << "the first piece keeps a group";
    sizes = {4, 1, 3};
    EXPECT_FALSE(MoveBoundary(sizes, 0, +1, 2)) << "4 is 2N already";
    EXPECT_TRUE(MoveBoundary(sizes, 0, -1, 2));
    EXPECT_EQ(sizes, (std::vector<int32_t>{3, 2, 3}));
    EXPECT_EQ(PieceOfColumn(sizes, 0), 0);
    EXPECT_EQ(PieceOfColumn(sizes, 4), 1);
    EXPECT_EQ(PieceOfColumn(sizes, 5), 2);
    EXPECT_EQ(PieceOfColumn(sizes, 8), -1);
    const auto pieces = MakePieces({"31", "41", "59", "26"}, {"a", "b", "c", "d"}, {3, 1}, {W("дверь")});
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[0].Digits, "314159");
    EXPECT_EQ(pieces[0].Words, (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(pieces[0].Note, W("дверь"));
    EXPECT_EQ(pieces[1].Groups, std::vector<std::string>{"26"});
    EXPECT_EQ(pieces[1].Note, "");
}

TEST(Pieces, FileRoundTripKeepsWhatItCannotReadAndDropsWhatNoLongerFits) {
    TempDir dir;
    const std::string entry = W("31-41-59,кот,гном,пуля");
    // A BOM, a zero byte, a bad line, a repeated key, and a line whose words were changed.
    dir.Write("p.txt", std::string("\xEF\xBB\xBF") + "314159\t2-1\t" + W("дверь") + std::string("\0", 1) +
                           "\t\t" + entry + "\r\nnonsense line\r\n314159\t1-2\t\t\t" + entry +
                           "\n2718\t1-1\ta\tb\t27-18,x,y\r");
    TPiecesList list;
    LoadPieces(list, dir / "p.txt");
    ASSERT_EQ(list.Lines().size(), 4u);
    const TPiecesRec* rec = list.Find("314159", entry);
    ASSERT_NE(rec, nullptr);
    EXPECT_EQ(rec->Sizes, (std::vector<int32_t>{2, 1}));
    EXPECT_EQ(rec->Notes, (std::vector<std::string>{W("дверь"), ""})) << "the zero byte is dropped";
    EXPECT_EQ(list.Find("314159", W("31-41-59,кот,гном,пила")), nullptr) << "words changed by hand: plain";
    EXPECT_EQ(list.Find("314159", W("3141-59,кот,пуля")), nullptr);
    EXPECT_FALSE(list.Lines()[1].Good);
    EXPECT_FALSE(list.Lines()[2].Good) << "a repeated key is not taken";

    TStringList entries(TStringList::Kind::Plain);
    entries.SetText("314159=" + entry + "\r\n2718=27-18,x,z\r\n");
    EXPECT_TRUE(list.Sync(entries)) << "2718's words changed";
    SavePieces(list, dir / "p.txt");
    EXPECT_EQ(dir.Read("p.txt"), "314159\t2-1\t" + W("дверь") + "\t\t" + entry +
                                     "\r\nnonsense line\r\n314159\t1-2\t\t\t" + entry + "\r\n");

    // A new cut replaces every line of its key, the one not understood included.
    list.Set({"314159", {1, 2}, {"a\tb", "c"}, entry});
    EXPECT_EQ(list.Text(), "314159\t1-2\ta b\tc\t" + entry + "\r\nnonsense line\r\n");
    EXPECT_TRUE(list.Remove("314159"));
    EXPECT_EQ(list.Text(), "nonsense line\r\n");
}

TEST(Pieces, SessionStoresThemBesideTheEntryAndForgetsThemWithIt) {
    TempDir dir;
    WriteFixture(dir);
    auto session = OpenSession(dir.Path());
    const std::string variant = "5-2-7-0-56-3";
    const std::vector<std::string> words{W("боа"), W("ад"), W("оса"), W("ум"), W("пол"), W("ухо")};
    EXPECT_TRUE(session->PieceSizes(variant).empty()) << "off by default";
    EXPECT_EQ(session->PieceSizes(variant, 4), (std::vector<int32_t>{3, 3}));
    EXPECT_THROW(session->Remember(variant, words, "", {3, 2}, {}), EError);

    EXPECT_TRUE(session->Remember(variant, words, W("пи"), {2, 4}, {W("дверь"), W("кухня")}).empty());
    EXPECT_EQ(dir.Read("notebook.txt"), W("5270563=5-2-7-0-56-3,боа,ад,оса,ум,пол,ухо\r\n"))
        << "the entry is one plain line as always";
    EXPECT_EQ(session->PieceSizes(variant, 3), (std::vector<int32_t>{2, 4})) << "the remembered cut wins";
    EXPECT_TRUE(session->PieceSizes("5-2-70-56-3", 2).size() == 3) << "another variant of the number";

    auto reopened = OpenSession(dir.Path());
    EXPECT_EQ(reopened->PieceNotes(variant), (std::vector<std::string>{W("дверь"), W("кухня")}));

    // Remembered plain: its pieces go.
    EXPECT_TRUE(reopened->Remember(variant, words, "").empty());
    EXPECT_EQ(reopened->StoredPieces("5270563"), nullptr);
    EXPECT_EQ(dir.Read("notebook_pieces.txt"), "");

    // Deleted: they go with it.
    reopened->Remember(variant, words, "", {3, 3}, {"", "x"});
    EXPECT_NE(dir.Read("notebook_pieces.txt"), "");
    reopened->DeleteNotebookEntry("5270563");
    EXPECT_EQ(dir.Read("notebook_pieces.txt"), "");

    // Words changed by hand: read as plain, and the stale line is dropped at shut-down.
    reopened->Remember(variant, words, "", {3, 3}, {"", "x"});
    dir.Write("notebook.txt", W("5270563=5-2-7-0-56-3,боа,ад,оса,ум,пол,хохот\r\n"));
    auto edited = OpenSession(dir.Path());
    EXPECT_EQ(edited->StoredPieces("5270563"), nullptr);
    EXPECT_EQ(edited->PieceSizes(variant).size(), 0u);
    edited->Save();
    EXPECT_EQ(dir.Read("notebook_pieces.txt"), "");
}

TEST(PieceCards, AJourneyGivesTwoCardsAPieceWithTheirCues) {
    TStringList entries(TStringList::Kind::Plain), notes(TStringList::Kind::Plain);
    const std::string value = W("31-41-59-26,кот,гном,пуля,таз");
    entries.SetText("2=2,x\r\n31415926=" + value + "\r\n5=\r\n");
    notes.SetText(W("31415926=пи\r\n"));
    TPiecesList pieces;
    pieces.Set({"31415926", {2, 1, 1}, {W("дверь"), "", W("кухня")}, value});

    const auto sources = CardSources(entries, pieces);
    ASSERT_EQ(sources.size(), 4u) << "an entry without words gives no card";
    EXPECT_EQ(sources[0].Key, "2");
    EXPECT_EQ(sources[1].Key, "31415926#1");
    EXPECT_EQ(sources[3].Key, "31415926#3");
    EXPECT_EQ(sources[1].Source, value + "#2-1-1");

    auto first = CardFace(entries, notes, pieces, "31415926#1");
    ASSERT_TRUE(first);
    EXPECT_EQ(first->Digits, "3141");
    EXPECT_EQ(first->Words, (std::vector<std::string>{W("кот"), W("гном")}));
    EXPECT_EQ(first->PlaceNote, W("дверь"));
    EXPECT_EQ(first->EntryNote, W("пи")) << "the first piece's cue";
    EXPECT_TRUE(first->PreviousDigits.empty());
    auto second = CardFace(entries, notes, pieces, "31415926#2");
    ASSERT_TRUE(second);
    EXPECT_EQ(second->Digits, "59");
    EXPECT_EQ(second->PreviousDigits, "3141");
    EXPECT_EQ(second->PreviousWords, first->Words);
    EXPECT_EQ(second->Journey.size(), 3u);
    EXPECT_EQ(second->Journey[2], "3. 26 \x97 " + W("таз (кухня)"));
    EXPECT_FALSE(CardFace(entries, notes, pieces, "31415926#4"));
    EXPECT_FALSE(IsCardKey("31415926#0"));
    EXPECT_FALSE(IsCardKey("#1"));
    EXPECT_EQ(CardFace(entries, notes, pieces, "2")->Words, std::vector<std::string>{"x"});

    // Another cut: the same keys, another source (the cards start afresh).
    pieces.Set({"31415926", {1, 3}, {}, value});
    EXPECT_EQ(CardSources(entries, pieces)[1].Source, value + "#1-3");
    EXPECT_EQ(CardSources(entries, pieces).size(), 3u);
    // Words changed by hand: one plain pair of cards again.
    entries.SetText("31415926=" + W("31-41-59-26,кот,гном,пуля,тазик") + "\r\n");
    ASSERT_EQ(CardSources(entries, pieces).size(), 1u);
    EXPECT_EQ(CardSources(entries, pieces)[0].Key, "31415926");
    EXPECT_FALSE(CardFace(entries, notes, pieces, "31415926#1"));
    // Remembered plain or deleted: the pieces go, and so their cards.
    entries.SetText("31415926=" + value + "\r\n");
    pieces.Remove("31415926");
    EXPECT_EQ(CardSources(entries, pieces)[0].Key, "31415926");
    entries.SetText("");
    EXPECT_TRUE(CardSources(entries, pieces).empty());
}
