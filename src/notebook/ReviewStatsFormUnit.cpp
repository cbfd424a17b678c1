#include "ReviewStatsFormUnit.h"

#include "ui_ReviewStatsForm.h"

#include "core/FormHelpersUnit.h"

#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QDate>
#include <QLocale>
#include <QStackedBarSeries>
#include <QValueAxis>

#include <algorithm>

namespace nb::ui {

namespace {

QDate DateOf(int64_t day) {
    return QDate(1970, 1, 1).addDays(day);
}

// Bars stand at 0, 1, ...; a label names every `step`-th one, so the dates stay readable.
QChartView* MakeChart(const QString& title, QAbstractBarSeries* series, int64_t firstDay,
                      int count, int step, double top, const QString& unit, bool legend) {
    auto* chart = new QChart;
    chart->setTitle(title);
    chart->addSeries(series);
    auto* x = new QCategoryAxis;
    x->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    for (int i = 0; i < count; i += step)
        x->append(DateOf(firstDay + i * (step == 1 ? 7 : 1)).toString(QStringLiteral("dd.MM")), i);
    x->setRange(-0.5, count - 0.5);
    x->setGridLineVisible(false);
    chart->addAxis(x, Qt::AlignBottom);
    series->attachAxis(x);
    auto* y = new QValueAxis;
    y->setRange(0, top);
    y->setLabelFormat(QStringLiteral("%d") + unit);
    if (top == 100)
        y->setTickCount(6);
    else
        y->applyNiceNumbers();
    chart->addAxis(y, Qt::AlignLeft);
    series->attachAxis(y);
    chart->legend()->setVisible(legend);
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setAnimationOptions(QChart::NoAnimation);
    auto* view = new QChartView(chart);
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumHeight(200);
    return view;
}

QString Percent(double share) {
    return QLocale(QLocale::Russian).toString(share * 100, 'f', 1) + QStringLiteral(" %");
}

} // namespace

TReviewStatsForm::TReviewStatsForm(const TReviewStats& st, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TReviewStatsForm>()) {
    ui_->setupUi(this);
    for (QLabel* l : findChildren<QLabel*>()) l->setTextFormat(Qt::PlainText);
    ui_->CardsLabel->setText(QStringLiteral("Карточек: %1").arg(st.Cards));
    ui_->NewLabel->setText(QStringLiteral("Новых: %1").arg(st.New));
    ui_->LearningLabel->setText(QStringLiteral("Изучаемых (интервал меньше 21 дня): %1").arg(st.Learning));
    ui_->MatureLabel->setText(QStringLiteral("Выученных: %1").arg(st.Mature));
    ui_->DueLabel->setText(QStringLiteral("К повторению сегодня: %1").arg(st.DueToday));
    const auto share = st.Retention30.Share();
    ui_->RetentionLabel->setText(QStringLiteral("Вспомнено за 30 дней: %1")
                                     .arg(share ? Percent(*share) : QStringLiteral("—")));
    ui_->ReviewsLabel->setText(QStringLiteral("Повторений всего: %1").arg(st.Reviews));
    connect(ui_->CloseButton, &QPushButton::clicked, this, &QDialog::accept);

    // Cards due on each of the next 30 days.
    auto* dueSet = new QBarSet(QStringLiteral("Карточек"));
    size_t dueTop = 1;
    for (size_t n : st.DuePerDay) {
        *dueSet << static_cast<double>(n);
        dueTop = std::max(dueTop, n);
    }
    auto* dueSeries = new QBarSeries;
    dueSeries->append(dueSet);
    due_ = MakeChart(QStringLiteral("К повторению в ближайшие 30 дней"), dueSeries, st.Today,
                     kStatsDays, 5, static_cast<double>(dueTop), QString(), false);

    // Reviews of each of the last 30 days, stacked by grade.
    static const char* const kGrades[] = {"Снова", "Трудно", "Хорошо", "Легко"};
    static const QColor kColors[] = {QColor(0xc6, 0x28, 0x28), QColor(0xef, 0x8f, 0x00),
                                     QColor(0x2e, 0x7d, 0x32), QColor(0x15, 0x65, 0xc0)};
    auto* reviewSeries = new QStackedBarSeries;
    size_t reviewTop = 1;
    for (const auto& day : st.ReviewsPerDay) {
        size_t sum = 0;
        for (size_t n : day) sum += n;
        reviewTop = std::max(reviewTop, sum);
    }
    for (size_t g = 0; g < 4; ++g) {
        auto* set = new QBarSet(QString::fromUtf8(kGrades[g]));
        set->setColor(kColors[g]);
        for (const auto& day : st.ReviewsPerDay) *set << static_cast<double>(day[g]);
        reviewSeries->append(set);
    }
    reviews_ = MakeChart(QStringLiteral("Повторения за последние 30 дней"), reviewSeries,
                         st.Today - (kStatsDays - 1), kStatsDays, 5, static_cast<double>(reviewTop),
                         QString(), true);

    // Retention per week: reviews on a later day than the card's previous grade.
    auto* weekSet = new QBarSet(QStringLiteral("Вспомнено"));
    for (const TRetention& week : st.RetentionPerWeek) {
        const auto r = week.Share();
        *weekSet << (r ? *r * 100 : 0.0);
    }
    auto* weekSeries = new QBarSeries;
    weekSeries->append(weekSet);
    // Each week is labelled with its first day.
    retention_ = MakeChart(QStringLiteral("Доля вспомненного по неделям (с указанного дня)"),
                           weekSeries, st.Today - 7 * kStatsWeeks + 1, kStatsWeeks, 1, 100,
                           QStringLiteral(" %"), false);

    for (QChartView* v : {due_, reviews_, retention_}) ui_->ChartsLayout->addWidget(v);
    resize(QSize(760, 780));
    CentreOnScreen(this);
}

TReviewStatsForm::~TReviewStatsForm() = default;

void ShowReviewStats(QWidget* owner, const TReviewStats& stats) {
    TReviewStatsForm form(stats, owner);
    form.exec();
}

} // namespace nb::ui
