#include "UiFixture.h"

#include "ui_MainForm.h"

#include "encoding/VariantsModel.h"
#include "encoding/WordsView.h"
#include "resources/ResStrUnit.h"

#include <QKeyEvent>
#include <QTest>
#include <gtest/gtest.h>

namespace nbtest {

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

void TypeText(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

} // namespace nbtest
