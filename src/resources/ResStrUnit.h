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
inline constexpr const char* kNoCodesFile =
    "Нет файла \"%s\" с таблицами кодов. Без таблицы кодов программа не может кодировать "
    "числа.";
// A code table whose identifier cannot name a file: identifier, file, reason.
inline constexpr const char* kTableSkipped = "Таблица кодов \"%s\" в файле \"%s\" пропущена: %s.";
inline constexpr const char* kIdentEmpty = "пустой идентификатор";
inline constexpr const char* kIdentSlash = "в идентификаторе есть / или \\";
inline constexpr const char* kIdentDots = "идентификатор . или .. не может быть именем файла";
inline constexpr const char* kIdentControl = "в идентификаторе есть управляющий символ";
inline constexpr const char* kIdentBlank = "идентификатор начинается или кончается пробелом";
inline constexpr const char* kIdentEquals = "в идентификаторе есть знак =";
inline constexpr const char* kIdentBracket = "идентификатор начинается с [";
inline constexpr const char* kIdentTooLong = "идентификатор длиннее %d байт";
// A dictionary saved in UTF-8, read with conversion: file.
inline constexpr const char* kDictionaryConverted =
    "Словарь \"%s\" записан в кодировке UTF-8; он прочитан с переводом в Windows-1251. "
    "Сохраните его в Windows-1251 (например, в редакторе словаря).";
inline constexpr const char* kNoUserFolder =
    "Не удается создать папку \"%s\" для файлов пользователя (настройки, записная книжка, "
    "словарь). %s";
inline constexpr const char* kVariantsCut =
    "Показаны первые %d вариантов: у этого числа их больше. Варианты с наименьшим числом "
    "слов идут первыми.";
inline constexpr const char* kVariantsCutBest =
    "Показаны первые %d вариантов: у этого числа их больше. Лучшие варианты идут первыми.";
inline constexpr const char* kNumberTooLong =
    "Число длиннее %d цифр: программа кодирует числа не длиннее этого. Разделите его на части.";
inline constexpr const char* kInitialNumber = "5270563";
inline constexpr const char* kReviewNotSaved =
    "Файл повторения не удалось прочитать, поэтому оценки этого сеанса в него не записываются.";
inline constexpr const char* kNothingToRemember =
    "Запоминать нечего: для выбранного варианта не показаны слова. Закодируйте число еще раз.";
inline constexpr const char* kPiecesDoNotFit = "Части не покрывают слова фразы.";
inline constexpr const char* kNoDisplay =
    "Numbrelia - оконная программа: ей нужен графический сеанс (X11 или Wayland), а ни "
    "DISPLAY, ни WAYLAND_DISPLAY не заданы.\n"
    "Numbrelia is a desktop program and needs a graphical session (X11 or Wayland); neither "
    "DISPLAY nor WAYLAND_DISPLAY is set.\n"
    "Запуск без экрана / to try it without a screen:\n    xvfb-run -a %s\n";
inline constexpr const char* kSandboxOff =
    "numbrelia: программа запущена от имени root, поэтому песочница встроенного браузера "
    "выключена (иначе он не запускается). Запускайте ее от имени обычного пользователя.\n"
    "numbrelia: running as root, so the embedded browser's sandbox is off (it does not start "
    "otherwise). Run the program as an ordinary user.\n";
inline constexpr const char* kHelpTitle = "Справка";
inline constexpr const char* kHelpNotOpened = "Не удалось показать справку \"%s\".";
inline constexpr const char* kConfirmTitle = "Подтверждение";
inline constexpr const char* kDeleteNotebookEntry = "Удалить из записной книжки запись \"%s\" (%s)?";
inline constexpr const char* kSearchTitle = "Поиск";
inline constexpr const char* kSearchPrompt = "Найти:";
inline constexpr const char* kSearchNotFound = "Текст \"%s\" не найден.";
// File errors in the window: path, reason.
inline constexpr const char* kCannotOpenFile = "Не удается открыть файл \"%s\". %s";
inline constexpr const char* kCannotCreateFile = "Не удается создать файл \"%s\". %s";
inline constexpr const char* kCannotWriteSettings = "Не удается записать файл \"%s\". %s";
inline constexpr const char* kNotRegularFile = "Это не обычный файл";
inline constexpr const char* kDanglingLink =
    "Это символическая ссылка на несуществующий файл; по ней ничего не записывается";
inline constexpr const char* kLinkToNonFile =
    "Это символическая ссылка не на обычный файл; по ней ничего не записывается";
inline constexpr const char* kSettingsLocked =
    "Файл занят: другая копия программы не отпускает его больше 10 секунд";
// The system's reasons for the common file errors.
inline constexpr const char* kErrNoSpace = "На устройстве не осталось свободного места";
inline constexpr const char* kErrAccess = "Отказано в доступе";
inline constexpr const char* kErrReadOnlyFs = "Файловая система доступна только для чтения";
inline constexpr const char* kErrNoEntry = "Нет такого файла или каталога";
inline constexpr const char* kErrIsDir = "Это каталог";
inline constexpr const char* kErrNotDir = "Это не каталог";
inline constexpr const char* kErrExists = "Файл существует";
inline constexpr const char* kErrQuota = "Превышена дисковая квота";
inline constexpr const char* kErrIo = "Ошибка ввода-вывода";
inline constexpr const char* kErrNameTooLong = "Слишком длинное имя файла";
inline constexpr const char* kErrLoop = "Слишком много уровней символических ссылок";
inline constexpr const char* kErrBusy = "Устройство или ресурс занято";
inline constexpr const char* kErrPerm = "Операция не позволена";

} // namespace nb::res
