#include "MainFormUnit.h"

#include "ui_MainForm.h"

#include "core/FormHelpersUnit.h"
#include "core/MessageBoxUnit.h"
#include "core/SettingsFormUnit.h"
#include "core/TextUnit.h"
#include "encoding/PiecesView.h"
#include "encoding/VariantsModel.h"
#include "notebook/AddToNotebookFormUnit.h"
#include "notebook/NotebookFormUnit.h"
#include "notebook/ReviewUnit.h"
#include "notebook/ReviewFormUnit.h"
#include "resources/ResStrUnit.h"
#include "tools/DicEditFormUnit.h"
#include "tools/TableCodeFormUnit.h"
#include "tools/TestFormUnit.h"
#include "web/AboutFormUnit.h"
#include "web/DesktopUnit.h"
#include "web/InetUtilUnit.h"
#include "web/PicturePaneUnit.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QMenu>
#include <QScreen>
#include <QTimer>
#include <QValidator>
#include <QWindow>

#include <algorithm>
#include <optional>

namespace nb::ui {

namespace {

// The window speaks Russian, its file errors too: switched on before the session reads a
// file (the command-line tool keeps English).
const TPaths& InRussian(const TPaths& paths) {
    SetRussianMessages(true);
    return paths;
}

// The least a pane keeps of a stored size, so that it can still be found and dragged.
constexpr int kMinPaneSize = 20;

// Messages of the engine (UTF-8), one a line, for one box.
QString MessageText(const std::vector<std::string>& lines) { return QString::fromUtf8(JoinLines(lines)); }

} // namespace

namespace {

// Accepts a number text of at most kMaxNumberDigits digits.
class TNumberLengthValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        int digits = 0;
        for (const QChar c : input)
            if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ++digits;
        return digits > kMaxNumberDigits ? Invalid : Acceptable;
    }
};

} // namespace

template <class F> void TMainForm::Command(F&& f) {
    try {
        f();
    } catch (const std::exception& e) {
        TMessageBox::Error(this, QString::fromUtf8(e.what()));
    }
}

// ---- creation ---------------------------------------------------------------------------

TMainForm::TMainForm(const std::string& programFolder, QWidget* parent)
    : TMainForm(TPaths{programFolder, {}}, parent) {}

