// The code table window: every group code with a check box (unchecked = on
// IgnoredCodeList) and, for the selected code, its dictionary entries with a check box
// (unchecked = on HidedWordList). Check changes go straight into the session's lists; the
// window can also export the whole table to a text file.
#pragma once

#include "core/SessionUnit.h"
#include "dictionary/StringListUnit.h"
#include "encoding/WordNodeDelegate.h"

#include <QAbstractTableModel>
#include <QDialog>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace Ui {
class TTableCodeForm;
}

namespace nb::ui {

// Rows of check boxes; CheckChanged reports each real change of a row's state once,
// whether it came from the view or from SetAllChecked. Setting rows reports nothing.
class TCheckListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    TCheckListModel(QString header, QObject* parent = nullptr)
        : QAbstractTableModel(parent), header_(std::move(header)) {}

    int RowCount() const { return static_cast<int>(checked_.size()); }
    bool Checked(int row) const { return checked_[static_cast<size_t>(row)]; }
    void SetChecked(int row, bool checked);
    void SetAllChecked(bool checked);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

signals:
    void CheckChanged(int row, bool checked);

protected:
    virtual QVariant RowData(int row, int role) const = 0;
    // Subclasses reset the model around this when they replace their rows.
    std::vector<bool> checked_;

private:
    QString header_;
};

// CodeVirtualDrawTree's rows: each owns its code text.
class TCodeListModel : public TCheckListModel {
    Q_OBJECT
public:
    explicit TCodeListModel(QObject* parent = nullptr);
    void SetRows(std::vector<std::string> codes, std::vector<bool> checked);
    const std::string& Code(int row) const { return codes_[static_cast<size_t>(row)]; }

protected:
    QVariant RowData(int row, int role) const override;

private:
    std::vector<std::string> codes_;
};

// WordVirtualDrawTree's rows: each holds the DicList index of its entry.
class TWordListModel : public TCheckListModel {
    Q_OBJECT
public:
    TWordListModel(const TStringList& dicList, QObject* parent = nullptr);
    void SetRows(std::vector<int32_t> entries, std::vector<bool> checked);
    int32_t Entry(int row) const { return entries_[static_cast<size_t>(row)]; }

protected:
    QVariant RowData(int row, int role) const override;

private:
    const TStringList& dicList_;
    std::vector<int32_t> entries_;
};

class TTableCodeForm : public QDialog {
    Q_OBJECT
public:
    // Shows the session's code dictionary and changes only its two user lists, through
    // the session. `painting` draws the word rows as the word columns draw them; both must
    // outlive the window. The code list is filled here, with `preselect` (or else the
    // first code) selected.
    TTableCodeForm(TSession& session, const TWordPainting& painting, const std::string& preselect,
                   QWidget* parent = nullptr);
    ~TTableCodeForm() override;

    // The export target; empty when the user cancels. The file dialog by default.
    std::function<QString(QWidget* owner)> AskExportFileName;

    Ui::TTableCodeForm* Controls() const { return ui_.get(); }
    TCodeListModel* CodeModel() const { return codeModel_; }
    TWordListModel* WordModel() const { return wordModel_; }
    // The code of the selected row, empty when none.
    std::string SelectedCode() const;

    void SelectAllCodeButtonClick();
    void SelectAllButtonClick();
    void UnSelectButtonClick();
    void ExportButtonClick();

signals:
    // A user list changed: once per check box, once per button that checks many.
    void HidedWordsChanged();
    void IgnoredCodesChanged();

private:
    void FillCodeList(const std::string& preselect);
    void CodeVirtualDrawTreeChange(const QModelIndex& current);
    void CodeVirtualDrawTreeChecked(int row, bool checked);
    void WordVirtualDrawTreeChecked(int row, bool checked);
    // Runs a change of many rows, announcing each changed list once at the end.
    template <class F> void Batch(F&& change);
    void AnnounceChanges();

    std::unique_ptr<Ui::TTableCodeForm> ui_;
    TSession& session_;
    TCodeListModel* codeModel_ = nullptr;
    TWordListModel* wordModel_ = nullptr;
    bool batch_ = false;
    bool hidedChanged_ = false;
    bool ignoredChanged_ = false;
};

// The save dialog of the export: "Таблица кодов.txt", text files, asks before overwriting.
QString AskCodeTableFileName(QWidget* owner);

} // namespace nb::ui
