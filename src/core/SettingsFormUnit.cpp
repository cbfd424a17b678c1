#include "SettingsFormUnit.h"

#include "ui_SettingsForm.h"

#include "code/CodeTableUnit.h"
#include "core/ColorUnit.h"
#include "core/FormHelpersUnit.h"
#include "core/TextUnit.h"

#include <QColorDialog>
#include <QPainter>
#include <QPixmap>

#include <array>

namespace nb::ui {

namespace {

struct TNamedColor {
    uint32_t Value;
    const char* Name;
};

// Explicit colours are 0x00BBGGRR.
constexpr std::array<TNamedColor, 16> kStandardColors{{
    {0x000000, "Чёрный"},
    {0x000080, "Тёмно-красный"},
    {0x008000, "Зелёный"},
    {0x008080, "Оливковый"},
    {0x800000, "Тёмно-синий"},
    {0x800080, "Пурпурный"},
    {0x808000, "Сине-зелёный"},
    {0x808080, "Серый"},
    {0xC0C0C0, "Серебристый"},
    {0x0000FF, "Красный"},
    {0x00FF00, "Ярко-зелёный"},
    {0x00FFFF, "Жёлтый"},
    {0xFF0000, "Синий"},
    {0xFF00FF, "Фуксия"},
    {0xFFFF00, "Голубой"},
    {0xFFFFFF, "Белый"},
}};

constexpr std::array<TNamedColor, 4> kExtendedColors{{
    {0xC0DCC0, "Бледно-зелёный"},
    {0xF0CAA6, "Небесно-голубой"},
    {0xF0FBFF, "Кремовый"},
    {0xA4A0A0, "Средне-серый"},
}};

// Desktop colours: 0xFF000000 plus the colour's index (index 25 is unused).
constexpr std::array<TNamedColor, 30> kSystemColors{{
    {0xFF000000, "Полоса прокрутки"},
    {0xFF000001, "Рабочий стол"},
    {0xFF000002, "Заголовок активного окна"},
    {0xFF000003, "Заголовок неактивного окна"},
    {0xFF000004, "Меню"},
    {0xFF000005, "Фон окна"},
    {0xFF000006, "Рамка окна"},
    {0xFF000007, "Текст меню"},
    {0xFF000008, "Текст окна"},
    {0xFF000009, "Текст заголовка"},
    {0xFF00000A, "Граница активного окна"},
    {0xFF00000B, "Граница неактивного окна"},
    {0xFF00000C, "Рабочая область"},
    {0xFF00000D, "Выделение"},
    {0xFF00000E, "Выделенный текст"},
    {0xFF00000F, "Поверхность кнопки"},
    {0xFF000010, "Тень кнопки"},
    {0xFF000011, "Недоступный текст"},
    {0xFF000012, "Текст кнопки"},
    {0xFF000013, "Текст неактивного заголовка"},
    {0xFF000014, "Светлый край кнопки"},
    {0xFF000015, "Тёмная тень"},
    {0xFF000016, "Светлая тень"},
    {0xFF000017, "Текст подсказки"},
    {0xFF000018, "Фон подсказки"},
    {0xFF00001A, "Ссылка"},
    {0xFF00001B, "Градиент активного заголовка"},
    {0xFF00001C, "Градиент неактивного заголовка"},
    {0xFF00001D, "Выделение меню"},
    {0xFF00001E, "Строка меню"},
}};

int32_t ToValue(uint32_t bits) { return static_cast<int32_t>(bits); }

int32_t QColorToValue(const QColor& c) {
    return ToValue(static_cast<uint32_t>(c.red()) | static_cast<uint32_t>(c.green()) << 8 |
                   static_cast<uint32_t>(c.blue()) << 16);
}

QIcon Swatch(const QColor& color, const QSize& size) {
    QPixmap pixmap(size);
    pixmap.fill(color);
    QPainter painter(&pixmap);
    painter.setPen(QColor(Qt::black));
    painter.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));
    return QIcon(pixmap);
}

TColorBox::Chooser& TestChooser() {
    static TColorBox::Chooser chooser;
    return chooser;
}

std::optional<QColor> AskColor(QWidget* parent, const QColor& initial) {
    if (const auto& chooser = TestChooser()) return chooser(parent, initial);
    const QColor color = QColorDialog::getColor(initial, parent);
    if (!color.isValid()) return std::nullopt;
    return color;
}

} // namespace

// ---- colour picker --------------------------------------------------------------------------

TColorBox::TColorBox(QWidget* parent) : QComboBox(parent) {
    setIconSize(QSize(24, 14));
    addItem(QStringLiteral("Другой..."));
    const QSize swatch = iconSize();
    const auto addList = [&](const auto& list) {
        for (const TNamedColor& c : list)
            addItem(Swatch(ColorValueToQColor(ToValue(c.Value), palette()), swatch),
                    QString::fromUtf8(c.Name), ToValue(c.Value));
    };
    addList(kStandardColors);
    addList(kExtendedColors);
    addList(kSystemColors);
    SetColorValue(kDefaultLetterColor);

    // A change the user has finished is the one to return to when the colour dialog is
    // cancelled.
    connect(this, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index != kCustomItem) previousIndex_ = index;
    });
    connect(this, &QComboBox::activated, this, &TColorBox::ItemActivated);
}

