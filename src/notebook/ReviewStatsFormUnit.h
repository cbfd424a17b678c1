// The review statistics window: the numbers of the deck and three charts (cards due on the
// next 30 days, reviews of the last 30 days by grade, retention per week).
#pragma once

#include "notebook/ReviewStatsUnit.h"

#include <QDialog>

#include <memory>

namespace Ui {
class TReviewStatsForm;
}

class QChartView;

namespace nb::ui {

class TReviewStatsForm : public QDialog {
    Q_OBJECT
public:
    explicit TReviewStatsForm(const TReviewStats& stats, QWidget* parent = nullptr);
    ~TReviewStatsForm() override;

    Ui::TReviewStatsForm* Controls() const { return ui_.get(); }
    QChartView* DueChart() const { return due_; }
    QChartView* ReviewsChart() const { return reviews_; }
    QChartView* RetentionChart() const { return retention_; }

private:
    std::unique_ptr<Ui::TReviewStatsForm> ui_;
    QChartView* due_ = nullptr;
    QChartView* reviews_ = nullptr;
    QChartView* retention_ = nullptr;
};

// Opens the window modally over `owner`.
void ShowReviewStats(QWidget* owner, const TReviewStats& stats);

} // namespace nb::ui
