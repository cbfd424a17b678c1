#include "MessageBoxUnit.h"

#include "resources/ResStrUnit.h"

namespace nb::ui {

namespace {
TMessageBox::Answerer& TestAnswerer() {
    static TMessageBox::Answerer answerer;
    return answerer;
}
} // namespace

QMessageBox::StandardButton TMessageBox::Show(QWidget* owner, const TMessage& message) {
    if (const auto& answer = TestAnswerer()) return answer(message);
    QMessageBox box(message.Icon, message.Title, message.Text, message.Buttons, owner);
    if (message.Default != QMessageBox::NoButton) box.setDefaultButton(message.Default);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void TMessageBox::Error(QWidget* owner, const QString& text) {
    Show(owner, {QMessageBox::Critical, QString::fromUtf8(res::kErrorTitle), text});
}

void TMessageBox::Warning(QWidget* owner, const QString& text) {
    Show(owner, {QMessageBox::Warning, QString::fromUtf8(res::kWarningTitle), text});
}

void TMessageBox::SetAnswererForTesting(Answerer answerer) { TestAnswerer() = std::move(answerer); }

} // namespace nb::ui
