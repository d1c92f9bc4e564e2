// The shell's texts besides its string table, free of any toolkit so that
// the browser's page shows the same ones.
#include "shell_strings.h"

const char* const kAboutCaption = "О программе";
const char* const kAboutDescription =
    "Графическая библиотека для файлов кодогенерации, полученных с помощью модуля расширения Lorvane2.X .";
const char* const kAboutDeveloper = "Разработчик: команда instrument-panel";

const char* const kMenuFile = "Файл";
const char* const kMenuExit = "Выход\tAlt+F4";
const char* const kMenuView = "Вид";
const char* const kMenuToolbar = "Панель инструментов";
const char* const kMenuStatusBar = "Панель статуса";
const char* const kMenuDrawing = "Прорисовка";
const char* const kMenuMultisampling = "Мультисемплинг";
const char* const kMenuMultisamplingOff = "Отключен";
const char* const kMenuMultisampling2x = "2x";
const char* const kMenuMultisampling4x = "4x";
const char* const kMenuMultisampling8x = "8x";
const char* const kMenuMultisampling16x = "16x";
const char* const kMenuMultisamplingExact = "Точное покрытие";
const char* const kMenuStart = "Старт";
const char* const kMenuPause = "Пауза";
const char* const kMenuInformation = "Информация";
const char* const kMenuAbout = "О программе...";

const char* const kRecreateFailedFormat =
    "Не удалось создать окно отображения с мультисемплингом %dx.\n"
    "Оставлен прежний режим прорисовки.";
const char* const kRecreatePlainFailedText =
    "Не удалось создать окно отображения без мультисемплинга.\n"
    "Оставлен прежний режим прорисовки.";
const char* const kRestoreFailedText =
    "Не удалось восстановить окно отображения. Программа будет закрыта.";