TMainForm::TMainForm(const TPaths& paths, QWidget* parent)
    : QMainWindow(parent), ui_(std::make_unique<Ui::TMainForm>()),
      session_(InRussian(paths)) {
    // The session's reads come before the Cache folder is made, so a folder without code
    // tables is left exactly as it was.
    session_.PrepareFolders();
    if (!session_.Warnings().empty()) // once, when the window is up
        QMetaObject::invokeMethod(
            this, [this, text = MessageText(session_.Warnings())] { TMessageBox::Warning(this, text); },
            Qt::QueuedConnection);
    TLayoutSettings& layout = session_.Layout();

    ui_->setupUi(this);
    setWindowIcon(ProgramIcon());
    qApp->setWindowIcon(ProgramIcon());
    // Seeded now, at start-up, rather than when the code test first draws.
    ProgramRandomGenerator();
    statusLabel_ = new QLabel(ui_->StatusBar);
    statusLabel_->setObjectName(QStringLiteral("StatusLabel"));
    ui_->StatusBar->addWidget(statusLabel_, 1);

    // Layout values of the settings.
    ui_->WordWebBrowser->SetContent(TWebBrowser::TContent::Pictures);
    ui_->Splitter->setStretchFactor(0, 0);
    ui_->Splitter->setStretchFactor(1, 1);
    // The window is shown maximized: the screen's width is the room the panes share.
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int room = std::max(width(), screen ? screen->availableGeometry().width() : 0);
    layout.VariantsVirtualStringTreeWidth =
        ClampPaneSize(layout.VariantsVirtualStringTreeWidth, room, kMinPaneSize, kMinPaneSize);
    ui_->Splitter->setSizes({layout.VariantsVirtualStringTreeWidth, width()});
    ui_->WebBrowserSplitter->setStretchFactor(0, 1);
    ui_->WebBrowserSplitter->setStretchFactor(1, 0);
    if (layout.HideSettings) ui_->SettingsAction->setVisible(false);

    painting_.DicList = &session_.DicList();
    UpdatePainting();

    // The variants list.
    variantsModel_ = new TVariantsModel(this);
    QTreeView* tree = ui_->VariantsVirtualStringTree;
    tree->setModel(variantsModel_);
    QHeaderView* header = tree->header();
    header->setStretchLastSection(false);
    header->setSectionsMovable(true);
    header->setSectionsClickable(false);
    header->setSectionResizeMode(TVariantsModel::VariantColumn, QHeaderView::Stretch);
    header->setSectionResizeMode(TVariantsModel::CountColumn, QHeaderView::Interactive);
    header->resizeSection(TVariantsModel::CountColumn, 95);
    header->setSortIndicator(TVariantsModel::CountColumn, Qt::AscendingOrder);
    header->setSortIndicatorShown(true);
    connect(tree->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { Command([this] { VariantsVirtualStringTreeChange(); }); });

    // The words view and its pop-up menu.
    ui_->WordsPanel->Setup(painting_, session_);
    ui_->WordsPanel->SetTabPredecessor(ui_->VariantsVirtualStringTree);
    tree->setItemDelegate(new TVariantsDelegate(tree));
    connect(ui_->WordsPanel, &TWordsView::WordFocusChanged, this, &TMainForm::WordFocusChanged);
    connect(ui_->WordsPanel, &TWordsView::HiddenWordsChanged, this, [this] {
        SaveUserList(&TSession::SaveHidedWords, this);
        UpdateWordEdit();
    });
    wordPopupMenu_ = new QMenu(this);
    wordPopupMenu_->setObjectName(QStringLiteral("WordPopupMenu"));
    wordPopupMenu_->addAction(ui_->HideWordMenuItem);
    wordPopupMenu_->addAction(ui_->ShowWordMenuItem);
    wordPopupMenu_->addAction(ui_->TableCodeAction);
    wordPopupMenu_->addAction(ui_->HideNumMenuItem);
    connect(ui_->WordsPanel, &TWordsView::PopupRequested, wordPopupMenu_,
            [this](const QPoint& pos) { wordPopupMenu_->popup(pos); });
    connect(ui_->HideWordMenuItem, &QAction::triggered, this,
            [this] { Command([this] { HideWordMenuItemClick(); }); });
    connect(ui_->ShowWordMenuItem, &QAction::triggered, this,
            [this] { Command([this] { ShowWordMenuItemClick(); }); });
    connect(ui_->HideNumMenuItem, &QAction::triggered, this,
            [this] { Command([this] { HideNumMenuItemClick(); }); });

    // The number row and the phrase row.
    connect(ui_->GoButton, &QPushButton::clicked, this, [this] { Command([this] { GoButtonClick(); }); });
    connect(ui_->NumEdit, &QLineEdit::returnPressed, ui_->GoButton, &QPushButton::click);
    // A paste or a key that would make the number longer than the window encodes is
    // refused whole (rather than cut at the field's length, as Qt would do silently).
    ui_->NumEdit->setMaxLength(kMaxNumberChars);
    ui_->NumEdit->setValidator(new TNumberLengthValidator(ui_->NumEdit));
    // One message once the key or paste is over (the field may reject it twice: for its
    // length and for the validator).
    auto* rejected = new QTimer(this);
    rejected->setSingleShot(true);
    rejected->setInterval(0);
    connect(rejected, &QTimer::timeout, this, [this] {
        TMessageBox::Warning(this, QString::asprintf(res::kNumberTooLong, kMaxNumberDigits));
    });
    connect(ui_->NumEdit, &QLineEdit::inputRejected, rejected, qOverload<>(&QTimer::start));
    connect(ui_->RememberButton, &QPushButton::clicked, this,
            [this] { Command([this] { RememberButtonClick(); }); });

    // The commands of the menu bar.
    focusTracking_ =
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
            if (now == ui_->MainMenu) focusBeforeMenu_ = old;
        });
    const std::pair<QAction*, void (TMainForm::*)()> commands[] = {
        {ui_->SettingsAction, &TMainForm::SettingsActionExecute},
        {ui_->NotebookAction, &TMainForm::NotebookActionExecute},
        {ui_->ReviewAction, &TMainForm::ReviewActionExecute},
        {ui_->TableCodeAction, &TMainForm::TableCodeActionExecute},
        {ui_->DicEditAction, &TMainForm::DicEditActionExecute},
        {ui_->TestCodeAction, &TMainForm::TestCodeActionExecute},
        {ui_->HelpAction, &TMainForm::HelpActionExecute},
        {ui_->AboutAction, &TMainForm::AboutActionExecute},
    };
    for (const auto& [action, handler] : commands)
        connect(action, &QAction::triggered, this,
                [this, handler] { Command([this, handler] { (this->*handler)(); }); });

    // Splitters: the sizes the user gives are the ones saved at shut-down.
    connect(ui_->Splitter, &QSplitter::splitterMoved, this, [this] {
        session_.Layout().VariantsVirtualStringTreeWidth = ui_->VariantsVirtualStringTree->width();
        SplitterMoved();
    });
    connect(ui_->WebBrowserSplitter, &QSplitter::splitterMoved, this,
            [this] { session_.Layout().BrowserPanelHeight = ui_->BrowserPanel->height(); });

    // The picture pane's tabs; the first is selected at start.
    ui_->TabSet->setShape(QTabBar::RoundedSouth);
    ui_->TabSet->setExpanding(false);
    for (const TPictureSearchTab& tab : kPictureSearchTabs) ui_->TabSet->addTab(QString::fromUtf8(tab.Caption));
    ui_->TabSet->setCurrentIndex(0);
    picturePane_ =
        new TPicturePane(ui_->TabSet, ui_->WordWebBrowser, session_.Paths(), session_.Settings(),
                         currentWord_, this);

    ui_->CodeHelpPanel->setBackgroundRole(QPalette::ToolTipBase);
    ui_->CodeHelpPanel->setForegroundRole(QPalette::ToolTipText);

    // The restored size, centred; the program shows the window maximised.
    if (const QScreen* screen = this->screen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
    PostStartup();
}

