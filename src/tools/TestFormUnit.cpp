#include "TestFormUnit.h"

#include "ui_TestForm.h"

#include "core/FormHelpersUnit.h"
#include "core/MessageBoxUnit.h"
#include "core/TextUnit.h"

#include <QFocusEvent>
#include <QKeyEvent>

#include <chrono>

namespace nb::ui {

namespace {

const char* const kTestTitle = "Тестирование запоминания кода";
const char* const kNothingToAsk =
    "Для теста нет ни одного слова: все слова словаря скрыты, не содержат букв кода или их "
    "код не учитывается при вариантах.";

} // namespace

std::mt19937& ProgramRandomGenerator() {
    static std::mt19937 rng(static_cast<std::mt19937::result_type>(
        std::chrono::system_clock::now().time_since_epoch().count()));
    return rng;
}

void TCodeEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    if (event->reason() != Qt::MouseFocusReason) selectAll();
}

TTestForm::TTestForm(const TStringList& dicList, const TStringList& hidedWordList,
                     const TStringList& ignoredCodeList, const TWordCoder& coder,
                     const TProgSettings& settings, std::mt19937& rng, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TTestForm>()), dicList_(dicList),
      hidedWordList_(hidedWordList), ignoredCodeList_(ignoredCodeList), coder_(coder),
      settings_(settings), rng_(rng) {
    ui_->setupUi(this);
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
    ui_->CodeHelpPanel->setBackgroundRole(QPalette::ToolTipBase);
    ui_->CodeHelpPanel->setForegroundRole(QPalette::ToolTipText);
    // One line high even while empty, so showing the hint does not move the controls.
    ui_->CodeHelpPanel->setMinimumHeight(
        ui_->CodeHelpPanel->fontMetrics().height() +
        2 * (ui_->CodeHelpPanel->margin() + ui_->CodeHelpPanel->frameWidth()));

    connect(ui_->CodeEdit, &QLineEdit::textChanged, this, &TTestForm::CodeEditChange);
    connect(ui_->HelpButton, &QPushButton::clicked, this, &TTestForm::HelpButtonClick);
    connect(ui_->NextWordButton, &QPushButton::clicked, this, &TTestForm::NextWordButtonClick);
    connect(ui_->ShowCodeHelpCheckBox, &QCheckBox::toggled, this,
            &TTestForm::ShowCodeHelpCheckBoxClick);
    connect(ui_->CloseButton, &QPushButton::clicked, this, &QDialog::reject);
    ui_->CodeEdit->installEventFilter(this);
    ui_->CodeEdit->setFocus();
    setFixedSize(sizeHint().expandedTo(size()));
}

TTestForm::~TTestForm() = default;

bool TTestForm::StartTest(const QString& mainHintText) {
    if (!BeginTest(mainHintText)) return false;
    exec();
    return true;
}

bool TTestForm::BeginTest(const QString& mainHintText) {
    hintText_ = FromCp1251(TestHintText(ToCp1251(mainHintText)));
    // Which entries may be asked is fixed while the dialog is open: the lists and the
    // settings do not change under a modal dialog.
    words_.emplace(dicList_, hidedWordList_, ignoredCodeList_, coder_, settings_.Grouping());
    if (words_->Empty()) {
        TMessageBox::Show(parentWidget(), {QMessageBox::Information, QString::fromUtf8(kTestTitle),
                                           QString::fromUtf8(kNothingToAsk)});
        return false;
    }
    // The hint strip is one line: the dialog grows to hold the whole hint.
    const QFontMetrics fm(ui_->CodeHelpPanel->font());
    const int frame = 2 * (ui_->CodeHelpPanel->margin() + ui_->CodeHelpPanel->frameWidth()) + 24;
    ui_->CodeHelpPanel->setMinimumWidth(fm.horizontalAdvance(hintText_) + frame);
    setFixedSize(sizeHint().expandedTo(QSize(385, 166)));
    CentreOnScreen(this);
    NextWord();
    ui_->CodeEdit->setFocus();
    ui_->CodeEdit->selectAll();
    return true;
}

void TTestForm::NextWord() {
    currentWord_.clear();
    expectedCode_.clear();
    if (!words_) return;
    const std::optional<TTestQuestion> question = words_->Next(rng_);
    if (!question) return;
    currentWord_ = question->Word;
    expectedCode_ = question->Expected;
    ui_->WordEdit->setText(FromCp1251(currentWord_));
    ui_->CodeEdit->clear();
    ui_->CodeEdit->setText(QString(static_cast<qsizetype>(expectedCode_.size()), QLatin1Char('?')));
}

void TTestForm::CodeEditChange() {
    const bool right =
        !expectedCode_.empty() &&
        TestAnswerIsRight(ToCp1251(ui_->CodeEdit->text()), expectedCode_);
    QPalette palette = ui_->CodeEdit->palette();
    palette.setColor(QPalette::Text, right ? QColor(0, 128, 0) : QColor(255, 0, 0));
    ui_->CodeEdit->setPalette(palette);
}

void TTestForm::CodeEditKeyPress() {
    ui_->NextWordButton->setFocus();
    ui_->NextWordButton->click();
    ui_->CodeEdit->setFocus();
}

bool TTestForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui_->CodeEdit && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            CodeEditKeyPress();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TTestForm::NextWordButtonClick() {
    NextWord();
    ui_->CodeEdit->setFocus();
    // Also when the field had the focus already (no focus-in then).
    ui_->CodeEdit->selectAll();
}

void TTestForm::HelpButtonClick() {
    ui_->CodeEdit->setText(FromCp1251(expectedCode_));
    ui_->CodeEdit->setFocus();
    ui_->CodeEdit->selectAll();
}

void TTestForm::ShowCodeHelpCheckBoxClick() {
    ui_->CodeHelpPanel->setText(ui_->ShowCodeHelpCheckBox->isChecked() ? hintText_ : QString());
}

} // namespace nb::ui
