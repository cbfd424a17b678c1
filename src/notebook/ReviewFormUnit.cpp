#include "ReviewFormUnit.h"

#include "ui_ReviewForm.h"

#include "core/ColorUnit.h"
#include "core/FormHelpersUnit.h"
#include "core/MessageBoxUnit.h"
#include "core/TextUnit.h"
#include "notebook/ReviewLogUnit.h"
#include "notebook/ReviewStatsFormUnit.h"
#include "notebook/ReviewStatsUnit.h"
#include "encoding/VariantSearchUnit.h"
#include "resources/ResStrUnit.h"

#include <QDate>
#include <QKeyEvent>

namespace nb::ui {

namespace {

QString DateText(int64_t day) {
    const QDate date = QDate::fromString(QString::fromLatin1(DayText(day)), Qt::ISODate);
    return date.toString(QStringLiteral("dd.MM.yyyy"));
}

const char* const kGradeNames[] = {"1 Снова", "2 Трудно", "3 Хорошо", "4 Легко"};

std::string Digits(const QString& typed) {
    std::string digits;
    for (QChar c : typed)
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digits += static_cast<char>(c.unicode());
    return digits;
}

} // namespace

TReviewForm::TReviewForm(const TStringList& entries, const TStringList& notes,
                         const TWordPainting& painting, std::string deckPath, int64_t today,
                         int32_t newPerDay, QWidget* parent, double retention, const TPiecesList* pieces)
    : QDialog(parent), ui_(std::make_unique<Ui::TReviewForm>()), entries_(entries), notes_(notes),
      painting_(painting), pieces_(pieces ? *pieces : TPiecesList()), deckPath_(std::move(deckPath)), today_(today), newPerDay_(newPerDay),
      retention_(retention) {
    ui_->setupUi(this);
    // Only the two labels with coloured key letters take rich text, built from escaped
    // pieces; every other label shows its text as it is.
    for (QLabel* label : {ui_->QuestionLabel, ui_->NoteLabel, ui_->KeysLabel, ui_->ProgressLabel})
        label->setTextFormat(Qt::PlainText);
    ui_->PromptLabel->setTextFormat(Qt::RichText);
    ui_->AnswerLabel->setTextFormat(Qt::RichText);
    ui_->KeysLabel->setForegroundRole(QPalette::PlaceholderText);
    ui_->AnswerEdit->installEventFilter(this);
    // The window itself takes the keys whenever the answer field is not in use.
    setFocusPolicy(Qt::StrongFocus);
    connect(ui_->ShowButton, &QPushButton::clicked, this, [this] { Reveal(); });
    connect(ui_->AgainButton, &QPushButton::clicked, this, [this] { Grade(TReviewGrade::Again); });
    connect(ui_->HardButton, &QPushButton::clicked, this, [this] { Grade(TReviewGrade::Hard); });
    connect(ui_->GoodButton, &QPushButton::clicked, this, [this] { Grade(TReviewGrade::Good); });
    connect(ui_->EasyButton, &QPushButton::clicked, this, [this] { Grade(TReviewGrade::Easy); });
    connect(ui_->NextButton, &QPushButton::clicked, this, [this] { Next(); });
    connect(ui_->StatsButton, &QPushButton::clicked, this, [this] { ShowStatistics(); });
    connect(ui_->CloseButton, &QPushButton::clicked, this, &QDialog::accept);

    deck_ = LoadDeck(deckPath_, entries_, &readError_, &pieces_);
    resize(sizeHint().expandedTo(QSize(640, 330)));
    CentreOnScreen(this);
    ShowCard();
}

TReviewForm::~TReviewForm() = default;

const TReviewCard* TReviewForm::Current() const {
    return current_ >= 0 && state_ != TState::Done ? &deck_.Cards[static_cast<size_t>(current_)]
                                                   : nullptr;
}

QString TReviewForm::PhraseHtml(const std::vector<std::string>& items) const {
    const QString key = ColorValueToQColor(painting_.LetterColor, palette()).name();
    QString html;
    for (size_t w = 1; w < items.size(); ++w) {
        if (w > 1) html += QStringLiteral(" - ");
        const std::string& word = items[w];
        const std::vector<bool> marks =
            painting_.Coder.MarkKeyLetters(word, painting_.Mode);
        for (size_t i = 0; i < word.size(); ++i) {
            const QString ch = FromCp1251(word.substr(i, 1)).toHtmlEscaped();
            html += i < marks.size() && marks[i]
                        ? QStringLiteral("<span style=\"color:%1\">%2</span>").arg(key, ch)
                        : ch;
        }
    }
    return html;
}

void TReviewForm::ShowCard() {
    const auto due = DueCards(deck_.Cards, today_, newPerDay_);
    ui_->AnswerLabel->clear();
    ui_->NoteLabel->clear();
    ui_->AnswerEdit->clear();
    ui_->AnswerEdit->setReadOnly(false);
    ui_->StatsButton->setEnabled(true);
    QPushButton* const grades[] = {ui_->AgainButton, ui_->HardButton, ui_->GoodButton, ui_->EasyButton};
    for (QPushButton* b : grades) b->setEnabled(false);
    ui_->NextButton->setEnabled(false);
    for (size_t g = 0; g < 4; ++g) grades[g]->setText(QString::fromUtf8(kGradeNames[g]));
    if (due.empty()) {
        state_ = TState::Done;
        current_ = -1;
        ui_->QuestionLabel->clear();
        ui_->PromptLabel->setText(deck_.Cards.empty()
                                      ? QStringLiteral("В записной книжке нет чисел со словами")
                                      : QStringLiteral("На сегодня всё"));
        ui_->AnswerEdit->hide();
        ui_->ShowButton->setEnabled(false);
        ui_->KeysLabel->setText(QStringLiteral("Enter или Esc — закрыть"));
        setFocus();
        UpdateProgress();
        return;
    }
    current_ = static_cast<long>(due.front());
    state_ = TState::Asking;
    const TReviewCard& card = deck_.Cards[static_cast<size_t>(current_)];
    // What each grade would give: "3 Хорошо · 11 дн.".
    for (size_t g = 0; g < 4; ++g) {
        const int64_t days = PreviewDue(card, static_cast<TReviewGrade>(g), today_, retention_) - today_;
        grades[g]->setText(QString::fromUtf8(kGradeNames[g]) + QStringLiteral(" · ") +
                           (days <= 0 ? QStringLiteral("сегодня") : QStringLiteral("%1 дн.").arg(days)));
    }
    const TCardFace face = Face();
    std::vector<std::string> items{face.Variant};
    items.insert(items.end(), face.Words.begin(), face.Words.end());
    if (face.Piece > 0) {
        // A piece is asked with its place on the journey and the piece before it.
        QString cue = QStringLiteral("Часть %1 из %2.").arg(face.Piece).arg(face.PieceCount);
        if (!face.PlaceNote.empty()) cue += QStringLiteral(" Место: ") + FromCp1251(face.PlaceNote) + QLatin1Char('.');
        if (card.Direction == TReviewDirection::NumberToPhrase) {
            std::string previous;
            for (const auto& w : face.PreviousWords) previous += (previous.empty() ? "" : " - ") + w;
            if (face.Piece > 1)
                cue += QStringLiteral("\nПеред ней: ") + QString::fromLatin1(face.PreviousDigits) +
                       QStringLiteral(" — ") + FromCp1251(previous);
            else if (!face.EntryNote.empty())
                cue += QStringLiteral("\nПримечание: ") + FromCp1251(face.EntryNote);
        }
        ui_->NoteLabel->setText(cue);
    }
    if (card.Direction == TReviewDirection::NumberToPhrase) {
        ui_->QuestionLabel->setText(QStringLiteral("Вспомните слова к числу"));
        std::string groups;
        for (const auto& g : face.Groups) groups += (groups.empty() ? "" : "-") + g;
        ui_->PromptLabel->setText(FromCp1251(groups).toHtmlEscaped());
        ui_->AnswerEdit->hide();
        ui_->ShowButton->setEnabled(true);
        ui_->KeysLabel->setText(QStringLiteral("Пробел или Enter — показать слова"));
        setFocus();
    } else {
        ui_->QuestionLabel->setText(QStringLiteral("Введите число к словам"));
        ui_->PromptLabel->setText(PhraseHtml(items));
        ui_->AnswerEdit->show();
        ui_->ShowButton->setEnabled(false);
        ui_->KeysLabel->setText(QStringLiteral("Цифры, затем Enter — проверить"));
        ui_->AnswerEdit->setFocus();
    }
    UpdateProgress();
}

TCardFace TReviewForm::Face() const {
    const TReviewCard& card = deck_.Cards[static_cast<size_t>(current_)];
    if (auto face = CardFace(entries_, notes_, pieces_, card.Key)) return *face;
    // The notebook changed under the window: what the card was made from.
    TCardFace face;
    auto items = ReadCommaList(card.Source);
    face.EntryKey = EntryKeyOfCard(card.Key);
    face.Digits = face.EntryKey;
    if (!items.empty()) {
        face.Variant = items.front();
        face.Groups = SplitVariantKey(face.Variant);
        face.Words.assign(items.begin() + 1, items.end());
    }
    return face;
}

void TReviewForm::ShowAnswer() {
    const TReviewCard& card = deck_.Cards[static_cast<size_t>(current_)];
    const TCardFace face = Face();
    std::vector<std::string> items{face.Variant};
    items.insert(items.end(), face.Words.begin(), face.Words.end());
    std::string groups;
    for (const auto& g : face.Groups) groups += (groups.empty() ? "" : "-") + g;
    const QString code = FromCp1251(groups).toHtmlEscaped();
    ui_->AnswerLabel->setText(card.Direction == TReviewDirection::NumberToPhrase
                                  ? PhraseHtml(items)
                                  : code + QStringLiteral("<br>") + PhraseHtml(items));
    if (face.Piece > 0) {
        QString text = QStringLiteral("Часть %1 из %2.").arg(face.Piece).arg(face.PieceCount);
        if (!face.PlaceNote.empty()) text += QStringLiteral(" Место: ") + FromCp1251(face.PlaceNote) + QLatin1Char('.');
        // After the last piece, the whole journey.
        if (face.Piece == face.PieceCount) {
            text += QStringLiteral("\nВесь маршрут:");
            for (const auto& line : face.Journey) text += QLatin1Char('\n') + FromCp1251(line);
        }
        ui_->NoteLabel->setText(text);
        return;
    }
    const std::string note = face.EntryNote;
    ui_->NoteLabel->setText(note.empty() ? QString()
                                         : QStringLiteral("Примечание: ") + FromCp1251(note));
}

void TReviewForm::EnableGrades(bool again) {
    ui_->AgainButton->setEnabled(again);
    for (QPushButton* b : {ui_->HardButton, ui_->GoodButton, ui_->EasyButton}) b->setEnabled(true);
}

void TReviewForm::Reveal() {
    if (state_ != TState::Asking || !Current() ||
        Current()->Direction != TReviewDirection::NumberToPhrase)
        return;
    state_ = TState::Revealed;
    ShowAnswer();
    ui_->ShowButton->setEnabled(false);
    EnableGrades(true);
    ui_->KeysLabel->setText(QStringLiteral("1 — снова, 2 — трудно, 3 — хорошо, 4 — легко"));
}

void TReviewForm::GradeCurrent(TReviewGrade grade) {
    TReviewCard& card = deck_.Cards[static_cast<size_t>(current_)];
    const TReviewCard before = card;
    GradeCard(card, grade, today_, retention_);
    graded_ = current_;
    Save();
    if (!readError_.empty()) return;
    try {
        AppendReviewLog(ReviewLogPath(deckPath_), MakeLogEntry(before, card, grade, today_));
    } catch (const std::exception& e) {
        // The log only feeds the statistics: reviewing goes on; said once.
        if (!logErrorShown_) TMessageBox::Warning(this, QString::fromUtf8(e.what()));
        logErrorShown_ = true;
    }
}

void TReviewForm::Grade(TReviewGrade grade) {
    if (state_ != TState::Revealed) return;
    // A right typed number is not graded "Снова".
    if (Current()->Direction == TReviewDirection::PhraseToNumber && grade == TReviewGrade::Again)
        return;
    GradeCurrent(grade);
    ShowCard();
}

void TReviewForm::Check() {
    if (state_ != TState::Asking || !Current() ||
        Current()->Direction != TReviewDirection::PhraseToNumber)
        return;
    const bool right = Digits(ui_->AnswerEdit->text()) == Face().Digits;
    if (!right) GradeCurrent(TReviewGrade::Again);
    state_ = right ? TState::Revealed : TState::Checked;
    ShowAnswer();
    const QString verdict = right ? QStringLiteral("<span style=\"color:#1a7f37\">Верно</span>")
                                  : QStringLiteral("<span style=\"color:#c62828\">Неверно</span>");
    ui_->AnswerLabel->setText(verdict + QStringLiteral("<br>") + ui_->AnswerLabel->text());
    ui_->AnswerEdit->setReadOnly(true);
    if (right) {
        EnableGrades(false);
        ui_->KeysLabel->setText(QStringLiteral("3, пробел или Enter — хорошо, 2 — трудно, 4 — легко"));
    } else {
        for (QPushButton* b : {ui_->AgainButton, ui_->HardButton, ui_->GoodButton, ui_->EasyButton})
            b->setEnabled(false);
        ui_->NextButton->setEnabled(true);
        ui_->KeysLabel->setText(QStringLiteral("Пробел или Enter — дальше"));
    }
    setFocus();
    UpdateProgress();
}

void TReviewForm::Next() {
    if (state_ == TState::Checked) ShowCard();
}

void TReviewForm::ShowStatistics() {
    const auto log = LoadReviewLog(ReviewLogPath(deckPath_));
    ShowReviewStats(this, ComputeReviewStats(deck_.Cards, log, today_, newPerDay_));
}

void TReviewForm::UpdateProgress() {
    const size_t left = DueCards(deck_.Cards, today_, newPerDay_).size();
    QString text = left ? QStringLiteral("Осталось на сегодня: %1.").arg(left)
                        : QStringLiteral("На сегодня всё.");
    // Both days, so that neither passes for the other: the next review of the deck, and
    // that of the card just graded.
    const int64_t next = NextDueDay(deck_.Cards, today_, newPerDay_);
    if (!left && next != kNoDay) text += QStringLiteral(" Следующее повторение: %1.").arg(DateText(next));
    if (graded_ >= 0) {
        // "Эта" while the graded card is still shown (a wrong typed number), else "Предыдущая".
        const int64_t due = deck_.Cards[static_cast<size_t>(graded_)].Due;
        const bool shown = state_ == TState::Checked && graded_ == current_;
        text += (shown ? QStringLiteral(" Эта карточка — %1.") : QStringLiteral(" Предыдущая карточка — %1."))
                    .arg(due <= today_ ? QStringLiteral("снова сегодня") : DateText(due));
    }
    ui_->ProgressLabel->setText(text);
}

void TReviewForm::Save() {
    if (!readError_.empty()) {
        // Said once; the stored deck stays as it is.
        if (!readErrorShown_)
            TMessageBox::Warning(this, QString::fromUtf8(readError_) + QLatin1Char('\n') +
                                           QString::fromUtf8(res::kReviewNotSaved));
        readErrorShown_ = true;
        return;
    }
    if (!deck_.Unread.empty() && !unreadShown_) {
        unreadShown_ = true;
        TMessageBox::Warning(
            this, QStringLiteral("В файле %1 не прочитано строк: %2. Они сохраняются в нём как есть.")
                      .arg(QString::fromLocal8Bit(deckPath_.c_str()))
                      .arg(deck_.Unread.size()));
    }
    try {
        SaveReviewDeck(deckPath_, deck_);
    } catch (const std::exception& e) {
        // The grades stay in the window; the next grade tries again.
        TMessageBox::Error(this, QString::fromUtf8(e.what()));
    }
}

void TReviewForm::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    const bool go = key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter;
    if (go && state_ == TState::Asking) return Reveal();
    if (go && state_ == TState::Checked) return Next();
    // A right typed number: Space or Enter confirms "Хорошо".
    if (go && state_ == TState::Revealed && Current() &&
        Current()->Direction == TReviewDirection::PhraseToNumber)
        return Grade(TReviewGrade::Good);
    if (go && state_ == TState::Done && key != Qt::Key_Space) return accept();
    if (state_ == TState::Revealed && key >= Qt::Key_1 && key <= Qt::Key_4)
        return Grade(static_cast<TReviewGrade>(key - Qt::Key_1));
    if (go) return; // never the dialog's default button
    QDialog::keyPressEvent(event);
}

bool TReviewForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui_->AnswerEdit && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (state_ == TState::Asking)
                Check();
            else if (state_ == TState::Checked)
                Next();
            else if (state_ == TState::Revealed)
                Grade(TReviewGrade::Good);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void ShowReview(QWidget* owner, const TStringList& entries, const TStringList& notes,
                const TWordPainting& painting, const std::string& deckPath, int32_t newPerDay,
                double retention, const TPiecesList* pieces) {
    TReviewForm form(entries, notes, painting, deckPath, ReviewToday(), newPerDay, owner, retention, pieces);
    form.exec();
}

} // namespace nb::ui