void TMainForm::PostStartup() {
    setWindowTitle(QString::fromUtf8(res::kProductName));
    ShowStatus(QString::fromUtf8(res::kProductName));
    // Queued, so the load starts only once the window is on screen.
    QMetaObject::invokeMethod(this, &TMainForm::WMStartup, Qt::QueuedConnection);
}

std::unique_ptr<TMainForm> CreateMainForm(const std::string& programFolder) {
    return CreateMainForm(TPaths{programFolder, {}});
}

std::unique_ptr<TMainForm> CreateMainForm(const TPaths& paths) {
    try {
        return std::make_unique<TMainForm>(paths);
    } catch (const std::exception& e) {
        TMessageBox::Error(nullptr, QString::fromUtf8(e.what()));
        return nullptr;
    }
}

// ---- start-up ---------------------------------------------------------------------------

void TMainForm::WMStartup() {
    try {
        UpdateBrowserPanel();
        // The user should see the window before the long load begins; under X the window
        // is mapped a moment after it was shown.
        if (QWindow* window = windowHandle(); window && isVisible()) {
            QElapsedTimer waited;
            waited.start();
            while (!window->isExposed() && waited.elapsed() < 1000)
                QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
        }
        repaint();
        if (session_.Load())
            TMessageBox::Warning(this, QString::asprintf(res::kDictionaryConverted,
                                                         session_.Paths().Dictionary().c_str()));
        UpdateReviewAction();
        BuildCodeDictionary([this](const TBuildCallbacks& callbacks) { session_.Build(callbacks); });
    } catch (const std::exception& e) {
        TMessageBox::Error(this, QString::fromUtf8(e.what()));
        close();
    }
}

