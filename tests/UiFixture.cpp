#include "UiFixture.h"

#include "ui_MainForm.h"

#include "encoding/VariantsModel.h"
#include "encoding/WordsView.h"
#include "resources/ResStrUnit.h"

#include <QTest>
#include <gtest/gtest.h>

namespace nbtest {

void WriteFixture(const TempDir& dir, bool withDictionary) {
    dir.Write("Data/Codes.ini",
              W("[Classic]\r\nName=Классический\r\n0=н,м\r\n1=г,ж\r\n2=д,т\r\n3=к,х\r\n4=ч,щ\r\n"
                "5=п,б\r\n6=ш,л\r\n7=с,з\r\n8=в,ф\r\n9=р,ц\r\n\r\n"
                "[Major]\r\nName=Фонетический\r\n0=з,с\r\n1=т,д\r\n2=н\r\n3=м\r\n4=р\r\n5=л\r\n"
                "6=ж,ш,ч,щ\r\n7=к,г\r\n8=ф,в\r\n9=п,б\r\n"));
    if (withDictionary)
        dir.Write("Data/dic.lst", W("боа\r\nад\r\nоса\r\nум\r\nпол\r\nухо\r\nбот\r\nпуд\r\nсон\r\n"
                                    "пешка\r\nпшик\r\nвор\r\nау\r\n"));
}

bool WaitIdle(const nb::ui::TMainForm& form, int timeoutMs) {
    const QString idle = QString::fromUtf8(nb::res::kIdlePrompt);
    return QTest::qWaitFor([&] { return !form.Busy() && form.StatusText() == idle; }, timeoutMs);
}

std::unique_ptr<nb::ui::TMainForm> StartForm(const TempDir& dir) {
    auto form = std::make_unique<nb::ui::TMainForm>(dir.Path());
    form->show();
    if (!WaitIdle(*form)) return nullptr;
    return form;
}

TBoxRecorder::TBoxRecorder() {
    nb::ui::TMessageBox::SetAnswererForTesting([this](const nb::ui::TMessage& m) {
        Boxes.push_back(m);
        return Answer;
    });
}

TBoxRecorder::~TBoxRecorder() { FailOnMessageBoxes(); }

void FailOnMessageBoxes() {
    nb::ui::TMessageBox::SetAnswererForTesting([](const nb::ui::TMessage& m) {
        ADD_FAILURE() << "unexpected message box \"" << m.Title.toStdString() << "\": "
                      << m.Text.toStdString();
        return QMessageBox::Ok;
    });
}

std::vector<std::string> VisibleWords(const nb::ui::TMainForm& form, size_t column) {
    const nb::ui::TWordTree* tree = form.Controls()->WordsPanel->WordTrees().at(column);
    std::vector<std::string> words;
    for (int r = 0; r < tree->model()->rowCount(); ++r)
        if (tree->IsRowVisible(r)) words.push_back(tree->model()->index(r, 0).data().toString().toStdString());
    return words;
}

std::vector<std::string> FocusedWords(const nb::ui::TMainForm& form) {
    std::vector<std::string> words;
    for (const nb::ui::TWordTree* tree : form.Controls()->WordsPanel->WordTrees())
        words.push_back(tree->currentIndex().data().toString().toStdString());
    return words;
}

std::vector<std::string> VariantRows(const nb::ui::TMainForm& form) {
    std::vector<std::string> rows;
    const nb::ui::TVariantsModel* model = form.VariantsModel();
    for (int r = 0; r < model->RowCount(); ++r) rows.push_back(model->Row(r).Variant);
    return rows;
}

} // namespace nbtest
