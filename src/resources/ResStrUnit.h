// The texts the user sees, in UTF-8. Shared by the engine (status texts of long work) and
// the windows; format placeholders are printf-style.
#pragma once

namespace nb::res {

inline constexpr const char* kProductName = "Numbrelia";
inline constexpr const char* kLoadingFile = "Загрузка файла \"%s\".";
inline constexpr const char* kLoadingCodeDictionary =
    "Загрузка словаря кодов. Пожалуйста подождите...";
inline constexpr const char* kBuildingCodeDictionary =
    "Построение словаря кодов (%d%%). Пожалуйста подождите...";
inline constexpr const char* kBuildingVariants = "Построение вариантов. Пожалуйста подождите...";
inline constexpr const char* kIdlePrompt = "Введите число для кодировки.";
inline constexpr const char* kNoVariant =
    "Число \"%s\" не удалось перекодировать - не удалось найти подходящее слово.";
inline constexpr const char* kErrorTitle = "Ошибка";
inline constexpr const char* kWarningTitle = "Предупреждение";
inline constexpr const char* kNoCodeTables =
    "В файле \"%s\" нет ни одной таблицы кодов. Без таблицы кодов программа не может "
    "кодировать числа.";
inline constexpr const char* kVariantsCut =
    "Показаны первые %d вариантов: у этого числа их больше. Варианты с наименьшим числом "
    "слов идут первыми.";
inline constexpr const char* kInitialNumber = "5270563";

} // namespace nb::res