void TMainForm::BuildCodeDictionary(const std::function<void(const TBuildCallbacks&)>& build) {
    SetControlsEnabled(false);
    struct Reenable {
        TMainForm* form;
        ~Reenable() { form->SetControlsEnabled(true); }
    } reenable{this};

    TBuildCallbacks callbacks;
    callbacks.Starting = [this] {
        ShowCodeHint();
        UpdateBrowserPanel();
        repaint();
    };
    callbacks.ShowStatus = [this](const std::string& text) { ShowStatus(QString::fromUtf8(text)); };
    callbacks.ProcessEvents = [] { QCoreApplication::processEvents(); };
    callbacks.OpenHelp = [this] { OpenHelp(); };
    try {
        build(callbacks);
    } catch (...) {
        // The session kept or brought back what it had; the window shows that again.
        ShowCodeHint();
        UpdateBrowserPanel();
        throw;
    }
    UpdatePainting();
    GoButtonClick();
}

void TMainForm::UpdatePainting() {
    painting_.Coder = TWordCoder(session_.CodeTable().Letters);
    painting_.Mode = session_.Settings().Grouping().Mode;
    painting_.LetterColor = session_.Settings().LetterColor;
}

void TMainForm::ShowCodeHint() {
    ui_->CodeHelpPanel->setText(FromCp1251(CodeHintText(session_.CodeTable().Letters)));
}

void TMainForm::OpenHelp() { OpenHelpIndex(session_.Paths(), this); }

// ---- status line and busy state -----------------------------------------------------------

void TMainForm::ShowStatus(const QString& text) {
    const QString shown = QLatin1Char(' ') + text;
    if (statusLabel_->text() == shown) return;
    statusLabel_->setText(shown);
    // Long work runs without returning to the event loop; the text must show now.
    statusLabel_->repaint();
    emit StatusShown(text);
}

QString TMainForm::StatusText() const { return statusLabel_->text().mid(1); }

void TMainForm::SetControlsEnabled(bool on) {
    ui_->MainPanel->setEnabled(on);
    for (QAction* action : {ui_->SettingsAction, ui_->NotebookAction, ui_->ReviewAction,
                            ui_->TableCodeAction, ui_->DicEditAction, ui_->TestCodeAction})
        action->setEnabled(on);
}

bool TMainForm::Busy() const { return !ui_->MainPanel->isEnabled(); }

bool TMainForm::event(QEvent* event) {
    // The browser view makes the window composite with OpenGL: once its page shows, the
    // window system window is created anew, and the new one starts out in the normal
    // state. The state the window had before comes back.
    if (event->type() == QEvent::WinIdChange) {
        if (internalWinId() == 0) {
            statesBeforeRecreate_ = windowState();
            recreated_ = true;
        } else if (recreated_) {
            QTimer::singleShot(500, this, [this] { RestoreStateAfterRecreate(); });
        }
    } else if (event->type() == QEvent::WindowStateChange && recreated_ && internalWinId() != 0) {
        QMetaObject::invokeMethod(this, &TMainForm::RestoreStateAfterRecreate, Qt::QueuedConnection);
    }
    return QMainWindow::event(event);
}

void TMainForm::RestoreStateAfterRecreate() {
    if (!recreated_) return;
    recreated_ = false;
    if (windowState() != statesBeforeRecreate_) setWindowState(statesBeforeRecreate_);
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (Busy())
        event->ignore();
    else
        event->accept();
}

void TMainForm::UpdateBrowserPanel() {
    const bool show = session_.Settings().ShowPic;
    if (show == !ui_->BrowserPanel->isHidden()) return;
    if (show) {
        ui_->BrowserPanel->show();
        const int total = ui_->WebBrowserSplitter->height() - ui_->WebBrowserSplitter->handleWidth();
        // What is stored is clamped to the screen only: the splitter may not have its
        // maximized height yet, and a small window now must not shrink the stored height.
        const QScreen* screen = QGuiApplication::primaryScreen();
        const int room = std::max(total, screen ? screen->availableGeometry().height() : 0);
        int& stored = session_.Layout().BrowserPanelHeight;
        stored = ClampPaneSize(stored, room, kMinPaneSize, kMinPaneSize);
        const int pane = ClampPaneSize(stored, total, kMinPaneSize, kMinPaneSize);
        ui_->WebBrowserSplitter->setSizes({std::max(total - pane, 1), pane});
    } else {
        ui_->BrowserPanel->hide();
        // A search requested before pictures were switched off is not shown any more.
        picturePane_->ShowPicTimer().stop();
    }
}

// ---- encoding -----------------------------------------------------------------------------