int TColorBox::FindColorValue(int32_t value) const {
    for (int i = 0; i < count(); ++i) {
        const QVariant data = itemData(i);
        if (data.isValid() && data.toInt() == value) return i;
    }
    return -1;
}

void TColorBox::SetCustomValue(int32_t value) {
    setItemData(kCustomItem, value);
    setItemIcon(kCustomItem, Swatch(ColorValueToQColor(value, palette()), iconSize()));
}

void TColorBox::SetColorValue(int32_t value) {
    int index = FindColorValue(value);
    if (index < 0) {
        SetCustomValue(value);
        index = kCustomItem;
    }
    setCurrentIndex(index);
    previousIndex_ = index;
}

int32_t TColorBox::ColorValue() const {
    const QVariant data = currentData();
    return data.isValid() ? data.toInt() : kDefaultLetterColor;
}

void TColorBox::ItemActivated(int index) {
    if (index != kCustomItem) return;
    const int back = previousIndex_;
    const QVariant current = back >= 0 ? itemData(back) : QVariant();
    const QColor initial = ColorValueToQColor(current.isValid() ? current.toInt() : kDefaultLetterColor, palette());
    const std::optional<QColor> chosen = AskColor(window(), initial);
    if (!chosen) {
        setCurrentIndex(back);
        return;
    }
    // A colour the list names is shown by its name.
    SetColorValue(QColorToValue(*chosen));
}

void TColorBox::SetChooserForTesting(Chooser chooser) { TestChooser() = std::move(chooser); }

// ---- the dialog -----------------------------------------------------------------------------

TSettingsForm::TSettingsForm(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::TSettingsForm>()) {
    ui_->setupUi(this);
    FixAndCenter(this, QSize(436, 212));
}

TSettingsForm::~TSettingsForm() = default;

void TSettingsForm::Fill(const TCodeRecArr& tables, const TProgSettings& settings) {
    QComboBox* codes = ui_->CodeComboBox;
    codes->clear();
    for (const TCodeRec& table : tables) codes->addItem(FromCp1251(table.Name));
    // The same lookup that selects the active table, so the two always agree; -1 leaves
    // the list without a selection.
    codes->setCurrentIndex(static_cast<int>(FindCodeTable(tables, settings.CodeCode)));
    ui_->LetterColorBox->SetColorValue(settings.LetterColor);
    ui_->ShowPicCheckBox->setChecked(settings.ShowPic);
    ui_->AddNullCheckBox->setChecked(settings.AddNull);
    ui_->FamiliarFirstCheckBox->setChecked(settings.FamiliarFirst);
    ui_->BestVariantFirstCheckBox->setChecked(settings.BestVariantFirst);
    ui_->PieceWordsCheckBox->setChecked(settings.PieceWords != 0);
    if (settings.PieceWords != 0) ui_->PieceWordsSpinBox->setValue(settings.PieceWords);
    ui_->VariantsComboBox->setCurrentIndex(settings.VariantMakeType);
    ui_->RetentionSpinBox->setValue(settings.ReviewDesiredRetention);
    ui_->NewCardsSpinBox->setValue(settings.ReviewNewCardsPerDay);
}

void TSettingsForm::Apply(const TCodeRecArr& tables, TProgSettings& settings) const {
    const int table = ui_->CodeComboBox->currentIndex();
    if (table >= 0 && static_cast<size_t>(table) < tables.size())
        settings.CodeCode = tables[static_cast<size_t>(table)].Ident;
    settings.LetterColor = ui_->LetterColorBox->ColorValue();
    settings.ShowPic = ui_->ShowPicCheckBox->isChecked();
    settings.AddNull = ui_->AddNullCheckBox->isChecked();
    settings.FamiliarFirst = ui_->FamiliarFirstCheckBox->isChecked();
    settings.BestVariantFirst = ui_->BestVariantFirstCheckBox->isChecked();
    settings.PieceWords = ui_->PieceWordsCheckBox->isChecked() ? ui_->PieceWordsSpinBox->value() : 0;
    if (const int mode = ui_->VariantsComboBox->currentIndex(); mode >= 0) settings.VariantMakeType = mode;
    settings.ReviewDesiredRetention = ui_->RetentionSpinBox->value();
    settings.ReviewNewCardsPerDay = ui_->NewCardsSpinBox->value();
}

bool EditSettings(QWidget* owner, const TCodeRecArr& tables, TProgSettings& settings) {
    TSettingsForm form(owner);
    form.Fill(tables, settings);
    if (form.exec() != QDialog::Accepted) return false;
    form.Apply(tables, settings);
    return true;
}

} // namespace nb::ui