void TMainForm::GoButtonClick() {
    const std::string number = NormaliseNumber(ui_->NumEdit->text().toStdString());
    if (number.size() > static_cast<size_t>(kMaxNumberDigits)) {
        // The field keeps what the user typed, the list and the words what they showed.
        TMessageBox::Warning(this, QString::asprintf(res::kNumberTooLong, kMaxNumberDigits));
        return;
    }
    ui_->NumEdit->setText(QString::fromLatin1(number));
    MakeVariants();
}

void TMainForm::MakeVariants() {
    ShowStatus(QString::fromUtf8(res::kBuildingVariants));
    const std::string number = ui_->NumEdit->text().toStdString();
    TEncodeResult result = session_.Encode(number);
    if (result.Rows.empty()) {
        // The list and the words keep what they showed; but when the words were emptied
        // (the dictionary was replaced), so are the list and the phrase: nothing is left
        // that could be remembered.
        if (ui_->WordsPanel->RowsCleared()) {
            variantsModel_->Clear();
            ui_->VariantsCutLabel->setVisible(false);
            UpdateWordEdit();
        }
        TMessageBox::Warning(this, QString::asprintf(res::kNoVariant, number.c_str()));
        ShowStatus(QString::fromUtf8(res::kIdlePrompt));
        return;
    }
    const std::string selected = result.Rows[static_cast<size_t>(std::max(result.Selected, 0L))].Variant;
    variantsModel_->SetRows(std::move(result.Rows));
    // Best first, the rows are not in the order of the count column.
    ui_->VariantsVirtualStringTree->header()->setSortIndicatorShown(!session_.Settings().BestVariantFirst);
    // The bound on the keys' memory can cut the list before it has kMaxVariantRows rows.
    const char* cutNote = session_.Settings().BestVariantFirst ? res::kVariantsCutBest : res::kVariantsCut;
    const QString cut = result.Cut ? QString::asprintf(cutNote, variantsModel_->RowCount()) : QString();
    ui_->VariantsCutLabel->setText(cut);
    ui_->VariantsCutLabel->setToolTip(cut);
    ui_->VariantsCutLabel->setVisible(result.Cut);
    ShowStatus(QString::fromUtf8(res::kIdlePrompt));

    QTreeView* tree = ui_->VariantsVirtualStringTree;
    const QModelIndex index = variantsModel_->index(std::max(variantsModel_->FindVariant(selected), 0), 0);
    tree->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                       QItemSelectionModel::Rows);
    tree->scrollTo(index);
}

std::string TMainForm::GetSelectedVariant() const {
    const QModelIndex current = ui_->VariantsVirtualStringTree->currentIndex();
    return current.isValid() ? variantsModel_->Row(current.row()).Variant : std::string();
}

void TMainForm::VariantsVirtualStringTreeChange() {
    const QModelIndexList rows = ui_->VariantsVirtualStringTree->selectionModel()->selectedRows();
    if (rows.isEmpty()) return;
    if (session_.Settings().ShowPic)
        ui_->WordWebBrowser->Navigate(PathToQString(session_.Paths().HelpPictures()));
    ShowVariantWords(variantsModel_->Row(rows.first().row()).Variant);
}

void TMainForm::ShowVariantWords(const std::string& variant) {
    bool hiddenChanged = false;
    ui_->WordsPanel->ShowVariant(session_.WordColumns(variant, &hiddenChanged));
    // Cut into pieces only with the setting on: off, the phrase is one line as always.
    const int32_t n = session_.Settings().PieceWords;
    ui_->PiecesPanel->ShowVariant(SplitVariantKey(variant), n > 0 ? session_.PieceSizes(variant) : std::vector<int32_t>{},
                                  session_.PieceNotes(variant), n);
    UpdateWordEdit();
    if (hiddenChanged) SaveUserList(&TSession::SaveHidedWords, this);
    SplitterMoved();
}

// ---- words view ---------------------------------------------------------------------------

void TMainForm::WordFocusChanged(int32_t dicIndex) {
    const TStringList& dic = session_.DicList();
    if (dicIndex < 0 || static_cast<size_t>(dicIndex) >= dic.Count()) return;
    currentWord_ = dic[static_cast<size_t>(dicIndex)];
    picturePane_->RequestPictures(ui_->TabSet->currentIndex());
    UpdateWordEdit();
}

void TMainForm::UpdateWordEdit() {
    std::string phrase;
    for (const std::string& word : ui_->WordsPanel->ChosenWords()) {
        if (!phrase.empty()) phrase += " - ";
        phrase += word;
    }
    ui_->WordEdit->setText(FromCp1251(phrase));
    // A phrase longer than the line shows its beginning.
    ui_->WordEdit->setCursorPosition(0);
    ui_->PiecesPanel->SetWords(ui_->WordsPanel->ChosenWords(), ui_->WordsPanel->CurrentColumn());
}

void TMainForm::SplitterMoved() { ui_->WordsPanel->SplitterMoved(); }

void TMainForm::HideWordMenuItemClick() { ui_->WordsPanel->HideWord(); }

void TMainForm::ShowWordMenuItemClick() { ui_->WordsPanel->KeepOnlyWord(); }

void TMainForm::HideNumMenuItemClick() {
    const TWordTree* column = ui_->WordsPanel->FocusedColumn();
    if (!column) return;
    if (session_.SetCodeIgnored(column->Caption().toStdString(), true))
        SaveUserList(&TSession::SaveIgnoredCodes, this);
    GoButtonClick();
}

void TMainForm::SaveUserList(std::vector<std::string> (TSession::*save)() const, QWidget* owner) {
    // At once, as the notebook: a crash must not lose a hidden word or an ignored code.
    const std::vector<std::string> errors = (session_.*save)();
    if (!errors.empty()) TMessageBox::Error(owner, MessageText(errors));
}

// ---- commands -----------------------------------------------------------------------------

void TMainForm::SettingsActionExecute() {
    TProgSettings edited = session_.Settings();
    if (!EditSettings(this, session_.CodeTables(), edited)) return;
    // The word order alone: the columns are only drawn again; the variants' order, encoded
    // again, without a build.
    const bool bestFirstBefore = session_.Settings().BestVariantFirst;
    if (session_.ApplyWordOrder(edited)) {
        if (edited.BestVariantFirst != bestFirstBefore)
            GoButtonClick();
        else
            VariantsVirtualStringTreeChange();
    } else
        BuildCodeDictionary([&](const TBuildCallbacks& callbacks) { session_.ApplySettings(edited, callbacks); });
    // Written now too, not only at shut-down: a kill must not lose what the user chose. A
    // failed build has thrown above and brought the former settings back.
    const std::vector<std::string> errors = session_.WriteSettings();
    if (!errors.empty()) TMessageBox::Error(this, MessageText(errors));
}

void TMainForm::RememberButtonClick() {
    const std::string variant = GetSelectedVariant();
    const std::vector<std::string> words = ui_->WordsPanel->ChosenWords();
    // Only a variant whose columns are shown, each with its word, can be stored.
    const TWordsView* view = ui_->WordsPanel;
    if (view->RowsCleared() || view->ColumnCount() != words.size() ||
        !TSession::CanRemember(variant, words)) {
        TMessageBox::Warning(this, QString::fromUtf8(res::kNothingToRemember));
        return;
    }
    const std::optional<std::string> note =
        AskRememberNote(this, variant, words, session_.NotebookNote(variant));
    if (!note) return;
    const TPiecesView* pieces = ui_->PiecesPanel;
    const std::vector<std::string> errors =
        pieces->Cut() ? session_.Remember(variant, words, *note, pieces->Sizes(), pieces->Notes())
                      : session_.Remember(variant, words, *note);
    UpdateReviewAction();
    if (!errors.empty()) TMessageBox::Error(this, MessageText(errors));
}

void TMainForm::NotebookActionExecute() {
    const TUserLists& lists = session_.UserLists();
    // The deck for the next review column; one that cannot be read leaves the column empty.
    std::string deckError;
    const TReviewDeck deck =
        LoadDeck(session_.Paths().NotebookReview(), lists.NotebookEntries, &deckError, &session_.Pieces());
    ShowNotebook(
        this, session_.SettingsFile(), lists.NotebookEntries, lists.NotebookNotes,
        [this](const std::string& key) { return session_.DeleteNotebookEntry(key); }, &session_.Pieces(),
        deckError.empty() ? &deck.Cards : nullptr,
        [this](const std::string& key, const std::string& note) { return session_.SetNotebookNote(key, note); });
    // A deleted entry's cards are no longer due.
    UpdateReviewAction();
}

void TMainForm::ReviewActionExecute() {
    const TUserLists& lists = session_.UserLists();
    ShowReview(this, lists.NotebookEntries, lists.NotebookNotes, painting_,
               session_.Paths().NotebookReview(), session_.Settings().ReviewNewCardsPerDay,
               session_.Settings().ReviewDesiredRetention, &session_.Pieces());
    UpdateReviewAction();
}

void TMainForm::UpdateReviewAction() {
    const size_t due = DueReviewCount(session_.UserLists().NotebookEntries,
                                      session_.Paths().NotebookReview(),
                                      session_.Settings().ReviewNewCardsPerDay, &session_.Pieces());
    ui_->ReviewAction->setText(due ? QStringLiteral("&Повторение (%1)").arg(due)
                                   : QStringLiteral("&Повторение"));
}

void TMainForm::TableCodeActionExecute() {
    // Taken before the window exists and takes the focus.
    std::string preselect;
    if (const TWordTree* column = FocusedWordColumn())
        preselect = column->Caption().toStdString();
    {
        TTableCodeForm form(session_, painting_, preselect, this);
        connect(&form, &TTableCodeForm::HidedWordsChanged, this,
                [this, &form] { SaveUserList(&TSession::SaveHidedWords, &form); });
        connect(&form, &TTableCodeForm::IgnoredCodesChanged, this,
                [this, &form] { SaveUserList(&TSession::SaveIgnoredCodes, &form); });
        form.exec();
    }
    // The window changed the lists the variants and words are made from.
    GoButtonClick();
}

void TMainForm::DicEditActionExecute() {
    std::string bytes;
    {
        TDicEditForm form(painting_.Coder, session_.Settings(), this);
        if (!form.Open(session_.Paths())) return;
        if (form.exec() != QDialog::Accepted) return;
        bytes = form.DictionaryBytes();
    }
    ui_->WordsPanel->ClearRows();
    // A refused write or build leaves DicList and the code dictionary as they were.
    BuildCodeDictionary(
        [&](const TBuildCallbacks& callbacks) { session_.ReplaceDictionary(bytes, callbacks); });
}

void TMainForm::TestCodeActionExecute() {
    const QString hint = ui_->CodeHelpPanel->text();
    ui_->CodeHelpPanel->clear();
    struct RestoreHint {
        QLabel* panel;
        const QString& text;
        ~RestoreHint() { panel->setText(text); }
    } restore{ui_->CodeHelpPanel, hint};
    const TUserLists& lists = session_.UserLists();
    TTestForm form(session_.DicList(), lists.HidedWordList, lists.IgnoredCodeList, painting_.Coder,
                   session_.Settings(), ProgramRandomGenerator(), this);
    form.StartTest(hint);
}

const TWordTree* TMainForm::FocusedWordColumn() const {
    if (const TWordTree* column = ui_->WordsPanel->FocusedColumn()) return column;
    if (QApplication::focusWidget() != ui_->MainMenu) return nullptr;
    for (const TWordTree* column : ui_->WordsPanel->WordTrees())
        if (column == focusBeforeMenu_) return column;
    return nullptr;
}

void TMainForm::HelpActionExecute() { OpenHelp(); }

void TMainForm::AboutActionExecute() { nb::ui::AboutActionExecute(this); }

// ---- shut-down ----------------------------------------------------------------------------

TMainForm::~TMainForm() {
    FormDestroy();
    // The base class destructor still hides the window, which moves the focus and lets the
    // word columns lay out their rows; by then the lists they read are gone.
    disconnect(focusTracking_);
    ui_->WordsPanel->ClearRows();
    hide();
}

void TMainForm::FormDestroy() {
    const std::vector<std::string> errors = session_.Save();
    if (!errors.empty()) TMessageBox::Error(this, MessageText(errors));
}

} // namespace nb::ui
